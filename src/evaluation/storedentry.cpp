#include "evaluation/storedentry.h"

#include "runtime/boundedread.h"
#include "runtime/logger.h"
#include "runtime/rawdeflate.h"
#include "runtime/zipwriter.h"

#include <QDateTime>

#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <zlib.h>

#include <algorithm>

namespace {

bool isInflatable(quint16 method)
{
    return method == 0 || method == Z_DEFLATED;
}

} // namespace

StoredEntry StoredEntry::fromContent(const QByteArray& content)
{
    StoredEntry entry;
    entry.compressed = RawDeflate::compress(content, RawDeflate::Fastest);
    entry.method = Z_DEFLATED;
    entry.crc = RawDeflate::checksum(content);
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
    if (checkLimit >= 0 && isInflatable(info.method) && info.uncompressedSize <= quint64(checkLimit)) {
        if (!checkContent(file))
            return Read::Damaged;
    } else if (checkLimit >= 0) {
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

bool StoredEntry::isReadWhole(const QuaZipFileInfo64& info)
{
    constexpr quint16 Encrypted = 1;
    return isInflatable(info.method) && !(info.flags & Encrypted);
}

StoredEntry::Read StoredEntry::readContent(QuaZipFile& file, qint64 limit, QByteArray& content)
{
    content.clear();
    StoredEntry entry;
    QuaZipFileInfo64 info;
    if (!file.getFileInfo(&info) || !isReadWhole(info) || info.uncompressedSize > quint64(limit)
        || readCurrent(file, -1, entry) != Read::Kept)
        return Read::Damaged;
    content = entry.content(limit);
    if (quint64(content.size()) != info.uncompressedSize) {
        LOG_WARNING() << "damaged entry" << info.name << ": its content does not match its size or checksum";
        content.clear();
        return Read::Damaged;
    }
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

bool StoredEntry::writeTo(ZipWriter& zip, const QString& name) const
{
    return isPortable() && zip.add(name, method, crc, contentSize, compressed);
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

bool StoredEntry::isPortable() const
{
    return isInflatable(method);
}

QByteArray StoredEntry::head(int count) const
{
    if (!isPortable())
        return QByteArray();
    if (method == 0)
        return compressed.left(count);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return QByteArray();
    QByteArray out(qsizetype(std::min<quint64>(quint64(std::max(count, 0)), contentSize)), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_SYNC_FLUSH);
    out.resize(result == Z_OK || result == Z_STREAM_END || result == Z_BUF_ERROR ? qsizetype(stream.total_out) : 0);
    inflateEnd(&stream);
    return out;
}

QByteArray StoredEntry::content(qint64 limit) const
{
    if (contentSize > quint64(limit) || !isInflatable(method))
        return QByteArray();
    const QByteArray bytes = method == 0 ? compressed : RawDeflate::inflate(compressed, contentSize);
    return quint64(bytes.size()) == contentSize && RawDeflate::checksum(bytes) == crc ? bytes : QByteArray();
}
