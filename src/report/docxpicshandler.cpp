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
        alternates.append({position(), -1});
    } else if (role == DrawingElement) {
        Drawing drawing;
        drawing.startTagEnd = position();
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
        alternates[openAlternates.takeLast()].second = position();
    } else if (role == DrawingElement && !openDrawings.isEmpty()) {
        found[openDrawings.takeLast().drawing].end = position();
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
    picture.tagEnd = position();
    const QString& embedId = picture.embedId;
    LOG_TRACE() << "t=" << picture.kind << "v=" << picture.index << picture.description;
    if (QHash<QString, int>* target = mapOfKind(picture.kind); target && !embedId.isEmpty()) {
        target->insert(embedId, picture.index);
        LOG_TRACE() << "rid=" << embedId << picture.index;
    }
    found[open.drawing].pictures.append(picture);
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
