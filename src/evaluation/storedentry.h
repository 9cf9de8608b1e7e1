#ifndef ZENTAVO_STOREDENTRY_H
#define ZENTAVO_STOREDENTRY_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QtGlobal>

#include <quazip/quazipfileinfo.h>

class QuaZipFile;
class QDateTime;
class ZipWriter;
struct QuaZipNewInfo;

// One entry of an evaluation file as the file holds it: the compressed bytes, the method
// that compressed them, the content's checksum and size, and the entry's header. An
// entry travels from the file read to the file written as these bytes: a photo is never
// coded again, content this version cannot read comes back unchanged, and memory holds
// each entry once, compressed. The content is inflated only when asked for.
class ZENTAVO_EXPORT StoredEntry
{
public:
    enum class Read { Kept, Damaged };

    // New content, deflated once at the fastest level: pictures hardly shrink.
    static StoredEntry fromContent(const QByteArray& content);
    // The zip's current entry. Content of a method this library inflates is checked
    // against its checksum in pieces, never held whole, when it declares at most
    // checkLimit bytes; a larger one, or one of another method, is kept unchecked. A
    // negative checkLimit leaves the check to the caller.
    static Read readCurrent(QuaZipFile& file, qint64 checkLimit, StoredEntry& entry);

    // The zip's current entry, stored or deflated and not encrypted, read whole as its
    // compressed bytes and inflated in one call: content gets exactly the size and
    // checksum the header declares. Damaged when it does not, when the header declares
    // more than limit bytes, or when the entry is of another kind.
    static Read readContent(QuaZipFile& file, qint64 limit, QByteArray& content);
    // Whether readContent() can take an entry of that header.
    static bool isReadWhole(const QuaZipFileInfo64& info);

    // Writes the entry under the given name and time, its bytes as they are.
    bool writeAs(QuaZipFile& file, const QString& name, const QDateTime& time) const;
    // Adds the entry to another archive under the given name, its bytes as they are.
    bool writeTo(ZipWriter& zip, const QString& name) const;
    // Writes the entry under the name, time and attributes it was read with.
    bool writeAsRead(QuaZipFile& file) const;

    // The content, inflated; empty when it is larger than limit or compressed by a
    // method this library does not inflate.
    QByteArray content(qint64 limit) const;
    // The first bytes of the content, at most count of them, inflated alone; empty when
    // the method is not one this library inflates.
    QByteArray head(int count) const;
    // Whether another zip can take the compressed bytes as they are: stored or deflated,
    // the method every zip reader knows.
    bool isPortable() const;
    quint64 size() const { return contentSize; }
    const QString& name() const { return header.name; }

private:
    bool writeRaw(QuaZipFile& file, const QuaZipNewInfo& header) const;
    static bool checkContent(QuaZipFile& file);

    QByteArray compressed;
    quint16 method = 0;
    quint32 crc = 0;
    quint64 contentSize = 0;
    QuaZipFileInfo64 header;
};

#endif
