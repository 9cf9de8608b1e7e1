#include "report/docxpicshandler.h"

#include "runtime/logger.h"

#include <QRegularExpression>

namespace {

struct DescriptionPattern
{
    DocxPicsHandler::PictureKind kind;
    QRegularExpression pattern;
};

const DescriptionPattern* descriptionPatterns()
{
    static const DescriptionPattern patterns[] = {
        {DocxPicsHandler::Photo, QRegularExpression(QStringLiteral("photo-(\\d+)\\.jpg"))},
        {DocxPicsHandler::Graphic, QRegularExpression(QStringLiteral("graphic-(\\d+)\\.jpg"))},
        {DocxPicsHandler::AppraiserLogo, QRegularExpression(QStringLiteral("appraiserLogo-(\\d+)\\.jpg"))},
        {DocxPicsHandler::None, QRegularExpression()},
    };
    return patterns;
}

QString attribute(const QXmlStreamAttributes& attributes, const char* name)
{
    return attributes.value(QLatin1String(name)).toString();
}

} // namespace

DocxPicsHandler::ElementRole DocxPicsHandler::roleOf(QStringView qName)
{
    if (qName == u"w:drawing" || qName == u"w:pict")
        return DrawingElement;
    if (!qName.startsWith(u"mc:") && !qName.startsWith(u"pic:") && !qName.startsWith(u"wp") && qName != u"w:txbxContent"
        && !qName.startsWith(u"lc:"))
        return Other;
    if (qName == u"mc:AlternateContent")
        return AlternateContent;
    if (qName == u"mc:Choice" || qName == u"mc:Fallback")
        return Choice;
    if (qName == u"pic:pic")
        return PicturePart;
    if (qName == u"wpg:wgp" || qName == u"wpc:wpc" || qName == u"lc:lockedCanvas")
        return Group;
    if (qName == u"w:txbxContent")
        return TextBox;
    return Other;
}

bool DocxPicsHandler::startElement(QStringView qName, const QXmlStreamAttributes& attributes)
{
    const ElementRole parent = roles.isEmpty() ? Other : roles.last();
    const ElementRole role = roleOf(qName);
    roles.append(role);
    if (role == AlternateContent) {
        openAlternates.append(int(alternates.size()));
        alternates.append({offset + position(), -1});
    } else if (role == DrawingElement) {
        Drawing drawing;
        drawing.startTagEnd = offset + position();
        if (parent == Choice && !openAlternates.isEmpty())
            drawing.alternate = openAlternates.last();
        openDrawings.append({found.size(), QString(), QString()});
        found.append(drawing);
    } else if (!openDrawings.isEmpty()) {
        OpenDrawing& open = openDrawings.last();
        if (role == TextBox)
            ++open.textBoxes;
        else if (open.textBoxes == 0)
            readDrawingContent(qName, attributes, open);
        if (role == Group && open.textBoxes == 0)
            ++open.groups;
    }
    return true;
}

bool DocxPicsHandler::endElement(QStringView)
{
    if (roles.isEmpty())
        return true;
    const ElementRole role = roles.takeLast();
    if (role == AlternateContent && !openAlternates.isEmpty()) {
        alternates[openAlternates.takeLast()].second = offset + position();
    } else if (role == DrawingElement && !openDrawings.isEmpty()) {
        found[openDrawings.takeLast().drawing].end = offset + position();
    } else if (!openDrawings.isEmpty()) {
        OpenDrawing& open = openDrawings.last();
        if (role == TextBox)
            --open.textBoxes;
        else if (open.textBoxes > 0)
            return true;
        else if (role == PicturePart)
            open.pictureDescription.clear();
        else if (role == Group)
            --open.groups;
    }
    return true;
}

