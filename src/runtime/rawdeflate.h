#ifndef ZENTAVO_RAWDEFLATE_H
#define ZENTAVO_RAWDEFLATE_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QtGlobal>

// Deflate streams as zip entries of method 8 carry them (no zlib header), made whole in
// one call by libdeflate: several times as fast as zlib at its default level. Any zip
// reader inflates them.
class ZENTAVO_EXPORT RawDeflate
{
public:
    // Pictures and other bytes that hardly shrink.
    static constexpr int Fastest = 1;
    // Text: XML parts of documents, at the fastest level too. A document's size is its
    // pictures: a report's XML packs about a sixth larger than at level 6 (under 1 KB of
    // a 110 KB report) and deflates in half the time.
    static constexpr int Text = 1;

    // The deflated bytes; empty when memory for them runs out.
    static QByteArray compress(const QByteArray& bytes, int level);
    // The bytes inflated, exactly size of them; empty when the stream is damaged or
    // inflates to another size.
    static QByteArray inflate(const QByteArray& deflated, quint64 size);
    // The zip checksum (CRC-32) of the bytes.
    static quint32 checksum(const QByteArray& bytes);
};

#endif
