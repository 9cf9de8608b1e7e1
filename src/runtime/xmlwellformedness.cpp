#include "runtime/xmlwellformedness.h"

#include "runtime/utf8.h"
#include "runtime/xmldefaulthandler.h"

#include <QVarLengthArray>

#include <cstring>

namespace {

using Byte = unsigned char;

// Attributes of one start tag compared pairwise; a tag with more is left to the parser.
constexpr int MaxComparedAttributes = 32;

bool isSpace(Byte c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isNameStart(Byte c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}

bool isNameChar(Byte c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool isDigit(Byte c, bool hex)
{
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

// The characters XML allows, less those some parsers refuse: control characters of both
// ranges, DEL, and the non-characters.
bool isPlainChar(uint code)
{
    if (code < 0x20)
        return code == 0x9 || code == 0xA || code == 0xD;
    if (code >= 0x7F && code <= 0x9F)
        return false;
    if (code >= 0xD800 && code <= 0xDFFF)
        return false;
    if (code >= 0xFDD0 && code <= 0xFDEF)
        return false;
    return (code & 0xFFFE) != 0xFFFE && code <= 0x10FFFF;
}

bool isContinuation(Byte c)
{
    return (c & 0xC0) == 0x80;
}

// Bytes that stand for themselves in text: printable ASCII but "<", "&" and "]", and
// the white space XML allows.
struct PlainTextBytes
{
    bool is[256] = {};
    constexpr PlainTextBytes()
    {
        for (int c = 0x20; c < 0x7F; ++c)
            is[c] = c != '<' && c != '&' && c != ']';
        is[int('\t')] = is[int('\n')] = is[int('\r')] = true;
    }
};
constexpr PlainTextBytes plainTextBytes;

// A two-byte character from U+00C0 on (Cyrillic above all): every one is plain.
bool isPlainPair(const Byte* p, const Byte* end)
{
    return p[0] >= 0xC3 && p[0] <= 0xDF && end - p > 1 && isContinuation(p[1]);
}

// The length of the UTF-8 character at p, 0 when the bytes are not UTF-8 or the
// character is not a plain one.
int plainCharAt(const Byte* p, const Byte* end)
{
    char32_t code = 0;
    const int length = Utf8::charAt(p, end, code);
    return length > 0 && isPlainChar(code) ? length : 0;
}

class Scanner
{
public:
    explicit Scanner(const QByteArray& bytes)
        : p(reinterpret_cast<const Byte*>(bytes.constData()))
        , end(p + bytes.size())
    {
    }

    bool document()
    {
        if (startsWith("\xEF\xBB\xBF"))
            p += 3;
        if (startsWith("<?xml") && end - p > 5 && isSpace(p[5]) && !declaration())
            return false;
        if (!misc() || p == end)
            return false;
        if (!elements())
            return false;
        return misc() && p == end;
    }

private:
    struct Name
    {
        const Byte* start;
        qsizetype length;
        bool operator==(const Name& other) const
        {
            return length == other.length && std::memcmp(start, other.start, size_t(length)) == 0;
        }
    };

    bool startsWith(const char* literal) const
    {
        const size_t length = std::strlen(literal);
        return size_t(end - p) >= length && std::memcmp(p, literal, length) == 0;
    }

    bool skip(const char* literal)
    {
        if (!startsWith(literal))
            return false;
        p += std::strlen(literal);
        return true;
    }

    bool skipSpaces()
    {
        const Byte* from = p;
        while (p < end && isSpace(*p))
            ++p;
        return p != from;
    }

    // An ASCII name, qualified at most once: each side of the colon starts as a name does.
    Name name()
    {
        const Byte* start = p;
        if (p < end && isNameStart(*p))
            for (++p; p < end && isNameChar(*p); ++p) {
            }
        const Name found{start, p - start};
        const void* colon = std::memchr(start, ':', size_t(found.length));
        if (colon) {
            const Byte* at = static_cast<const Byte*>(colon);
            if (at == start || at == p - 1 || !isNameStart(at[1]) || std::memchr(at + 1, ':', size_t(p - at - 1)))
                return {start, 0};
        }
        return found;
    }

    // One character of text, a comment, an attribute value; false when the scan is unsure.
    bool character()
    {
        const Byte c = *p;
        if (c >= 0x80) {
            const int length = plainCharAt(p, end);
            p += length;
            return length > 0;
        }
        ++p;
        return isPlainChar(c);
    }

    // Comments, processing instructions and white space outside the root element.
    bool misc()
    {
        while (p < end) {
            if (skipSpaces())
                continue;
            if (startsWith("<!--")) {
                if (!comment())
                    return false;
            } else if (startsWith("<?")) {
                if (!instruction())
                    return false;
            } else {
                return *p == '<';
            }
        }
        return true;
    }

    // <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, encoding and standalone
    // optional, in that order.
    bool declaration()
    {
        p += 5;
        skipSpaces();
        if (!pseudoAttribute("version", {"1.0"}))
            return false;
        bool spaced = skipSpaces();
        if (spaced && startsWith("encoding")) {
            if (!pseudoAttribute("encoding", {"UTF-8", "utf-8"}))
                return false;
            spaced = skipSpaces();
        }
        if (spaced && startsWith("standalone")) {
            if (!pseudoAttribute("standalone", {"yes", "no"}))
                return false;
            skipSpaces();
        }
        return skip("?>");
    }

    bool pseudoAttribute(const char* attribute, std::initializer_list<const char*> values)
    {
        if (!skip(attribute))
            return false;
        skipSpaces();
        if (!skip("="))
            return false;
        skipSpaces();
        if (p == end || (*p != '"' && *p != '\''))
            return false;
        const Byte quote = *p++;
        for (const char* value : values) {
            if (skip(value))
                return p < end && *p++ == quote;
        }
        return false;
    }

    bool comment()
    {
        p += 4;
        while (p < end) {
            if (*p == '-' && end - p > 1 && p[1] == '-') {
                p += 2;
                return skip(">");
            }
            if (!character())
                return false;
        }
        return false;
    }

    bool instruction()
    {
        p += 2;
        const Name target = name();
        if (target.length == 0 || std::memchr(target.start, ':', size_t(target.length)))
            return false;
        if (target.length == 3 && (target.start[0] | 0x20) == 'x' && (target.start[1] | 0x20) == 'm'
            && (target.start[2] | 0x20) == 'l')
            return false;
        if (skip("?>"))
            return true;
        if (!skipSpaces())
            return false;
        while (p < end) {
            if (skip("?>"))
                return true;
            if (!character())
                return false;
        }
        return false;
    }

    bool cdata()
    {
        p += 9;
        while (p < end) {
            if (skip("]]>"))
                return true;
            if (!character())
                return false;
        }
        return false;
    }

    // &lt; &gt; &amp; &quot; &apos; or a reference to a plain character.
    bool reference()
    {
        ++p;
        if (p < end && *p == '#') {
            ++p;
            const bool hex = p < end && *p == 'x';
            if (hex)
                ++p;
            const Byte* digits = p;
            uint code = 0;
            for (; p < end && isDigit(*p, hex); ++p) {
                const Byte c = *p;
                const uint digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
                code = code * (hex ? 16 : 10) + digit;
                if (code > 0x10FFFF)
                    return false;
            }
            return p != digits && skip(";") && isPlainChar(code);
        }
        const Name entity = name();
        if (!skip(";"))
            return false;
        for (const char* predefined : {"lt", "gt", "amp", "quot", "apos"}) {
            if (qsizetype(std::strlen(predefined)) == entity.length
                && std::memcmp(entity.start, predefined, size_t(entity.length)) == 0)
                return true;
        }
        return false;
    }

    bool text()
    {
        while (p < end) {
            const Byte c = *p;
            if (plainTextBytes.is[c]) {
                ++p;
                continue;
            }
            if (isPlainPair(p, end)) {
                p += 2;
                continue;
            }
            if (c == '<')
                return true;
            if (c == '&') {
                if (!reference())
                    return false;
            } else if (c == ']' && startsWith("]]>")) {
                return false;
            } else if (!character()) {
                return false;
            }
        }
        return true;
    }

    bool attributeValue()
    {
        if (p == end || (*p != '"' && *p != '\''))
            return false;
        const Byte quote = *p++;
        while (p < end && *p != quote) {
            if (plainTextBytes.is[*p] || isPlainPair(p, end)) {
                p += *p < 0x80 ? 1 : 2;
                continue;
            }
            if (*p == '<')
                return false;
            if (*p == '&') {
                if (!reference())
                    return false;
            } else if (!character()) {
                return false;
            }
        }
        return p++ < end;
    }

    bool startTag()
    {
        ++p;
        const Name element = name();
        if (element.length == 0)
            return false;
        QVarLengthArray<Name, 16> attributes;
        while (true) {
            const bool spaced = skipSpaces();
            if (p == end)
                return false;
            if (*p == '>') {
                ++p;
                open.append(element);
                return true;
            }
            if (*p == '/')
                return skip("/>");
            const Name attribute = name();
            if (!spaced || attribute.length == 0 || attributes.size() == MaxComparedAttributes)
                return false;
            for (const Name& earlier : std::as_const(attributes))
                if (earlier == attribute)
                    return false;
            attributes.append(attribute);
            skipSpaces();
            if (!skip("="))
                return false;
            skipSpaces();
            if (!attributeValue())
                return false;
        }
    }

    bool endTag()
    {
        p += 2;
        const Name element = name();
        if (open.isEmpty() || !(element == open.last()))
            return false;
        open.removeLast();
        skipSpaces();
        return skip(">");
    }

    // The root element and everything in it.
    bool elements()
    {
        if (!startTag())
            return false;
        while (!open.isEmpty()) {
            if (!text() || p == end)
                return false;
            bool read = false;
            if (startsWith("</"))
                read = endTag();
            else if (startsWith("<!--"))
                read = comment();
            else if (startsWith("<![CDATA["))
                read = cdata();
            else if (startsWith("<?"))
                read = instruction();
            else if (!startsWith("<!"))
                read = startTag();
            if (!read)
                return false;
        }
        return true;
    }

    const Byte* p;
    const Byte* end;
    QVarLengthArray<Name, 64> open;
};

} // namespace

XmlWellFormedness::Scan XmlWellFormedness::scan(const QByteArray& utf8)
{
    Scanner scanner(utf8);
    return scanner.document() ? Scan::WellFormed : Scan::Undecided;
}

bool XmlWellFormedness::check(const QByteArray& utf8, QString* reason)
{
    if (scan(utf8) == Scan::WellFormed)
        return true;
    XmlDefaultHandler parser;
    if (parser.parse(utf8))
        return true;
    if (reason)
        *reason = parser.errorString();
    return false;
}
