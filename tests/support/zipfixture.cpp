#include "zipfixture.h"

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

void patchSize(QByteArray& zip, const QByteArray& signature, int nameAt, int sizeAt, const QByteArray& name,
               quint32 size)
{
    const quint32 stored = qToLittleEndian(size);
    const QByteArray little(reinterpret_cast<const char*>(&stored), 4);
    for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4))
        if (zip.mid(at + nameAt, name.size()) == name)
            zip.replace(at + sizeAt, 4, little);
}

} // namespace

QByteArray withDeclaredSize(QByteArray zip, const QByteArray& entryName, quint32 size)
{
    patchSize(zip, QByteArray("PK\x03\x04", 4), 30, 22, entryName, size);
    patchSize(zip, QByteArray("PK\x01\x02", 4), 46, 24, entryName, size);
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
    }
    return entries;
}
