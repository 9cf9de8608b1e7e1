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

// A short line costs no large buffer: a bounded readLine allocates its whole bound.
QByteArray BoundedRead::lineAtMost(QIODevice& device, qint64 limit)
{
    constexpr qint64 piece = 64 * 1024;
    QByteArray line;
    while (line.size() <= limit && !line.endsWith('\n')) {
        const QByteArray part = device.readLine(qMin(piece, limit + 1 - line.size()) + 1);
        if (part.isEmpty())
            break;
        line += part;
    }
    return line;
}
