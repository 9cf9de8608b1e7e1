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

} // namespace

bool DocxPicsHandler::startElement(QStringView qName, const QXmlStreamAttributes& attributes)
{
    if (qName == u"w:drawing") {
        startDrawing();
    } else if (!inDrawing) {
        return true;
    } else if (qName == u"a:graphic") {
        inGraphic = true;
    } else if (qName == u"pic:pic") {
        inPic = true;
    } else if (qName == u"pic:blipFill") {
        inBlipFill = true;
    } else if (qName == u"pic:cNvPr" && inGraphic && inPic) {
        readDescription(attributes.value(QLatin1String("descr")).toString());
    } else if (qName == u"a:blip" && inGraphic && inPic && inBlipFill) {
        rid = attributes.value(QLatin1String("r:embed")).toString();
    }
    return true;
}

bool DocxPicsHandler::endElement(QStringView qName)
{
    if (qName == u"pic:pic") {
        finishPicture();
        inPic = false;
    } else if (qName == u"pic:blipFill") {
        inBlipFill = false;
    } else if (qName == u"a:graphic") {
        inGraphic = false;
    } else if (qName == u"w:drawing") {
        inDrawing = false;
    }
    return true;
}

void DocxPicsHandler::clear()
{
    photos.clear();
    graphics.clear();
    logos.clear();
    startDrawing();
    inDrawing = false;
}

void DocxPicsHandler::startDrawing()
{
    inDrawing = true;
    inGraphic = inPic = inBlipFill = false;
    kind = None;
    index = -1;
    rid.clear();
}

void DocxPicsHandler::readDescription(const QString& description)
{
    kind = kindOf(description, index);
    LOG_TRACE() << "t=" << kind << "v=" << index << description;
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

void DocxPicsHandler::finishPicture()
{
    QHash<QString, int>* target = mapOfKind();
    if (!inDrawing || !inGraphic || index < 0 || rid.isEmpty() || !target)
        return;
    target->insert(rid, index);
    LOG_TRACE() << "rid=" << rid << index;
}

QHash<QString, int>* DocxPicsHandler::mapOfKind()
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
