#include "report/odtpackage.h"

#include "report/templatetozipdocument.h"
#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "runtime/xmldefaulthandler.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamWriter>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

const QString OdtPackage::MimeTypeEntry = QStringLiteral("mimetype");
const QString OdtPackage::ManifestEntry = QStringLiteral("META-INF/manifest.xml");
const QString OdtPackage::TextMediaType = QStringLiteral("application/vnd.oasis.opendocument.text");

namespace {

const QString ContentPart = QStringLiteral("content.xml");
const QString StylesPart = QStringLiteral("styles.xml");
const QString ManifestNamespace = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:manifest:1.0");
// A mimetype entry is one short line; anything longer is not one.
constexpr qint64 MaxMimeTypeBytes = 256;

QString tr(const char* text)
{
    return QCoreApplication::translate("OdtPackage", text);
}

bool isTextDocument(const QString& mediaType)
{
    return mediaType == OdtPackage::TextMediaType || mediaType == OdtPackage::TextMediaType + QLatin1String("-template");
}

class ManifestHandler : public XmlDefaultHandler
{
public:
    struct Entry
    {
        QString path;
        QString mediaType;
        QString version;
    };
    QList<Entry> entries;
    QString version;
    bool encrypted = false;

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override
    {
        if (qName == u"manifest:manifest")
            version = attributes.value(QLatin1String("manifest:version")).toString();
        else if (qName == u"manifest:file-entry")
            entries.append({attributes.value(QLatin1String("manifest:full-path")).toString(),
                            attributes.value(QLatin1String("manifest:media-type")).toString(),
                            attributes.value(QLatin1String("manifest:version")).toString()});
        else if (qName == u"manifest:encryption-data")
            encrypted = true;
        return true;
    }
};

bool readEntry(QuaZip& zip, const QString& name, QByteArray& bytes, qint64 limit)
{
    if (!zip.setCurrentFile(name))
        return false;
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly))
        return false;
    bytes = entry.read(limit);
    entry.close();
    return entry.getZipError() == UNZ_OK;
}

} // namespace

bool OdtPackage::refuse(const QString& reason)
{
    LOG_WARNING() << "template refused:" << reason;
    refusal = reason;
    return false;
}

bool OdtPackage::read(QuaZip& zip)
{
    entries = zip.getFileNameList();
    parts.clear();
    fileEntries.clear();
    manifestVersion.clear();
    manifestRead = false;
    refusal.clear();
    if (zip.getZipError() != UNZ_OK)
        return refuse(tr("the archive's directory cannot be read"));
    QString mediaType;
    QByteArray bytes;
    if (entries.contains(MimeTypeEntry) && readEntry(zip, MimeTypeEntry, bytes, MaxMimeTypeBytes))
        mediaType = QString::fromUtf8(bytes).trimmed();
    if (entries.contains(ManifestEntry)) {
        QuaZipFile entry(&zip);
        QString reason;
        if (!zip.setCurrentFile(ManifestEntry) || !TemplateToZipDocument::readTextPart(entry, bytes, &reason))
            return refuse(reason.isEmpty() ? tr("%1 cannot be read").arg(ManifestEntry) : reason);
        if (!readManifest(bytes))
            return false;
    }
    if (mediaType.isEmpty()) {
        for (const FileEntry& file : std::as_const(fileEntries))
            if (file.path == QLatin1String("/"))
                mediaType = file.mediaType;
    }
    if (mediaType.isEmpty())
        return refuse(tr("it has neither a mimetype entry nor a manifest: it is not an OpenDocument package"));
    if (!isTextDocument(mediaType))
        return refuse(tr("it is an OpenDocument file of another kind (%1), not a text document").arg(mediaType));
    if (!entries.contains(ContentPart))
        return refuse(tr("the archive has no %1: it is not an OpenDocument text").arg(ContentPart));
    parts.append(ContentPart);
    if (entries.contains(StylesPart))
        parts.append(StylesPart);
    return true;
}

bool OdtPackage::readManifest(const QByteArray& bytes)
{
    ManifestHandler handler;
    if (!handler.parse(bytes))
        return refuse(tr("%1 is not well-formed XML: %2").arg(ManifestEntry, handler.errorString()));
    // The passes would see only the ciphertext of an encrypted part.
    if (handler.encrypted)
        return refuse(tr("it is protected by a password; save it without one to use it as a template"));
    for (const ManifestHandler::Entry& entry : std::as_const(handler.entries))
        fileEntries.append({entry.path, entry.mediaType, entry.version});
    manifestVersion = handler.version;
    manifestRead = true;
    return true;
}

