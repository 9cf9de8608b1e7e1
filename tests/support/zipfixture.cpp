#include "zipfixture.h"

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
