#ifndef ZENTAVO_ZIPWRITER_H
#define ZENTAVO_ZIPWRITER_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class QIODevice;

// Writes a zip archive to a device, each entry given whole as the bytes the archive is
// to hold: stored (method 0), already deflated (method 8) or copied from another archive
// as it came, with the checksum and size of its content. Nothing is compressed or checksummed again, and each entry goes to the
// device in one write, every write checked. A document's entries are known whole before
// they are written, so no entry needs a data descriptor.
//
// The archive is a plain zip, without the 64-bit extension: an archive that would pass
// 4 GiB or 65 535 entries is refused, never written cut short.
class ZENTAVO_EXPORT ZipWriter
{
    Q_DECLARE_TR_FUNCTIONS(ZipWriter)

public:
    static constexpr quint16 Stored = 0;
    static constexpr quint16 Deflated = 8;

    explicit ZipWriter(QIODevice& device, const QDateTime& time = QDateTime::currentDateTime());

    // One entry; false, with the reason in errorString(), when it cannot be written.
    bool add(const QString& name, quint16 method, quint32 crc, quint64 size, const QByteArray& packed);
    // Writes the archive's directory; nothing can be added after.
    bool finish();
    // What went wrong first; empty while nothing did.
    QString errorString() const { return error; }

private:
    struct Fields
    {
        quint16 version;
        quint16 flags;
        quint16 method;
        quint32 crc;
        quint32 packedSize;
        quint32 size;
        quint16 nameLength;
    };

    void putFields(QByteArray& bytes, const Fields& fields) const;
    bool write(const QByteArray& bytes);
    bool fail(const QString& why);

    QIODevice& device;
    quint16 dosTime = 0;
    quint16 dosDate = 0;
    quint64 offset = 0;
    quint32 entries = 0;
    QByteArray directory;
    bool finished = false;
    QString error;
};

#endif
