#include "widgets/CellSortKey.h"

#include <QDateTime>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace dbkeel;

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

}  // namespace

TEST(CellSortKey, ReadsWholeTextAsUnsignedHexLikeStrtoul)
{
    constexpr quint64 max = std::numeric_limits<quint64>::max();
    struct Case {
        const char *text;
        std::optional<quint64> value;
    } cases[] = {
        {"1A", 0x1A},          {"  0x1a", 0x1A},           {"+10", 0x10},         {"0X0", 0},
        {"-1", max},           {"FFFFFFFFFFFFFFFFF", max},  // saturates as strtoul does
        {"", std::nullopt},    {" ", std::nullopt},        {"0x", std::nullopt},  {"1G", std::nullopt},
        {"10 ", std::nullopt}, {"+-1", std::nullopt},      {"1.5", std::nullopt}, {"十", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readWholeHex(u8(c.text)), c.value) << c.text;
}

TEST(CellSortKey, ReadsWholeTextAsNumberLikeStrtod)
{
    struct Case {
        const char *text;
        std::optional<double> value;
    } cases[] = {
        {"7.5%", 7.5},         {"50%", 50},           {" -2.5", -2.5},       {"+.5", 0.5},
        {"1e3", 1000},         {"0x1p4", 16},         {"1e999", HUGE_VAL},   {"-1e999", -HUGE_VAL},
        {"1e-999", 0},         {"inf", HUGE_VAL},     {"%", std::nullopt},   {"5%%", std::nullopt},
        {"5 ", std::nullopt},  {"5 %", std::nullopt}, {"1,5", std::nullopt}, {"+-5", std::nullopt},
        {"--5", std::nullopt}, {"1e", std::nullopt},  {"", std::nullopt},    {"五", std::nullopt},
        {"0x", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readWholeNumber(u8(c.text)), c.value) << c.text;
}

TEST(CellSortKey, ReadsTheInstallationsDateForms)
{
    const auto at = [](int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
        return std::optional<qint64>(QDate(y, mo, d).toJulianDay() * 86400000
                                     + QTime(h, mi, s, ms).msecsSinceStartOfDay());
    };
    struct Case {
        const char *text;
        std::optional<qint64> value;
    } cases[] = {
        {"2023-05-06", at(2023, 5, 6)},
        {"2023-5-6 7:08:09", at(2023, 5, 6, 7, 8, 9)},
        {"2023/05/06 07:08:09.123", at(2023, 5, 6, 7, 8, 9, 123)},
        {"2023-05-06 07:08:09.5", at(2023, 5, 6, 7, 8, 9, 500)},
        {"2023-05-06 07:08:09.1234567", at(2023, 5, 6, 7, 8, 9, 123)},
        {"2023.5.6", at(2023, 5, 6)},
        {"2023年5月6日", at(2023, 5, 6)},
        {"2023-05-06T07:08", at(2023, 5, 6, 7, 8)},
        {" 2023-05-06   12:00 ", at(2023, 5, 6, 12, 0)},
        {"12:30:00", at(1899, 12, 30, 12, 30)},
        {"2023-02-30", std::nullopt},
        {"2023-05-06 24:00:00", std::nullopt},
        {"2023-05/06", std::nullopt},
        {"2023-05-06x", std::nullopt},
        {"2023-05-06 ", at(2023, 5, 6)},
        {"20230506", std::nullopt},
        {"192.168.1.10", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(readDateTime(u8(c.text)), c.value) << c.text;
}

TEST(CellSortKey, ReadsTheLocalesNumericShortForms)
{
    const QLocale saved;
    struct Case {
        const char *locale;
        const char *earlier;
        const char *later;
    } cases[] = {
        {"de_DE", "07.04.23", "06.05.23"},
        {"en_US", "12/1/22", "5/6/23"},
        {"en_US", "5/6/23 1:00 PM", "5/6/23 2:00 PM"},
    };
    for (const auto &c : cases) {
        QLocale::setDefault(QLocale(c.locale));
        const LocaleDates dates;
        EXPECT_LT(readDateTime(u8(c.earlier), dates), readDateTime(u8(c.later), dates)) << c.locale;
        EXPECT_NE(readDateTime(u8(c.earlier), dates), std::nullopt) << c.locale << " " << c.earlier;
        EXPECT_LT(compareCellTexts(u8(c.earlier), u8(c.later)), 0) << c.locale;
    }
    QLocale::setDefault(QLocale("de_DE"));
    EXPECT_EQ(readDateTime(u8("192.168.1.10")), std::nullopt);
    EXPECT_EQ(readDateTime(u8("6 Mai 2023")), std::nullopt);  // names are not tried
    QLocale::setDefault(saved);
}

TEST(CellSortKey, ComparesPairwiseInTheFixedOrderOfReadings)
{
    struct Case {
        const char *a;
        const char *b;
        int order;
    } cases[] = {
        {"9", "10", -1},
        {"10", "100", -1},
        {"010", "10", 0},    // decimal digits order by value
        {"0x1A", "20", -1},  // 26 < 32, both read as hex
        {"A", "10", -1},     // 10 < 16
        {"7.5%", "50%", -1},
        {"2.5", "10", -1},
        {"1e5", "200", -1},  // 1e5 is hex 0x1E5
        {"-5", "3", -1},
        {"-5", "-3", -1},  // negatives compare as numbers
        {"2023-5-6", "2023-12-1", -1},
        {"2023-05-06 10:00:00", "2023-05-06 9:00:00", 1},
        {"2023/1/2", "2023-01-02", 0},
        {"9", "10x", 1},
        {"10", "xyz", -1},
        {"2023-5-6", "abc", -1},  // one reading missing: text
        {"G", "g", -1},
        {"abx", "aby", -1},
        {"", "0", -1},
        {"xy", "xyz", -1},
        {"安", "北", -1},
        {"北", "中", -1},
        {"中", "z", 1},  // GBK order, not Unicode order
    };
    for (const auto &c : cases) {
        EXPECT_EQ(sign(compareCellTexts(u8(c.a), u8(c.b))), c.order) << c.a << " vs " << c.b;
        EXPECT_EQ(sign(compareCellTexts(u8(c.b), u8(c.a))), -c.order) << c.b << " vs " << c.a;
    }
}
