#include "platform/Text.h"

#include <climits>

namespace dbkeel {
namespace {

bool isBlank(char32_t c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

template <typename Str>
Str trimmed(const Str &text, bool left, bool right)
{
    qsizetype begin = 0, end = text.size();
    if (left)
        while (begin < end && isBlank(static_cast<unsigned char>(text.at(begin))))
            ++begin;
    if (right)
        while (end > begin && isBlank(static_cast<unsigned char>(text.at(end - 1))))
            --end;
    return text.mid(begin, end - begin);
}

QString trimmedString(const QString &text, bool left, bool right)
{
    qsizetype begin = 0, end = text.size();
    if (left)
        while (begin < end && isBlank(text.at(begin).unicode()))
            ++begin;
    if (right)
        while (end > begin && isBlank(text.at(end - 1).unicode()))
            --end;
    return text.mid(begin, end - begin);
}

}  // namespace

int toInt(const char *text)
{
    if (!text)
        return 0;
    const char *p = text;
    while (isBlank(static_cast<unsigned char>(*p)))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    long long value = 0;
    while (*p >= '0' && *p <= '9') {
        value = value * 10 + (*p++ - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;  // saturate instead of overflowing
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    return static_cast<int>(value);
}

int toInt(const QByteArray &text)
{
    return toInt(text.constData());
}

int toInt(const QString &text)
{
    return toInt(text.toUtf8());
}

QString trimRight(const QString &text)
{
    return trimmedString(text, false, true);
}
QString trimLeft(const QString &text)
{
    return trimmedString(text, true, false);
}
QString trimBoth(const QString &text)
{
    return trimmedString(text, true, true);
}
QByteArray trimRight(const QByteArray &text)
{
    return trimmed(text, false, true);
}
QByteArray trimBoth(const QByteArray &text)
{
    return trimmed(text, true, true);
}

}  // namespace dbkeel
