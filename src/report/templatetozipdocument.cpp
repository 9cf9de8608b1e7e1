#include "report/templatetozipdocument.h"

#include "catalog/appraisalcompany.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/photogallery.h"
#include "evaluation/photostore.h"
#include "evaluation/storedentry.h"
#include "runtime/atomicfilewriter.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "runtime/rawdeflate.h"
#include "runtime/utf8.h"
#include "runtime/xmlwellformedness.h"
#include "runtime/zipwriter.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QRegularExpression>
#include <QStringDecoder>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>


namespace {

constexpr qint64 CopyChunkSize = 256 * 1024;

// The image format an entry's name gives, such as "PNG" for word/media/image2.png.
QByteArray formatOf(const QString& entryName)
{
    const QString suffix = QFileInfo(entryName).suffix().toLower();
    if (suffix == QLatin1String("jpeg") || suffix == QLatin1String("jpg"))
        return QByteArrayLiteral("JPEG");
    return suffix.toLatin1().toUpper();
}

bool isJpeg(const QByteArray& bytes)
{
    return bytes.startsWith("\xFF\xD8\xFF");
}

QImage whitePixel()
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::white);
    return pixel;
}

bool encode(const QImage& picture, const QByteArray& format, QByteArray& encoded)
{
    encoded.clear();
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // PNG quality 80 is zlib level 1: a camera picture takes a fraction of the time
    // and barely grows; the entry is deflated once more anyway.
    if (format == "PNG")
        writer.setQuality(80);
    if (picture.isNull() || !writer.write(picture)) {
        LOG_WARNING() << "picture not encoded as" << format << writer.errorString();
        return false;
    }
    return true;
}