// The elements of a drawing that describe it or name its images.
void DocxPicsHandler::readDrawingContent(QStringView qName, const QXmlStreamAttributes& attributes, OpenDrawing& open)
{
    if (qName == u"wp:docPr") {
        open.description = attribute(attributes, "descr");
    } else if (qName == u"pic:cNvPr") {
        open.pictureDescription = attribute(attributes, "descr");
    } else if (qName == u"a:blip") {
        addPicture(open, attributes, "r:embed", "r:link");
    } else if (qName.startsWith(u"v:")) {
        if (qName == u"v:imagedata")
            addPicture(open, attributes, "r:id", "r:href");
        else if (qName == u"v:fill" && attributes.hasAttribute(QLatin1String("r:id")))
            addPicture(open, attributes, "r:id", nullptr);
        else if (attributes.hasAttribute(QLatin1String("alt")))
            open.description = attribute(attributes, "alt");
    }
}

void DocxPicsHandler::addPicture(OpenDrawing& open, const QXmlStreamAttributes& attributes, const char* embed,
                                 const char* link)
{
    Picture picture;
    const QString& first = open.groups > 0 ? open.pictureDescription : open.description;
    picture.description = first.isEmpty() ? (open.groups > 0 ? open.description : open.pictureDescription) : first;
    picture.kind = kindOf(picture.description, picture.index);
    picture.embedId = attribute(attributes, embed);
    picture.linkId = link ? attribute(attributes, link) : QString();
    picture.idAttribute = QString::fromLatin1(embed);
    picture.linkAttribute = link ? QString::fromLatin1(link) : QString();
    picture.tagEnd = offset + position();
    const QString& embedId = picture.embedId;
    LOG_TRACE() << "t=" << picture.kind << "v=" << picture.index << picture.description;
    if (QHash<QString, int>* target = mapOfKind(picture.kind); target && !embedId.isEmpty()) {
        target->insert(embedId, picture.index);
        LOG_TRACE() << "rid=" << embedId << picture.index;
    }
    found[open.drawing].pictures.append(picture);
}

// Only the drawings are read as XML: each outermost w:drawing, w:pict or
// mc:AlternateContent is found by its tags and read on its own, so a part of megabytes
// with a few pictures costs little more than a search.
bool DocxPicsHandler::parseDrawingsOf(const QString& part)
{
    clear();
    static const QLatin1String starts[] = {QLatin1String("<w:drawing"), QLatin1String("<w:pict"),
                                           QLatin1String("<mc:AlternateContent")};
    qsizetype from = 0;
    while (true) {
        int first = -1;
        const qsizetype start = nextDrawingStart(part, from, starts, first);
        if (start < 0)
            return true;
        const qsizetype end = elementEnd(part, start, starts[first]);
        if (end < 0)
            return false;
        offset = start;
        const bool read = parse(part.mid(start, end - start));
        offset = 0;
        if (!read)
            return false;
        from = end;
    }
}

// The first start tag of one of the names (which says which) from a position on; -1
// when there is none. Markup is mostly "<", so one walk over the text that looks at the
// characters after each "<" costs less than a search for each name.
qsizetype DocxPicsHandler::nextDrawingStart(const QString& text, qsizetype from, const QLatin1String (&names)[3],
                                            int& which)
{
    const char16_t* const begin = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = begin + text.size();
    for (const char16_t* p = begin + from; p < end; ++p) {
        if (*p != u'<' || end - p < 3 || (p[1] != u'w' && p[1] != u'm'))
            continue;
        const qsizetype at = p - begin;
        for (int i = 0; i < 3; ++i) {
            if (QStringView(p, end - p).startsWith(names[i]) && isNameEnd(text, at + names[i].size())) {
                which = i;
                return at;
            }
        }
    }
    return -1;
}

