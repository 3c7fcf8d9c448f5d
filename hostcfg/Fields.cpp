// GetField, GetField2, TrimLeft, TrimRight: byte-level text helpers that never
// split a GBK character.

#include "hostcfg/GbkUnits.h"
#include "hostcfg/HostCfg.h"

#include <cstring>

namespace {

using hostcfg::gbkUnitWidth;

// Start of field `index`, or null when the text has fewer fields.
const char *fieldStart(const char *text, int index, char separator)
{
    const char *p = text;
    for (int seen = 0; seen < index;) {
        if (*p == '\0')
            return nullptr;
        if (*p == separator) {
            ++seen;
            ++p;
        } else {
            p += gbkUnitWidth(p);
        }
    }
    return p;
}

const char *fieldEnd(const char *start, char separator)
{
    const char *p = start;
    while (*p != '\0' && *p != separator)
        p += gbkUnitWidth(p);
    return p;
}

int copyField(const char *text, char *out, int index, char separator)
{
    if (!out)
        return -1;
    out[0] = '\0';
    if (!text)
        return -1;
    if (index < 0)
        return 0;
    const char *start = fieldStart(text, index, separator);
    if (!start)
        return 0;
    const char *end = fieldEnd(start, separator);
    const int length = hostcfg::gbkCutLength(start, end, HOSTCFG_FIELD_SIZE - 1);
    std::memcpy(out, start, static_cast<size_t>(length));
    out[length] = '\0';
    return length + 1;
}

bool isLoneByte(const char *p, char c)
{
    return *p == c && gbkUnitWidth(p) == 1;
}

}  // namespace

extern "C" {

int GetField(const char *text, char *out, int index)
{
    return copyField(text, out, index, ',');
}

int GetField2(const char *text, char *out, int index, char separator)
{
    return copyField(text, out, index, separator);
}

int TrimLeft(char *text, char c)
{
    if (!text)
        return -1;
    const char *p = text;
    while (c != '\0' && isLoneByte(p, c))
        ++p;
    const size_t rest = std::strlen(p);
    std::memmove(text, p, rest + 1);
    return static_cast<int>(rest);
}

int TrimRight(char *text, char c)
{
    if (!text)
        return -1;
    // Walk from the start so that a trail byte is never mistaken for c.
    char *keepEnd = text;
    for (char *p = text; *p != '\0';) {
        const int width = gbkUnitWidth(p);
        if (!isLoneByte(p, c))
            keepEnd = p + width;
        p += width;
    }
    *keepEnd = '\0';
    return static_cast<int>(keepEnd - text);
}

}  // extern "C"
