#include "report/odtpicshandler.h"

#include "report/templatetozipdocument.h"
#include "runtime/logger.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// Where the markup that ends at end began: a start tag holds no "<" of its own.
qsizetype markupStart(const QString& text, qsizetype end)
{
    return text.lastIndexOf(QLatin1Char('<'), end - 1);
}

} // namespace

// Only the frames are read as XML: each outermost draw:frame is found by its tags and
// read on its own, so a part of megabytes with a few pictures costs little more than a
// search.
bool OdtPicsHandler::parseFramesOf(const QString& part)
{
    static const QLatin1String frameTag("<draw:frame");
    found.clear();
    text = &part;
    bool read = true;
    for (qsizetype start = DocxPicsHandler::startTagFrom(part, frameTag, 0); read && start >= 0;) {
        const qsizetype end = DocxPicsHandler::elementEnd(part, start, frameTag);
        open.clear();
        depth = 0;
        offset = start;
        read = end >= 0 && parse(part.mid(start, end - start));
        start = read ? DocxPicsHandler::startTagFrom(part, frameTag, end) : -1;
    }
    offset = 0;
    text = nullptr;
    std::sort(found.begin(), found.end(), [](const Frame& a, const Frame& b) { return a.start < b.start; });
    return read;
}

bool OdtPicsHandler::startElement(QStringView qName, const QXmlStreamAttributes& attributes)
{
    ++depth;
    const bool directChild = !open.isEmpty() && open.last().depth == depth - 1;
    if (qName == u"draw:frame") {
        OpenFrame frame{{}, depth};
        frame.frame.start = markupStart(*text, offset + position());
        frame.frame.name = attributes.value(QLatin1String("draw:name")).toString();
        open.append(frame);
    } else if (directChild && qName == u"draw:image") {
        Image image;
        image.start = markupStart(*text, offset + position());
        image.startTagEnd = offset + position();
        image.href = attributes.value(QLatin1String("xlink:href")).toString();
        image.mimeType = attributes.value(QLatin1String("draw:mime-type")).toString();
        if (image.mimeType.isEmpty())
            image.mimeType = attributes.value(QLatin1String("loext:mime-type")).toString();
        open.last().frame.images.append(image);
    } else if (directChild && qName == u"svg:desc") {
        open.last().inDescription = true;
    } else if (directChild && qName == u"svg:title") {
        open.last().inTitle = true;
    }
    return true;
}

bool OdtPicsHandler::characters(QStringView chars)
{
    if (!open.isEmpty() && open.last().inDescription)
        open.last().frame.description += chars;
    else if (!open.isEmpty() && open.last().inTitle)
        open.last().frame.title += chars;
    return true;
}

bool OdtPicsHandler::endElement(QStringView qName)
{
    const bool directChild = !open.isEmpty() && open.last().depth == depth - 1;
    if (directChild && qName == u"draw:image") {
        open.last().frame.images.last().end = offset + position();
    } else if (directChild && qName == u"svg:desc") {
        open.last().inDescription = false;
    } else if (directChild && qName == u"svg:title") {
        open.last().inTitle = false;
    } else if (!open.isEmpty() && open.last().depth == depth && qName == u"draw:frame") {
        Frame frame = open.takeLast().frame;
        frame.end = offset + position();
        frame.kind = DocxPicsHandler::kindOf(frame.description, frame.index);
        if (frame.kind == DocxPicsHandler::None)
            frame.kind = DocxPicsHandler::kindOf(frame.name, frame.index);
        LOG_TRACE() << "t=" << frame.kind << "v=" << frame.index << frame.description << frame.name;
        if (!frame.images.isEmpty())
            found.append(frame);
    }
    --depth;
    return true;
}

QString OdtPicsHandler::suffixFor(const Image& image)
{
    QString suffix = image.href.isEmpty() ? QString() : QFileInfo(image.href).suffix().toLower();
    if (suffix.isEmpty() && image.mimeType.startsWith(QLatin1String("image/")))
        suffix = image.mimeType.mid(6).toLower();
    if (suffix == QLatin1String("jpeg"))
        suffix = QStringLiteral("jpg");
    if (suffix.isEmpty() || !TemplateToZipDocument::canEncodeFor(QStringLiteral("picture.") + suffix))
        return QStringLiteral("png");
    return suffix;
}