// The first start tag of the name from a position on and before another; -1 when there
// is none. A drawing's end is near: the search never runs on to the next drawing.
qsizetype DocxPicsHandler::startTagBefore(const QString& text, QLatin1String startTag, qsizetype from, qsizetype before)
{
    const QStringView within = QStringView(text).first(before);
    for (qsizetype at = within.indexOf(startTag, from); at >= 0; at = within.indexOf(startTag, at + 1))
        if (isNameEnd(text, at + startTag.size()))
            return at;
    return -1;
}

qsizetype DocxPicsHandler::startTagFrom(const QString& text, QLatin1String startTag, qsizetype from)
{
    return startTagBefore(text, startTag, from, text.size());
}

bool DocxPicsHandler::isNameEnd(const QString& text, qsizetype pos)
{
    if (pos >= text.size())
        return false;
    const QChar c = text.at(pos);
    return c == u'>' || c == u'/' || c.isSpace();
}

// The ">" of a start tag; attribute values may hold ">" too.
qsizetype DocxPicsHandler::startTagClose(const QString& text, qsizetype start)
{
    QChar quote;
    for (qsizetype pos = start; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (!quote.isNull())
            quote = c == quote ? QChar() : quote;
        else if (c == u'"' || c == u'\'')
            quote = c;
        else if (c == u'>')
            return pos;
    }
    return -1;
}

// Just after the end tag of the element whose start tag begins at start, elements of
// the same name inside it counted; -1 when it has none.
qsizetype DocxPicsHandler::elementEnd(const QString& text, qsizetype start, QLatin1String startTag)
{
    const QString endTag = QStringLiteral("</") + startTag.mid(1) + QLatin1Char('>');
    const qsizetype tagClose = startTagClose(text, start);
    if (tagClose < 0)
        return -1;
    if (text.at(tagClose - 1) == u'/')
        return tagClose + 1;
    int depth = 1;
    qsizetype pos = tagClose + 1;
    qsizetype close = -2;
    while (depth > 0) {
        if (close < pos && (close = text.indexOf(endTag, pos)) < 0)
            return -1;
        const qsizetype open = startTagBefore(text, startTag, pos, close);
        if (open >= 0) {
            const qsizetype openClose = startTagClose(text, open);
            if (openClose < 0)
                return -1;
            depth += text.at(openClose - 1) == u'/' ? 0 : 1;
            pos = openClose + 1;
        } else {
            --depth;
            pos = close + endTag.size();
        }
    }
    return pos;
}

std::pair<qsizetype, qsizetype> DocxPicsHandler::extentOf(const Drawing& drawing, const QString& part) const
{
    qint64 startTagEnd = drawing.startTagEnd;
    qint64 end = drawing.end;
    if (drawing.alternate >= 0 && alternates.at(drawing.alternate).second >= 0)
        std::tie(startTagEnd, end) = alternates.at(drawing.alternate);
    // A start tag holds no "<" of its own: attribute values escape it.
    const qsizetype start = part.lastIndexOf(QLatin1Char('<'), qsizetype(startTagEnd) - 1);
    return {start, qsizetype(end)};
}

void DocxPicsHandler::clear()
{
    photos.clear();
    graphics.clear();
    logos.clear();
    roles.clear();
    openDrawings.clear();
    alternates.clear();
    openAlternates.clear();
    found.clear();
}

DocxPicsHandler::PictureKind DocxPicsHandler::kindOf(const QString& description, int& index)
{
    index = -1;
    for (const DescriptionPattern* p = descriptionPatterns(); p->kind != None; ++p) {
        const QRegularExpressionMatch match = p->pattern.match(description);
        if (!match.hasMatch())
            continue;
        bool ok = false;
        const int value = match.captured(1).toInt(&ok);
        if (!ok)
            return None;
        index = value;
        return p->kind;
    }
    return None;
}

QHash<QString, int>* DocxPicsHandler::mapOfKind(PictureKind kind)
{
    switch (kind) {
    case Photo:
        return &photos;
    case Graphic:
        return &graphics;
    case AppraiserLogo:
        return &logos;
    default:
        return nullptr;
    }
}
