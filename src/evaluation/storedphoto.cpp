#include "evaluation/storedphoto.h"

#include <zlib.h>

namespace {

// A raw deflate stream (no zlib header), as zip entries of method 8 carry it.
QByteArray rawDeflate(const QByteArray& bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_SPEED, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return QByteArray();
    QByteArray out(int(deflateBound(&stream, uLong(bytes.size()))), Qt::Uninitialized);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = uInt(out.size());
    const bool finished = deflate(&stream, Z_FINISH) == Z_STREAM_END;
    out.resize(finished ? qsizetype(stream.total_out) : 0);
    deflateEnd(&stream);
    return out;
}

} // namespace

StoredPhoto StoredPhoto::fromPicture(const QByteArray& picture)
{
    const auto* data = reinterpret_cast<const Bytef*>(picture.constData());
    return fromEntry(picture, rawDeflate(picture), quint32(crc32(crc32(0, nullptr, 0), data, uInt(picture.size()))));
}

StoredPhoto StoredPhoto::fromEntry(const QByteArray& picture, const QByteArray& deflated, quint32 crc)
{
    StoredPhoto photo;
    photo.encoded = picture;
    photo.stream = deflated;
    photo.checksum = crc;
    return photo;
}
