#include "runtime/boundedread.h"

#include <QIODevice>

QByteArray BoundedRead::atMost(QIODevice& device, qint64 limit)
{
    constexpr qint64 piece = 1024 * 1024;
    QByteArray bytes;
    while (bytes.size() < limit) {
        const QByteArray chunk = device.read(qMin(piece, limit - bytes.size()));
        if (chunk.isEmpty())
            break;
        bytes += chunk;
    }
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
