#pragma once
// Walking GBK text one character at a time: a lead byte 0x81..0xFE and the
// byte after it form one character, every other byte stands alone.

namespace hostcfg {

// Width in bytes of the character starting at p (p points into a
// NUL-terminated text, *p != 0).
inline int gbkUnitWidth(const char *p)
{
    const auto lead = static_cast<unsigned char>(p[0]);
    return lead >= 0x81 && lead <= 0xFE && p[1] != '\0' ? 2 : 1;
}

// Length of the longest prefix of [begin, end) of at most maxBytes bytes that
// ends on a character boundary.
inline int gbkCutLength(const char *begin, const char *end, int maxBytes)
{
    int length = 0;
    for (const char *p = begin; p < end;) {
        const int width = gbkUnitWidth(p);
        if (length + width > maxBytes)
            break;
        length += width;
        p += width;
    }
    return length;
}

}  // namespace hostcfg
