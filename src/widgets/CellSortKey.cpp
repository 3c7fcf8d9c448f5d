#include "widgets/CellSortKey.h"

#include "platform/Gbk.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace dbkeel {

namespace {

bool isCSpace(char16_t c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int hexDigit(char16_t c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isDigit(char16_t c)
{
    return c >= '0' && c <= '9';
}

qsizetype skipSpaces(QStringView text, qsizetype at)
{
    while (at < text.size() && isCSpace(text[at].unicode()))
        ++at;
    return at;
}

template <typename T>
int threeWay(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The number text as ASCII for std::from_chars; empty when it holds anything else.
QVarLengthArray<char, 64> asciiOf(QStringView text)
{
    QVarLengthArray<char, 64> out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return {};
        out.append(static_cast<char>(c.unicode()));
    }
    return out;
}

// Value of a number text that from_chars found out of range: its exponent's sign decides
// when it has one, else whether its integer part is zero.
double outOfRangeValue(std::string_view digits, char exponentChar)
{
    const auto exponent = digits.find_first_of(exponentChar == 'e' ? "eE" : "pP");
    if (exponent != std::string_view::npos && exponent + 1 < digits.size())
        return digits[exponent + 1] == '-' ? 0.0 : HUGE_VAL;
    for (char c : digits.substr(0, digits.find('.'))) {
        if (c != '0')
            return HUGE_VAL;
    }
    return 0.0;
}

struct Fields {
    QStringView text;
    qsizetype at = 0;

    bool atEnd() const { return at >= text.size(); }
    bool take(char16_t c)
    {
        if (atEnd() || text[at].unicode() != c)
            return false;
        ++at;
        return true;
    }
    // A run of minDigits..maxDigits decimal digits.
    std::optional<int> number(int minDigits, int maxDigits)
    {
        int value = 0, count = 0;
        while (count < maxDigits && !atEnd() && isDigit(text[at].unicode())) {
            value = value * 10 + (text[at].unicode() - '0');
            ++at;
            ++count;
        }
        if (count < minDigits)
            return std::nullopt;
        return value;
    }
    void skipDigits()
    {
        while (!atEnd() && isDigit(text[at].unicode()))
            ++at;
    }
};

constexpr qint64 MsPerDay = 86400000;

std::optional<QDate> readDate(Fields &f)
{
    const auto year = f.number(4, 4);
    if (!year || f.atEnd())
        return std::nullopt;
    const char16_t sep = f.text[f.at].unicode();
    const bool chinese = sep == u'年';
    if (!chinese && sep != '-' && sep != '/' && sep != '.')
        return std::nullopt;
    ++f.at;
    const auto month = f.number(1, 2);
    if (!month || !f.take(chinese ? u'月' : sep))
        return std::nullopt;
    const auto day = f.number(1, 2);
    if (!day || (chinese && !f.take(u'日')))
        return std::nullopt;
    const QDate date(*year, *month, *day);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

std::optional<qint64> readTime(Fields &f)
{
    const auto hour = f.number(1, 2);
    if (!hour || !f.take(':'))
        return std::nullopt;
    const auto minute = f.number(1, 2);
    if (!minute)
        return std::nullopt;
    int second = 0, milli = 0;
    if (f.take(':')) {
        const auto s = f.number(1, 2);
        if (!s)
            return std::nullopt;
        second = *s;
        if (f.take('.')) {
            const qsizetype start = f.at;
            const auto fraction = f.number(1, 3);
            if (!fraction)
                return std::nullopt;
            milli = *fraction;
            for (qsizetype n = f.at - start; n < 3; ++n)
                milli *= 10;
            f.skipDigits();  // finer than milliseconds: ignored
        }
    }
    if (*hour > 23 || *minute > 59 || second > 59)
        return std::nullopt;
    return ((*hour * 60 + *minute) * 60 + second) * qint64(1000) + milli;
}

std::optional<qint64> readFixedDateTime(QStringView text)
{
    Fields f{text};
    static const qint64 dayZero = QDate(1899, 12, 30).toJulianDay();
    qint64 day = dayZero;
    if (const auto date = readDate(f)) {
        day = date->toJulianDay();
        if (f.atEnd())
            return day * MsPerDay;
        if (!f.take('T')) {
            const qsizetype blanks = f.at;
            f.at = skipSpaces(text, f.at);
            if (f.at == blanks)
                return std::nullopt;
        }
    } else {
        f.at = 0;
    }
    const auto time = readTime(f);
    if (!time || !f.atEnd())
        return std::nullopt;
    return day * MsPerDay + *time;
}

}  // namespace

std::optional<quint64> readWholeHex(QStringView text)
{
    qsizetype at = skipSpaces(text, 0);
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        negative = text[at++] == u'-';
    if (at + 2 < text.size() && text[at] == u'0' && (text[at + 1] == u'x' || text[at + 1] == u'X')
        && hexDigit(text[at + 2].unicode()) >= 0)
        at += 2;
    const qsizetype firstDigit = at;
    quint64 value = 0;
    bool overflow = false;
    for (int digit; at < text.size() && (digit = hexDigit(text[at].unicode())) >= 0; ++at) {
        if (value > (std::numeric_limits<quint64>::max() - digit) / 16)
            overflow = true;
        value = value * 16 + digit;
    }
    if (at == firstDigit || at != text.size())
        return std::nullopt;
    if (overflow)
        return std::numeric_limits<quint64>::max();
    return negative ? 0 - value : value;
}

std::optional<double> readWholeNumber(QStringView text)
{
    qsizetype at = skipSpaces(text, 0);
    bool negative = false;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        negative = text[at++] == u'-';
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        return std::nullopt;  // from_chars would take a second sign
    const bool hex = at + 1 < text.size() && text[at] == u'0' && (text[at + 1] == u'x' || text[at + 1] == u'X');
    const QVarLengthArray<char, 64> ascii = asciiOf(text.mid(hex ? at + 2 : at));
    if (ascii.isEmpty())
        return std::nullopt;
    const char *begin = ascii.data();
    const char *end = begin + ascii.size();
    double value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value,
                                               hex ? std::chars_format::hex : std::chars_format::general);
    if (error == std::errc::invalid_argument)
        return std::nullopt;
    if (stop != end && !(stop + 1 == end && *stop == '%'))
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        value = outOfRangeValue(std::string_view(begin, stop - begin), hex ? 'p' : 'e');
    return negative ? -value : value;
}

LocaleDates::LocaleDates()
{
    const auto allow = [this](QStringView chars, bool separatorsOnly) {
        QString seen;
        for (QChar c : chars) {
            if (c.isSpace() || (separatorsOnly && (c.isLetterOrNumber() || c == u'\'')))
                continue;
            seen.append(c);
            const int count = int(seen.count(c));
            const qsizetype at = m_allowed.indexOf(c);
            if (at < 0) {
                m_allowed.append(c);
                m_maxCount.append(count);
            } else {
                m_maxCount[at] = std::max(m_maxCount[at], count);
            }
        }
    };
    allow(m_locale.dateTimeFormat(QLocale::ShortFormat), true);
    allow(m_locale.dateFormat(QLocale::ShortFormat), true);
    allow(QString(m_locale.amText() + m_locale.pmText()), false);
}

bool LocaleDates::mayMatch(QStringView text) const
{
    if (text.isEmpty() || text.size() > 40 || !isDigit(text[0].unicode()))
        return false;
    QList<int> counts(m_allowed.size(), 0);
    bool separated = false;
    for (QChar c : text) {
        if (isDigit(c.unicode()) || c.isSpace())
            continue;
        const qsizetype at = m_allowed.indexOf(c);
        if (at < 0 || ++counts[at] > m_maxCount[at])
            return false;
        separated = true;
    }
    return separated;
}

std::optional<qint64> LocaleDates::read(QStringView text) const
{
    if (!mayMatch(text))
        return std::nullopt;
    const QString string = text.toString();
    const QDateTime dateTime = m_locale.toDateTime(string, QLocale::ShortFormat);
    if (dateTime.isValid())
        return dateTime.date().toJulianDay() * MsPerDay + dateTime.time().msecsSinceStartOfDay();
    const QDate date = m_locale.toDate(string, QLocale::ShortFormat);
    if (date.isValid())
        return date.toJulianDay() * MsPerDay;
    return std::nullopt;
}

std::optional<qint64> readDateTime(QStringView text, const LocaleDates &locale)
{
    qsizetype begin = skipSpaces(text, 0), end = text.size();
    while (end > begin && isCSpace(text[end - 1].unicode()))
        --end;
    const QStringView trimmed = text.mid(begin, end - begin);
    if (const auto fixed = readFixedDateTime(trimmed))
        return fixed;
    return locale.read(trimmed);
}

CellSortKey::CellSortKey(const QString &text, const LocaleDates &locale)
    : m_number(readWholeNumber(text)), m_date(readDateTime(text, locale)), m_gbk(toGbk(text))
{
    if (!text.contains(u'-'))  // a negative number is left to the floating-point reading
        m_hex = readWholeHex(text);
}

int compare(const CellSortKey &a, const CellSortKey &b)
{
    if (a.m_hex && b.m_hex)
        return threeWay(*a.m_hex, *b.m_hex);
    if (a.m_number && b.m_number)
        return threeWay(*a.m_number, *b.m_number);  // NaN compares equal to anything
    if (a.m_date && b.m_date)
        return threeWay(*a.m_date, *b.m_date);
    return threeWay(a.m_gbk.compare(b.m_gbk, Qt::CaseSensitive), 0);
}

int compareCellTexts(const QString &a, const QString &b)
{
    const LocaleDates locale;
    return compare(CellSortKey(a, locale), CellSortKey(b, locale));
}

}  // namespace dbkeel
