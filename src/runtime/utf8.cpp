#include "runtime/utf8.h"

#include <cstring>

int Utf8::charAt(const uchar* p, const uchar* end, char32_t& code)
{
    const uchar lead = *p;
    code = lead;
    if (lead < 0x80)
        return 1;
    int length = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, code = lead & 0x1Fu;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, code = lead & 0x0Fu;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, code = lead & 0x07u;
    else
        return 0;
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (p[i] & 0x3Fu);
    }
    const char32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= shortest && !surrogate && code <= 0x10FFFF ? length : 0;
}

// Runs of ASCII, most of a document part's markup, are passed over eight bytes at a time.
bool Utf8::isValid(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    const uchar* const end = p + bytes.size();
    char32_t code = 0;
    while (p < end) {
        quint64 eight = 0;
        if (end - p >= 8 && (std::memcpy(&eight, p, 8), (eight & 0x8080808080808080ULL) == 0)) {
            p += 8;
            continue;
        }
        // Two bytes from C2 on, Cyrillic above all, are always a character of their own.
        if (*p >= 0xC2 && *p <= 0xDF && end - p > 1 && (p[1] & 0xC0) == 0x80) {
            p += 2;
            continue;
        }
        const int length = charAt(p, end, code);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}
