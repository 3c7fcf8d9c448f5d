// The configuration record, field parsing and trimming, through the loaded library.

#include "platform/Gbk.h"
#include "tests/support/HostTestSystem.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace dbkeel;
using dbkeel::test::loadedHostLib;

namespace {

const QByteArray kChinesePath = toGbk(QStringLiteral("D:\\系统\\配置\\索引.ini"));

QByteArray rawEntry(const HostConfigRecord &record, int offset)
{
    return QByteArray(record.data() + offset);
}

bool allZero(const char *bytes, int count)
{
    return std::all_of(bytes, bytes + count, [](char c) { return c == '\0'; });
}

TEST(HostConfigRecordTest, EntriesLandAtTheirOffsets)
{
    test::writeHostCfg("; host configuration\r\n[HOSTCFG]\r\n"
                       "0=DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1\r\n"
                       "1=Remote,,10.0.0.2,,,user,pw,\r\n"
                       "167="
                       + kChinesePath
                       + "\r\n"
                         "255=last\r\n"
                         "256=beyond\r\n");
    HostConfigRecord record;
    std::memset(record.data(), 0x55, static_cast<size_t>(record.size()));

    EXPECT_EQ(loadedHostLib().getHostCfg(record), 4);

    EXPECT_EQ(record.size(), 163654);
    EXPECT_TRUE(allZero(record.data(), 5958));
    EXPECT_EQ(rawEntry(record, 5958), "DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1");
    EXPECT_EQ(rawEntry(record, 5958 + 616), "Remote,,10.0.0.2,,,user,pw,");
    EXPECT_EQ(rawEntry(record, 5958 + 616 * 167), kChinesePath);
    EXPECT_EQ(rawEntry(record, 5958 + 616 * 255), "last");
    EXPECT_TRUE(allZero(record.data() + 5958 + 616 * 2, 616));
    EXPECT_EQ(record.entryText(167), QStringLiteral("D:\\系统\\配置\\索引.ini"));
    EXPECT_TRUE(record.entry(256).isEmpty());
    EXPECT_TRUE(record.entry(-1).isEmpty());
}

TEST(HostConfigRecordTest, LongEntryIsCutAtACharacterBoundary)
{
    const QByteArray chinese = toGbk(QString(400, QChar(0x6570)));  // 800 bytes
    test::writeHostCfg("[HOSTCFG]\r\n2=" + chinese + "\r\n3=a" + chinese + "\r\n");
    HostConfigRecord record;

    ASSERT_EQ(loadedHostLib().getHostCfg(record), 2);

    EXPECT_EQ(record.entry(2), chinese.left(614));
    EXPECT_EQ(record.entry(3), "a" + chinese.left(614));
    EXPECT_EQ(record.data()[5958 + 616 * 3 + 615], '\0');
}

TEST(HostConfigRecordTest, MissingFileGivesAZeroRecord)
{
    test::writeHostCfg("[HOSTCFG]\r\n0=x\r\n");
    HostConfigRecord record;
    loadedHostLib().getHostCfg(record);
    test::removeHostCfg();

    EXPECT_LE(loadedHostLib().getHostCfg(record), 0);
    EXPECT_TRUE(allZero(record.data(), record.size()));
}

struct FieldCase {
    const char *name;
    QByteArray text;
    int index;
    char separator;  // '\0': GetField
    QByteArray expected;
    int result;  // 0 stands for "not present": any result <= 0
};

class FieldTest : public testing::TestWithParam<FieldCase> {};

TEST_P(FieldTest, TakesTheField)
{
    const FieldCase &c = GetParam();
    QByteArray out = "stale";
    const int result = c.separator ? loadedHostLib().getField2(c.text, out, c.index, c.separator)
                                   : loadedHostLib().getField(c.text, out, c.index);
    EXPECT_EQ(out, c.expected);
    if (c.result > 0)
        EXPECT_EQ(result, c.result);
    else
        EXPECT_LE(result, 0);
}

// 0x81 0x5C is one GBK character whose second byte is a backslash.
const QByteArray kTrailBackslash("\x81\x5c", 2);

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldTest,
    testing::Values(FieldCase{"first", "DbkeelDemo,,127.0.0.1,,,sa,secret", 0, 0, "DbkeelDemo", 11},
                    FieldCase{"middle", "DbkeelDemo,,127.0.0.1,,,sa,secret", 5, 0, "sa", 3},
                    FieldCase{"last", "DbkeelDemo,,127.0.0.1,,,sa,secret", 6, 0, "secret", 7},
                    FieldCase{"emptyPresent", "DbkeelDemo,,127.0.0.1", 1, 0, "", 1},
                    FieldCase{"emptyAfterTrailingComma", "a,b,", 2, 0, "", 1},
                    FieldCase{"beyondEnd", "a,b,", 3, 0, "", 0}, FieldCase{"wholeEmptyText", "", 0, 0, "", 1},
                    FieldCase{"negativeIndex", "a,b", -1, 0, "", 0},
                    FieldCase{"gbk", toGbk(QStringLiteral("数据,库路径")), 1, 0, toGbk(QStringLiteral("库路径")), 7},
                    FieldCase{"tooLong", QByteArray(700, 'a') + ",b", 0, 0, QByteArray(615, 'a'), 616},
                    FieldCase{"separator", "a|b|c", 1, '|', "b", 2},
                    FieldCase{"separatorBeyondEnd", "a|b|c", 3, '|', "", 0},
                    FieldCase{"commaIsPlainUnderSeparator", "a,b|c", 0, '|', "a,b", 4},
                    FieldCase{"trailByteIsNoSeparator", kTrailBackslash + "x\\y", 1, '\\', "y", 2},
                    FieldCase{"trailByteStaysInField", kTrailBackslash + "x\\y", 0, '\\', kTrailBackslash + "x", 4}),
    [](const testing::TestParamInfo<FieldCase> &test) { return test.param.name; });

struct TrimCase {
    const char *name;
    bool left;
    QByteArray text;
    char c;
    QByteArray expected;
};

class TrimTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, StripsInPlace)
{
    const TrimCase &c = GetParam();
    QByteArray text = c.text;
    const int result = c.left ? loadedHostLib().trimLeft(text.data(), c.c)
                              : loadedHostLib().trimRight(text.data(), c.c);
    EXPECT_EQ(QByteArray(text.constData()), c.expected);
    EXPECT_EQ(result, c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Trims, TrimTest,
    testing::Values(TrimCase{"left", true, "  ab c ", ' ', "ab c "},
                    TrimCase{"right", false, "  ab c  ", ' ', "  ab c"},
                    TrimCase{"leftOtherChar", true, "00120", '0', "120"},
                    TrimCase{"rightEverything", false, "\\\\\\", '\\', ""},
                    TrimCase{"nothingToStrip", false, "abc", ' ', "abc"},
                    TrimCase{"rightPathSeparator", false, "D:\\bin\\\\", '\\', "D:\\bin"},
                    TrimCase{"rightKeepsTrailByte", false, "a" + kTrailBackslash, '\\', "a" + kTrailBackslash},
                    TrimCase{"rightAfterTrailByte", false, kTrailBackslash + "\\", '\\', kTrailBackslash}),
    [](const testing::TestParamInfo<TrimCase> &test) { return test.param.name; });

}  // namespace
