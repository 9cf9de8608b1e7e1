#include "evaluation/storedentry.h"

#include "runtime/boundedread.h"
#include "runtime/logger.h"

#include <QDateTime>

#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

namespace {

quint32 crcOf(const QByteArray& bytes)
{
    return quint32(crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
}

// A raw deflate stream (no zlib header), as zip entries of method 8 carry it.
QByteArray rawDeflate(const QByteArray& bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return QByteArray();
    QByteArray out(qsizetype(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const bool finished = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(finished ? qsizetype(stream.total_out) : 0);
    deflateEnd(&stream);
    out.squeeze();
    return out;
}

QByteArray rawInflate(const QByteArray& bytes, quint64 size)
{
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return QByteArray();
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const bool whole = result == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    return whole ? out : QByteArray();
}

bool isInflatable(quint16 method)
{
    return method == 0 || method == Z_DEFLATED;
}

} // namespace

StoredEntry StoredEntry::fromContent(const QByteArray& content)
{
    StoredEntry entry;
    entry.compressed = rawDeflate(content);
    entry.method = Z_DEFLATED;
    entry.crc = crcOf(content);
    entry.contentSize = quint64(content.size());
    return entry;
}

StoredEntry::Read StoredEntry::readCurrent(QuaZipFile& file, qint64 checkLimit, StoredEntry& entry)
{
    QuaZipFileInfo64 info;
    if (!file.getFileInfo(&info)) {
        LOG_WARNING() << "cannot read an entry's header, zip error" << file.getZipError();
        return Read::Damaged;
    }
    if (isInflatable(info.method) && info.uncompressedSize <= quint64(checkLimit)) {
        if (!checkContent(file))
            return Read::Damaged;
    } else {
        LOG_WARNING() << "entry" << info.name << "kept unchecked: method" << info.method << "size"
                      << info.uncompressedSize;
    }
    int method = 0, level = 0;
    if (!file.open(QIODevice::ReadOnly, &method, &level, true)) {
        LOG_WARNING() << "cannot open the entry" << info.name << "zip error" << file.getZipError();
        return Read::Damaged;
    }
    QByteArray bytes = BoundedRead::atMost(file, qint64(info.compressedSize));
    file.close();
    if (file.getZipError() != UNZ_OK || quint64(bytes.size()) != info.compressedSize) {
        LOG_WARNING() << "entry" << info.name << "is cut short, zip error" << file.getZipError();
        return Read::Damaged;
    }
    bytes.squeeze();
    entry.compressed = bytes;
    entry.method = info.method;
    entry.crc = info.crc;
    entry.contentSize = info.uncompressedSize;
    entry.header = info;
    return Read::Kept;
}

// Inflates the entry in pieces and lets the zip library compare the checksum on close.
bool StoredEntry::checkContent(QuaZipFile& file)
{
    if (!file.open(QIODevice::ReadOnly)) {
        LOG_WARNING() << "cannot open an entry, zip error" << file.getZipError();
        return false;
    }
    char piece[64 * 1024];
    qint64 read = 0;
    while ((read = file.read(piece, sizeof piece)) > 0) {
    }
    file.close();
    if (read < 0 || file.getZipError() != UNZ_OK) {
        LOG_WARNING() << "damaged entry" << file.getActualFileName() << "zip error" << file.getZipError();
        return false;
    }
    return true;
}

bool StoredEntry::writeAs(QuaZipFile& file, const QString& name, const QDateTime& time) const
{
    QuaZipNewInfo info(name);
    info.dateTime = time;
    return writeRaw(file, info);
}

bool StoredEntry::writeAsRead(QuaZipFile& file) const
{
    return writeRaw(file, QuaZipNewInfo(header));
}

bool StoredEntry::writeRaw(QuaZipFile& file, const QuaZipNewInfo& header) const
{
    QuaZipNewInfo info = header;
    info.uncompressedSize = contentSize;
    if (!file.open(QIODevice::WriteOnly, info, nullptr, crc, method, Z_BEST_SPEED, true))
        return false;
    const bool written = file.write(compressed) == compressed.size();
    file.close();
    return written && file.getZipError() == ZIP_OK;
}

QByteArray StoredEntry::content(qint64 limit) const
{
    if (contentSize > quint64(limit) || !isInflatable(method))
        return QByteArray();
    const QByteArray bytes = method == 0 ? compressed : rawInflate(compressed, contentSize);
    return quint64(bytes.size()) == contentSize && crcOf(bytes) == crc ? bytes : QByteArray();
}
