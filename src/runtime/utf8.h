#ifndef ZENTAVO_UTF8_H
#define ZENTAVO_UTF8_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QtGlobal>

// UTF-8 read byte by byte, as the checks of document parts need it: without decoding a
// whole part into a string only to see whether it decodes.
class ZENTAVO_EXPORT Utf8
{
public:
    // The length of the character at p, and its code; 0 for bytes that are not one (a
    // stray continuation byte, a character cut short, an overlong form, a surrogate, a
    // code beyond U+10FFFF).
    static int charAt(const uchar* p, const uchar* end, char32_t& code);
    // Whether the bytes are UTF-8 throughout; a character cut at the end is an error.
    static bool isValid(const QByteArray& bytes);
};

#endif