QString OdtPackage::mediaTypeOf(const QString& entryName)
{
    static const QHash<QString, QString> types = {
        {QStringLiteral("xml"), QStringLiteral("text/xml")},   {QStringLiteral("png"), QStringLiteral("image/png")},
        {QStringLiteral("jpg"), QStringLiteral("image/jpeg")}, {QStringLiteral("jpeg"), QStringLiteral("image/jpeg")},
        {QStringLiteral("gif"), QStringLiteral("image/gif")},  {QStringLiteral("bmp"), QStringLiteral("image/bmp")},
        {QStringLiteral("svg"), QStringLiteral("image/svg+xml")}, {QStringLiteral("rdf"), QStringLiteral("application/rdf+xml")},
        {QStringLiteral("tif"), QStringLiteral("image/tiff")}, {QStringLiteral("tiff"), QStringLiteral("image/tiff")},
    };
    return types.value(QFileInfo(entryName).suffix().toLower());
}

// Entries the package names that are not there are left out; entries that are there
// and not named get their media type. The mimetype entry and the manifest itself are
// never listed.
QByteArray OdtPackage::manifest(const QStringList& documentEntries) const
{
    const QStringList& present = documentEntries;
    const auto isListed = [](const QString& path) {
        return path != MimeTypeEntry && !path.startsWith(QLatin1String("META-INF/")) && !path.endsWith(QLatin1Char('/'));
    };
    const auto holds = [&present](const QString& path) {
        if (path == QLatin1String("/") || present.contains(path))
            return true;
        if (!path.endsWith(QLatin1Char('/')))
            return false;
        for (const QString& name : present)
            if (name.startsWith(path))
                return true;
        return false;
    };
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("manifest:manifest"));
    xml.writeAttribute(QStringLiteral("xmlns:manifest"), ManifestNamespace);
    if (!manifestVersion.isEmpty())
        xml.writeAttribute(QStringLiteral("manifest:version"), manifestVersion);
    const auto writeEntry = [&xml](const QString& path, const QString& mediaType, const QString& version) {
        xml.writeEmptyElement(QStringLiteral("manifest:file-entry"));
        xml.writeAttribute(QStringLiteral("manifest:full-path"), path);
        if (!version.isEmpty())
            xml.writeAttribute(QStringLiteral("manifest:version"), version);
        xml.writeAttribute(QStringLiteral("manifest:media-type"), mediaType);
    };
    QStringList listed;
    bool hasRoot = false;
    for (const FileEntry& file : fileEntries) {
        if (!holds(file.path) || listed.contains(file.path))
            continue;
        hasRoot = hasRoot || file.path == QLatin1String("/");
        writeEntry(file.path, file.mediaType, file.version);
        listed.append(file.path);
    }
    if (!hasRoot)
        writeEntry(QStringLiteral("/"), TextMediaType, manifestVersion);
    for (const QString& name : std::as_const(present))
        if (isListed(name) && !listed.contains(name)) {
            writeEntry(name, mediaTypeOf(name), QString());
            listed.append(name);
        }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

bool OdtPackage::normalised(QByteArray& zipBytes, QString& reason)
{
    QBuffer source(&zipBytes);
    QuaZip in(&source);
    if (!in.open(QuaZip::mdUnzip)) {
        reason = tr("it is not a zip archive");
        return false;
    }
    OdtPackage package;
    if (!package.read(in)) {
        reason = package.failure();
        return false;
    }
    QuaZipFileInfo64 first;
    QByteArray mimeType;
    const bool hasMimeType = readEntry(in, MimeTypeEntry, mimeType, MaxMimeTypeBytes);
    if (in.goToFirstFile() && in.getCurrentFileInfo(&first) && first.name == MimeTypeEntry && first.method == 0
        && hasMimeType)
        return true;
    LOG_INFO() << "template repaired: its mimetype entry put first and stored";
    if (!hasMimeType)
        mimeType = TextMediaType.toUtf8();
    QByteArray rebuilt;
    QBuffer target(&rebuilt);
    QuaZip out(&target);
    bool written = out.open(QuaZip::mdCreate);
    const auto write = [&out](const QString& name, const QByteArray& bytes, int method) {
        QuaZipFile entry(&out);
        if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, method, method ? Z_DEFAULT_COMPRESSION : 0))
            return false;
        const bool whole = entry.write(bytes) == bytes.size();
        entry.close();
        return whole && entry.getZipError() == UNZ_OK;
    };
    written = written && write(MimeTypeEntry, mimeType, 0);
    for (bool more = in.goToFirstFile(); written && more; more = in.goToNextFile()) {
        const QString name = in.getCurrentFileName();
        if (name == MimeTypeEntry)
            continue;
        QuaZipFile entry(&in);
        QByteArray bytes;
        written = entry.open(QIODevice::ReadOnly);
        if (written) {
            bytes = BoundedRead::atMost(entry, TemplateToDocument::MAX_TEMPLATE_BYTES + 1);
            entry.close();
            written = entry.getZipError() == UNZ_OK && bytes.size() <= TemplateToDocument::MAX_TEMPLATE_BYTES
                && write(name, bytes, Z_DEFLATED);
        }
    }
    in.close();
    out.close();
    if (!written || out.getZipError() != UNZ_OK) {
        reason = tr("its entries cannot be read");
        return false;
    }
    zipBytes = rebuilt;
    return true;
}
