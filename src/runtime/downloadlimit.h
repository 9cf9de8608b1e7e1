#ifndef ZENTAVO_DOWNLOADLIMIT_H
#define ZENTAVO_DOWNLOADLIMIT_H

#include "zentavo_export.h"

#include <QString>
#include <QtGlobal>

class QNetworkReply;

// A download is held in memory whole until it is finished, so a server that sends
// without end, or announces gigabytes, would eat the machine. Templates, template lists,
// meta tag files and catalogs are a few megabytes; a reply beyond the limit is aborted
// and fails like any other failed download.
class ZENTAVO_EXPORT DownloadLimit
{
public:
    static constexpr qint64 MAX_BYTES = 64 * 1024 * 1024;

    // Aborts the reply as soon as it announces or receives more than maxBytes. Apply it
    // after connecting the caller's own progress slot: the abort may finish the reply.
    static void apply(QNetworkReply& reply, qint64 maxBytes = MAX_BYTES);
    // Why a finished reply failed, for the user and the log.
    static QString failureOf(const QNetworkReply& reply);
};

#endif
