#ifndef ZENTAVO_ZIPFIXTURE_H
#define ZENTAVO_ZIPFIXTURE_H

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// Builds and inspects zip containers for tests, independently of the code under test.
struct ZipEntry
{
    ZipEntry() = default;
    ZipEntry(QString entryName, QByteArray entryContent, int entryMethod = 8, QDateTime entryTime = QDateTime())
        : name(std::move(entryName)), content(std::move(entryContent)), method(entryMethod), time(std::move(entryTime))
    {
    }

    QString name;
    QByteArray content;
    int method = 8; // deflated; 0 is stored
    // Read back whole, with the size and checksum its header gives.
    bool intact = true;
    QDateTime time;
};

bool writeZip(const QString& path, const QList<ZipEntry>& entries);
// The entries in the container's directory order; an empty list when it does not open.
QList<ZipEntry> readZip(const QString& path);
// The container with the uncompressed size of the named entry, in its local header and
// its directory record alike, replaced by a lie; the compressed bytes stay as they are.
QByteArray withDeclaredSize(QByteArray zip, const QByteArray& entryName, quint32 size);
// The same with the entry's checksum replaced: its content no longer matches it.
QByteArray withChecksum(QByteArray zip, const QByteArray& entryName, quint32 crc);
// The content of the named entry; null when there is none.
QByteArray contentOf(const QList<ZipEntry>& entries, const QString& name);
// The same read from the container at path.
QByteArray contentOf(const QString& path, const QString& name);
// Why an XML document is not well-formed; empty when it is.
QString xmlError(const QByteArray& xml);
// What would keep a word processor from opening a DOCX package: no _rels/.rels, XML
// parts that are not well-formed, entries without a content type, relationships to
// missing parts, pictures that do not decode. Empty for a sound package.
QStringList packageProblems(const QList<ZipEntry>& entries);

#endif
