#ifndef ZENTAVO_BOUNDEDREAD_H
#define ZENTAVO_BOUNDEDREAD_H

#include "zentavo_export.h"

#include <QByteArray>

class QIODevice;

// Reads that never allocate more than they are allowed to: in pieces, so neither a
// lying size (a zip entry's header) nor a generous bound costs memory up front.
// Ask for one byte more than allowed to tell "exactly the limit" from "too large".
class ZENTAVO_EXPORT BoundedRead
{
public:
    // At most limit bytes; fewer at the end of the device.
    static QByteArray atMost(QIODevice& device, qint64 limit);
    // One line with its newline; more than limit bytes tell a line too long.
    static QByteArray lineAtMost(QIODevice& device, qint64 limit);
};

#endif
