#include "runtime/zipwriter.h"

#include "runtime/logger.h"

#include <QIODevice>
#include <QtEndian>

namespace {

constexpr quint32 LocalHeaderSignature = 0x04034b50;
constexpr quint32 DirectoryRecordSignature = 0x02014b50;
constexpr quint32 DirectoryEndSignature = 0x06054b50;
constexpr quint16 VersionNeeded = 20; // 2.0: deflate, folders
constexpr quint16 VersionOfOtherMethods = 63; // bzip2, LZMA and the rest, copied as they came
constexpr quint16 NameIsUtf8 = 1 << 11;
constexpr quint64 Largest = 0xFFFFFFFFu;
constexpr quint32 MostEntries = 0xFFFFu;

void put16(QByteArray& bytes, quint16 value)
{
    const quint16 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

void put32(QByteArray& bytes, quint32 value)
{
    const quint32 little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

bool isAscii(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

} // namespace

ZipWriter::ZipWriter(QIODevice& device, const QDateTime& time) : device(device)
{
    // The archive's clock starts in 1980 and counts seconds in twos.
    const QDate date = time.date().year() < 1980 ? QDate(1980, 1, 1) : time.date();
    const QTime clock = time.date().year() < 1980 ? QTime(0, 0) : time.time();
    dosTime = quint16((clock.hour() << 11) | (clock.minute() << 5) | (clock.second() / 2));
    dosDate = quint16(((date.year() - 1980) << 9) | (date.month() << 5) | date.day());
}

bool ZipWriter::add(const QString& name, quint16 method, quint32 crc, quint64 size, const QByteArray& packed)
{
    if (!error.isEmpty())
        return false;
    if (finished)
        return fail(QStringLiteral("entry %1 added after the directory").arg(name));
    const QByteArray encodedName = name.toUtf8();
    if (size > Largest || quint64(packed.size()) > Largest || offset > Largest || entries == MostEntries
        || encodedName.size() > 0xFFFF)
        return fail(tr("the document would pass the 4 GiB or 65 535 entries a zip archive can hold"));
    const quint16 flags = isAscii(encodedName) ? 0 : NameIsUtf8;
    const quint16 version = method == Stored || method == Deflated ? VersionNeeded : VersionOfOtherMethods;

    const Fields fields{version, flags, method, crc, quint32(packed.size()), quint32(size), quint16(encodedName.size())};
    QByteArray header;
    header.reserve(30 + encodedName.size());
    put32(header, LocalHeaderSignature);
    putFields(header, fields);
    header += encodedName;

    put32(directory, DirectoryRecordSignature);
    put16(directory, VersionNeeded); // made by: MS-DOS attributes, version 2.0
    putFields(directory, fields);
    put16(directory, 0); // comment
    put16(directory, 0); // disk
    put16(directory, 0); // internal attributes
    put32(directory, 0); // external attributes
    put32(directory, quint32(offset));
    directory += encodedName;

    ++entries;
    return write(header) && write(packed);
}

// What a local header and a directory record both say of an entry, in the same order.
void ZipWriter::putFields(QByteArray& bytes, const Fields& fields) const
{
    put16(bytes, fields.version);
    put16(bytes, fields.flags);
    put16(bytes, fields.method);
    put16(bytes, dosTime);
    put16(bytes, dosDate);
    put32(bytes, fields.crc);
    put32(bytes, fields.packedSize);
    put32(bytes, fields.size);
    put16(bytes, fields.nameLength);
    put16(bytes, 0); // no extra field
}

bool ZipWriter::finish()
{
    if (!error.isEmpty())
        return false;
    if (finished)
        return true;
    finished = true;
    if (offset > Largest || quint64(directory.size()) > Largest - offset)
        return fail(tr("the document would pass the 4 GiB or 65 535 entries a zip archive can hold"));
    QByteArray end;
    put32(end, DirectoryEndSignature);
    put16(end, 0); // this disk
    put16(end, 0); // the disk the directory starts on
    put16(end, quint16(entries));
    put16(end, quint16(entries));
    put32(end, quint32(directory.size()));
    put32(end, quint32(offset));
    put16(end, 0); // no comment
    return write(directory) && write(end);
}

// A device may take part of a write; the rest is written again until all is taken or
// the device says why it takes no more.
bool ZipWriter::write(const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = device.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return fail(device.errorString());
        done += written;
        offset += quint64(written);
    }
    return true;
}

bool ZipWriter::fail(const QString& why)
{
    if (error.isEmpty()) {
        LOG_WARNING() << "zip archive not written:" << why;
        error = why;
    }
    return false;
}
