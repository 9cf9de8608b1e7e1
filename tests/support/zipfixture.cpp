#include "zipfixture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QtEndian>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

bool writeZip(const QString& path, const QList<ZipEntry>& entries)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const ZipEntry& entry : entries) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.name), nullptr, 0, entry.method))
            return false;
        file.write(entry.content);
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

namespace {

// Replaces a four-byte field of every header of that signature naming the entry.
void patchField(QByteArray& zip, const QByteArray& signature, int nameAt, int fieldAt, const QByteArray& name,
                quint32 value)
{
    const quint32 stored = qToLittleEndian(value);
    const QByteArray little(reinterpret_cast<const char*>(&stored), 4);
    for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4))
        if (zip.mid(at + nameAt, name.size()) == name)
            zip.replace(at + fieldAt, 4, little);
}

} // namespace

QByteArray withDeclaredSize(QByteArray zip, const QByteArray& entryName, quint32 size)
{
    patchField(zip, QByteArray("PK\x03\x04", 4), 30, 22, entryName, size);
    patchField(zip, QByteArray("PK\x01\x02", 4), 46, 24, entryName, size);
    return zip;
}

QByteArray withChecksum(QByteArray zip, const QByteArray& entryName, quint32 crc)
{
    patchField(zip, QByteArray("PK\x03\x04", 4), 30, 14, entryName, crc);
    patchField(zip, QByteArray("PK\x01\x02", 4), 46, 16, entryName, crc);
    return zip;
}

QList<ZipEntry> readZip(const QString& path)
{
    QList<ZipEntry> entries;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return entries;
    QuaZipFile file(&zip);
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFileInfo64 info;
        zip.getCurrentFileInfo(&info);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        entries.append({info.name, file.readAll(), info.method, info.dateTime});
        file.close();
        entries.last().intact = file.getZipError() == UNZ_OK && quint64(entries.last().content.size()) == info.uncompressedSize;
    }
    return entries;
}

QByteArray contentOf(const QList<ZipEntry>& entries, const QString& name)
{
    for (const ZipEntry& entry : entries)
        if (entry.name == name)
            return entry.content;
    return QByteArray();
}

QByteArray contentOf(const QString& path, const QString& name)
{
    return contentOf(readZip(path), name);
}

QString xmlError(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    while (!reader.atEnd())
        reader.readNext();
    return reader.hasError() ? reader.errorString() : QString();
}

QStringList packageProblems(const QList<ZipEntry>& entries)
{
    QStringList problems;
    if (entries.isEmpty())
        return {QStringLiteral("no archive")};
    const QByteArray types = contentOf(entries, QStringLiteral("[Content_Types].xml"));
    QSet<QString> names;
    for (const ZipEntry& e : entries)
        names.insert(e.name);
    if (!names.contains(QStringLiteral("_rels/.rels")))
        problems << QStringLiteral("_rels/.rels: missing, so no part is the main document");
    for (const ZipEntry& e : entries) {
        if (!e.intact)
            problems << e.name + QLatin1String(": size or checksum does not match the entry's header");
        if (e.method != 0 && e.method != 8)
            problems << e.name + QStringLiteral(": compression method %1, which word processors do not read").arg(e.method);
        const QString suffix = QFileInfo(e.name).suffix();
        if (suffix == QLatin1String("xml") || suffix == QLatin1String("rels")) {
            if (const QString error = xmlError(e.content); !error.isEmpty())
                problems << e.name + QLatin1String(": ") + error;
        }
        if (e.name.startsWith(QLatin1String("word/media/")) && QImage::fromData(e.content).isNull())
            problems << e.name + QLatin1String(": picture does not decode");
        if (!types.contains("Extension=\"" + suffix.toUtf8() + "\"") && !types.contains("PartName=\"/" + e.name.toUtf8() + "\""))
            problems << e.name + QLatin1String(": no content type");
        if (suffix != QLatin1String("rels"))
            continue;
        const QString base = e.name.section(QLatin1Char('/'), 0, -3);
        static const QRegularExpression target(QStringLiteral("Target=\"([^\"]+)\"(?! TargetMode=\"External\")"));
        for (const QRegularExpressionMatch& m : target.globalMatch(QString::fromUtf8(e.content))) {
            const QString written = m.captured(1);
            const QString path = written.startsWith(QLatin1Char('/'))
                                     ? written.mid(1)
                                     : QDir::cleanPath((base.isEmpty() ? QString() : base + QLatin1Char('/')) + written);
            if (!names.contains(path))
                problems << e.name + QLatin1String(": missing ") + path;
        }
    }
    return problems;
}
