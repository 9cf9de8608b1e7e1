#include "runtime/boundedread.h"

#include <QIODevice>

namespace {

// Appends what the device gives, in pieces, until it gives nothing or bytes holds limit.
void appendPieces(QIODevice& device, qint64 limit, QByteArray& bytes)
{
    constexpr qint64 piece = 1024 * 1024;
    while (bytes.size() < limit) {
        const QByteArray chunk = device.read(qMin(piece, limit - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
}

} // namespace

// A file or a buffer tells how much it holds: its bytes get their room once and are read
// straight into place, then whatever it grew by since. A stream's size, such as a zip
// entry's, may lie: it is read in pieces that only what arrives makes room for.
QByteArray BoundedRead::atMost(QIODevice& device, qint64 limit)
{
    QByteArray bytes;
    if (!device.isSequential()) {
        bytes.resize(qsizetype(qBound<qint64>(0, device.size() - device.pos(), limit)));
        qsizetype read = 0;
        while (read < bytes.size()) {
            const qint64 got = device.read(bytes.data() + read, bytes.size() - read);
            if (got <= 0)
                break;
            read += qsizetype(got);
        }
        const bool whole = read == bytes.size();
        bytes.resize(read);
        if (!whole)
            return bytes;
    }
    appendPieces(device, limit, bytes);
    return bytes;
}

// Read through a small buffer on the stack: a bounded readLine(qint64) allocates its
// whole bound for every line, which for millions of short lines costs seconds.
QByteArray BoundedRead::lineAtMost(QIODevice& device, qint64 limit)
{
    char piece[16 * 1024];
    QByteArray line;
    while (line.size() <= limit && !line.endsWith('\n')) {
        const qint64 wanted = qMin(qint64(sizeof piece), limit + 1 - line.size() + 1);
        const qint64 read = device.readLine(piece, wanted);
        if (read <= 0)
            break;
        line.append(piece, read);
    }
    return line;
}
