#include "runtime/rawdeflate.h"

#include <libdeflate.h>

#include <limits>
#include <memory>

namespace {

struct CompressorFree
{
    void operator()(libdeflate_compressor* compressor) const { libdeflate_free_compressor(compressor); }
};

struct DecompressorFree
{
    void operator()(libdeflate_decompressor* decompressor) const { libdeflate_free_decompressor(decompressor); }
};

// A compressor holds its level's tables; each thread keeps one per level it used.
libdeflate_compressor* compressorFor(int level)
{
    constexpr int Levels = 13;
    thread_local std::unique_ptr<libdeflate_compressor, CompressorFree> compressors[Levels];
    const int index = qBound(0, level, Levels - 1);
    if (!compressors[index])
        compressors[index].reset(libdeflate_alloc_compressor(index));
    return compressors[index].get();
}

libdeflate_decompressor* decompressor()
{
    thread_local std::unique_ptr<libdeflate_decompressor, DecompressorFree> kept(libdeflate_alloc_decompressor());
    return kept.get();
}

} // namespace

QByteArray RawDeflate::compress(const QByteArray& bytes, int level)
{
    libdeflate_compressor* compressor = compressorFor(level);
    if (!compressor)
        return QByteArray();
    QByteArray out(qsizetype(libdeflate_deflate_compress_bound(compressor, size_t(bytes.size()))), Qt::Uninitialized);
    const size_t written =
        libdeflate_deflate_compress(compressor, bytes.constData(), size_t(bytes.size()), out.data(), size_t(out.size()));
    out.resize(qsizetype(written));
    out.squeeze();
    return out;
}

QByteArray RawDeflate::inflate(const QByteArray& deflated, quint64 size)
{
    libdeflate_decompressor* inflater = decompressor();
    if (!inflater || size > quint64(std::numeric_limits<qsizetype>::max()))
        return QByteArray();
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    const libdeflate_result result = libdeflate_deflate_decompress(inflater, deflated.constData(),
                                                                   size_t(deflated.size()), out.data(), size_t(size), nullptr);
    return result == LIBDEFLATE_SUCCESS ? out : QByteArray();
}

quint32 RawDeflate::checksum(const QByteArray& bytes)
{
    return quint32(libdeflate_crc32(0, bytes.constData(), size_t(bytes.size())));
}