bool copyAll(QIODevice& in, QIODevice& out)
{
    QByteArray chunk;
    while (!(chunk = in.read(CopyChunkSize)).isEmpty()) {
        if (out.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

} // namespace

bool TemplateToZipDocument::make_from_disk(QString templatePath, QString)
{
    LOG_WARNING() << "a zip document is made from a template read whole, not from" << templatePath;
    emit done();
    return false;
}

bool TemplateToZipDocument::make_from_buffer(QBuffer& templateBuffer, QString& outputPath)
{
    documentName = outputPath;
    const bool made = writeDocument(templateBuffer, outputPath);
    documentName.clear();
    return made;
}

bool TemplateToZipDocument::writeDocument(QBuffer& templateBuffer, const QString& outputPath)
{
    QuaZip in(&templateBuffer);
    // Written beside the document and put in its place only when complete; until then an
    // older document of that name stays as it was. A link or anything but a regular file
    // in the document's place is refused, never written through.
    AtomicFileWriter writer(outputPath, AtomicFileWriter::Links::Refuse);
    if (!writer.open()) {
        failWrite(outputPath, writer.reason());
        return false;
    }
    ZipWriter out(writer.device());
    if (!make_zip(in, out)) {
        // A template that cannot be used has said so; anything else is a document not written.
        if (errorInfo.code() != ErrorInfo::ErrRead)
            failWrite(outputPath, writer.reason().isEmpty() ? out.errorString() : writer.reason());
        return false;
    }
    if (!writer.commit()) {
        failWrite(outputPath, writer.reason());
        return false;
    }
    return true;
}

bool TemplateToZipDocument::make_zip(QuaZip& in, ZipWriter& out)
{
    templateName = in.getZipName().isEmpty() ? getTemplatePath() : in.getZipName();
    if (!in.open(QuaZip::mdUnzip)) {
        LOG_WARNING() << "template is not a readable zip:" << templateName << "error" << in.getZipError();
        failRead(tr("it is not a zip archive"));
        return false;
    }
    if (!beforeCopy(in)) {
        in.close();
        return false;
    }
    const bool copied = copyZip(in, out);
    in.close();
    if (copied && !out.finish()) {
        LOG_WARNING() << "document not completed" << loggedName(writtenName(QString())) << out.errorString();
        failWrite(QString(), out.errorString());
        return false;
    }
    return copied;
}

bool TemplateToZipDocument::copyZip(QuaZip& in, ZipWriter& out)
{
    for (bool more = in.goToFirstFile(); more; more = in.goToNextFile()) {
        QuaZipFile reader(&in);
        if (!copyone(reader, out))
            return false;
    }
    if (in.getZipError() != UNZ_OK) {
        LOG_WARNING() << "template directory unreadable, error" << in.getZipError();
        failRead();
        return false;
    }
    for (const auto& [name, bytes] : addedEntries()) {
        const Picture picture = isPhoto(name) ? writePicture(name, out) : Picture::None;
        if (picture == Picture::Failed || (picture == Picture::None && !writeEntry(name, bytes, Deflated, out)))
            return false;
    }
    return true;
}

bool TemplateToZipDocument::copyone(QuaZipFile& in, ZipWriter& out)
{
    QuaZipFileInfo64 info;
    if (!in.getFileInfo(&info)) {
        failRead();
        return false;
    }
    const QString& name = info.name;
    if (isLeftOutOfCopy(name))
        return true; // the flavour writes it later, or not at all
    if (isNeedFiltering(name))
        return copyFiltered(name, in, out);
    QByteArray replacement;
    if (replacementOf(name, replacement))
        return writeEntry(name, replacement, Deflated, out);
    const Picture picture = isPhoto(name) ? writePicture(name, out) : Picture::None;
    if (picture != Picture::None)
        return picture == Picture::Written;
    return copyRaw(name, info, in, out);
}

TemplateToZipDocument::Picture TemplateToZipDocument::writePicture(const QString& name, ZipWriter& out)
{
    if (const StoredEntry* photo = keptPhotoFor(name)) {
        if (photo->writeTo(out, name))
            return Picture::Written;
        LOG_WARNING() << "cannot write the entry" << name << out.errorString();
        failWrite(QString(), out.errorString());
        return Picture::Failed;
    }
    QByteArray picture;
    if (!pictureFor(name, picture))
        return Picture::None;
    return writeEntry(name, picture, Stored, out) ? Picture::Written : Picture::Failed;
}

// A JPEG photo goes into a JPEG entry as the evaluation keeps it, compressed and checked
// when the file was read: the document gets the very bytes, and the render neither
// inflates nor deflates them.
const StoredEntry* TemplateToZipDocument::keptPhotoFor(const QString& entryName)
{
    if (!isValidSource() || formatOf(entryName) != "JPEG")
        return nullptr;
    const int index = extractIndexFromPhotoName(entryName);
    const StoredEntry* photo = index >= 0 ? AE().getPhotoGallery()->getPhotoEntry(index) : nullptr;
    if (!photo || !photo->isPortable() || photo->size() > quint64(PhotoStore::MaxEntrySize))
        return nullptr;
    return isJpeg(photo->head(3)) ? photo : nullptr;
}

bool TemplateToZipDocument::copyFiltered(const QString& name, QuaZipFile& in, ZipWriter& out)
{
    QString text;
    if (!takeTextPart(name, text)) {
        QByteArray bytes;
        if (!readTextPart(in, bytes)) {
            failRead();
            return false;
        }
        text = QString::fromUtf8(bytes);
    }
    filteredPart = name;
    const bool passed = filterText(text);
    filteredPart.clear();
    if (!passed) {
        failRead();
        return false;
    }
    const QByteArray filtered = text.toUtf8();
    text = QString();
    // A part that is not XML, or that a block cutting across elements broke, would give
    // a document the word processor refuses to open: no document is better.
    if (!isWellFormed(name, filtered)) {
        failRead(templatePartFailure(name, in));
        return false;
    }
    return writeEntry(name, filtered, Deflated, out);
}

// Why the template's own part is not XML; empty when it is, and the passes broke it.
QString TemplateToZipDocument::templatePartFailure(const QString& name, QuaZipFile& in)
{
    QByteArray original;
    QString reason;
    if (!readTextPart(in, original, &reason))
        return reason;
    if (XmlWellFormedness::check(original, &reason))
        return QString();
    LOG_WARNING() << "template part" << name << "is not well-formed:" << reason;
    return tr("%1 is not well-formed XML: %2").arg(name, reason);
}

bool TemplateToZipDocument::isWellFormed(const QString& name, const QByteArray& filtered)
{
    QString reason;
    if (XmlWellFormedness::check(filtered, &reason))
        return true;
    LOG_WARNING() << "text part" << name << "is not well-formed after the passes:" << reason;
    return false;
}

bool TemplateToZipDocument::replacementOf(const QString&, QByteArray&)
{
    return false;
}

bool TemplateToZipDocument::takeTextPart(const QString&, QString&)
{
    return false;
}

QList<std::pair<QString, QByteArray>> TemplateToZipDocument::addedEntries()
{
    return {};
}

bool TemplateToZipDocument::isLeftOutOfCopy(const QString&) const
{
    return false;
}

bool TemplateToZipDocument::hasEvaluationPicture(DocxPicsHandler::PictureKind kind, int index)
{
    if (!isValidSource() || index < 0)
        return false;
    switch (kind) {
    case DocxPicsHandler::Photo:
        return index < AE().getPhotoGallery()->getPhotoCount();
    case DocxPicsHandler::Graphic:
        return AE().isApproach(APPROACH_COMPARATIVE) && index < AE().getApproach(APPROACH_COMPARATIVE)->getImageCount();
    case DocxPicsHandler::AppraiserLogo: {
        AppraiserList* appraisers = AE().getAppraiserList();
        LOG_TRACE() << "appraiser cnt=" << appraisers->count() << "idx=" << index;
        if (index >= appraisers->count())
            return false;
        AgreeAppraiser* appraiser = appraisers->getAppraiserInOrder(index);
        return appraiser && appraiser->getAppraisalCompany() && appraiser->getAppraisalCompany()->isLogo();
    }
    default:
        return false;
    }
}

bool TemplateToZipDocument::writeEntry(const QString& name, const QByteArray& bytes, Packing packing, ZipWriter& out)
{
    const bool stored = packing == Stored;
    const QByteArray packed = stored ? bytes : RawDeflate::compress(bytes, RawDeflate::Text);
    const bool written = (stored || !packed.isEmpty() || bytes.isEmpty())
        && out.add(name, stored ? ZipWriter::Stored : ZipWriter::Deflated, RawDeflate::checksum(bytes),
                   quint64(bytes.size()), packed);
    if (!written) {
        LOG_WARNING() << "cannot write the entry" << name << out.errorString();
        failWrite(QString(), out.errorString());
    }
    return written;
}

// The compressed bytes go across unchanged, so an entry that is not changed costs
// neither inflating nor deflating, whatever size it declares.
bool TemplateToZipDocument::copyRaw(const QString& name, const QuaZipFileInfo64& info, QuaZipFile& in, ZipWriter& out)
{
    int method = 0;
    int level = 0;
    if (!in.open(QIODevice::ReadOnly, &method, &level, true)) {
        LOG_WARNING() << "cannot read the entry" << name << "error" << in.getZipError();
        failRead();
        return false;
    }
    const QByteArray packed = BoundedRead::atMost(in, qint64(std::min<quint64>(info.compressedSize, MAX_TEMPLATE_BYTES)));
    in.close();
    if (in.getZipError() != UNZ_OK || quint64(packed.size()) != info.compressedSize) {
        LOG_WARNING() << "entry cut short" << name << "error" << in.getZipError();
        failRead();
        return false;
    }
    if (!out.add(name, quint16(method), quint32(info.crc), info.uncompressedSize, packed)) {
        LOG_WARNING() << "entry not copied" << name << out.errorString();
        failWrite(QString(), out.errorString());
        return false;
    }
    return true;
}

bool TemplateToZipDocument::readTextPart(QuaZipFile& entry, QByteArray& bytes, QString* reason)
{
    const auto refuse = [reason](const QString& why) {
        if (reason)
            *reason = why;
        return false;
    };
    QuaZipFileInfo64 info;
    if (!entry.getFileInfo(&info) || info.uncompressedSize > quint64(MaxTextPartSize)) {
        LOG_WARNING() << "text part refused:" << info.name << "declares" << info.uncompressedSize << "bytes";
        return refuse(tr("%1 is larger than %2 MiB").arg(info.name).arg(MaxTextPartSize / (1024 * 1024)));
    }
    bool damaged = false;
    if (!readWhole(entry, info, bytes, damaged))
        return refuse(tr("%1 cannot be read from the archive").arg(info.name));
    if (damaged) {
        LOG_WARNING() << "text part damaged or too large:" << info.name << "error" << entry.getZipError();
        return refuse(tr("%1 is damaged or larger than %2 MiB").arg(info.name).arg(MaxTextPartSize / (1024 * 1024)));
    }
    if (!toUtf8(bytes)) {
        LOG_WARNING() << "text part is neither UTF-8 nor UTF-16:" << info.name;
        return refuse(tr("%1 is not in UTF-8 or UTF-16").arg(info.name));
    }
    return true;
}

// Stored and deflated parts, those of every word processor, are inflated in one call;
// others go through the zip library, which refuses what it cannot read. False, with the
// reason, when the entry cannot be opened; damaged stays set when it is not whole.
bool TemplateToZipDocument::readWhole(QuaZipFile& entry, const QuaZipFileInfo64& info, QByteArray& bytes, bool& damaged)
{
    if (StoredEntry::isReadWhole(info)) {
        damaged = StoredEntry::readContent(entry, MaxTextPartSize, bytes) != StoredEntry::Read::Kept;
        return true;
    }
    if (!entry.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "cannot read the entry" << info.name << "error" << entry.getZipError();
        return false;
    }
    bytes = BoundedRead::atMost(entry, MaxTextPartSize + 1);
    const bool whole = entry.atEnd() && bytes.size() <= MaxTextPartSize;
    entry.close();
    damaged = !whole || entry.getZipError() != UNZ_OK;
    return true;
}

// XML parts are UTF-8, or UTF-16 beginning with a byte order mark.
bool TemplateToZipDocument::toUtf8(QByteArray& bytes)
{
    const bool littleEndian = bytes.startsWith("\xFF\xFE");
    if (!littleEndian && !bytes.startsWith("\xFE\xFF"))
        return Utf8::isValid(bytes); // the passes read UTF-8, the encoding of document packages
    QStringDecoder decoder(littleEndian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                           QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    static const QRegularExpression declaredEncoding(
        QStringLiteral("^(<\\?xml[^>]*\\sencoding\\s*=\\s*[\"'])[^\"']*"));
    text.replace(declaredEncoding, QStringLiteral("\\1UTF-8"));
    bytes = text.toUtf8();
    return true;
}


void TemplateToZipDocument::failRead(const QString& reason)
{
    errorInfo.set(ErrorInfo::ErrRead, ErrorInfo::standardMessage(ErrorInfo::ErrRead, templateName, reason));
}

// The user knows the document by the name it was asked for, not by the temporary one.
void TemplateToZipDocument::failWrite(const QString& zipName, const QString& reason)
{
    errorInfo.set(ErrorInfo::ErrWrite, ErrorInfo::standardMessage(ErrorInfo::ErrWrite, writtenName(zipName), reason));
}

QString TemplateToZipDocument::writtenName(const QString& zipName) const
{
    return documentName.isEmpty() ? zipName : documentName;
}

bool TemplateToZipDocument::replacingPhoto(const QString& entryName, QIODevice& in, QIODevice& out)
{
    QByteArray picture;
    if (pictureFor(entryName, picture))
        return out.write(picture) == picture.size();
    return copyAll(in, out);
}

bool TemplateToZipDocument::canEncodeFor(const QString& entryName)
{
    return QImageWriter::supportedImageFormats().contains(formatOf(entryName).toLower());
}

bool TemplateToZipDocument::pictureFor(const QString& entryName, QByteArray& encoded)
{
    if (!isValidSource() || !canEncodeFor(entryName))
        return false;
    const QByteArray format = formatOf(entryName);
    int index = extractIndexFromPhotoName(entryName);
    if (index >= 0)
        return photoPicture(index, format, encoded);
    if (AE().isApproach(APPROACH_COMPARATIVE) && (index = extractIndexFromGraphName(entryName)) >= 0)
        return graphicPicture(index, format, encoded);
    if ((index = extractIndexFromLogoName(entryName)) >= 0)
        return logoPicture(index, format, encoded);
    return false;
}

// A photo keeps its bytes where the entry takes its format: an appraiser's photographs
// are evidence and are not coded again.
bool TemplateToZipDocument::photoPicture(int index, const QByteArray& format, QByteArray& encoded)
{
    PhotoGallery* gallery = AE().getPhotoGallery();
    if (index >= gallery->getPhotoCount())
        return encode(whitePixel(), format, encoded);
    if (gallery->getPhotoData(index, encoded)) {
        if (format == "JPEG" && isJpeg(encoded))
            return true;
        const QImage image = QImage::fromData(encoded);
        // A photo kept in the file that no codec here reads: the template's own sample
        // picture must not stand in for the vehicle's.
        if (image.isNull()) {
            LOG_WARNING() << "photo" << index << "cannot be decoded; a blank picture takes its place";
            return encode(whitePixel(), format, encoded);
        }
        return encode(image, format, encoded);
    }
    QPixmap photo;
    return encode(gallery->getPhoto(index, photo).toImage(), format, encoded);
}

bool TemplateToZipDocument::graphicPicture(int index, const QByteArray& format, QByteArray& encoded)
{
    EvaluationApproach* approach = AE().getApproach(APPROACH_COMPARATIVE);
    if (index >= approach->getImageCount())
        return encode(whitePixel(), format, encoded);
    QPixmap graphic;
    return encode(approach->getImage(index, graphic).toImage(), format, encoded);
}

bool TemplateToZipDocument::logoPicture(int index, const QByteArray& format, QByteArray& encoded)
{
    AppraiserList* appraisers = AE().getAppraiserList();
    LOG_TRACE() << "idx=" << index << "cnt=" << appraisers->count();
    AgreeAppraiser* appraiser = index < appraisers->count() ? appraisers->getAppraiserInOrder(index) : nullptr;
    AppraisalCompany* company = appraiser ? appraiser->getAppraisalCompany() : nullptr;
    if (!company)
        return false;
    QImage logo;
    company->getLogo(logo);
    LOG_TRACE() << "logo isnull=" << (logo.isNull() ? "true" : "false");
    return encode(logo.isNull() ? whitePixel() : logo, format, encoded);
}
