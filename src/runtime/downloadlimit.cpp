#include "runtime/downloadlimit.h"

#include "runtime/logger.h"

#include <QCoreApplication>
#include <QNetworkReply>

namespace {

const char* const exceededProperty = "zentavo-download-limit-exceeded";

} // namespace

void DownloadLimit::apply(QNetworkReply& reply, qint64 maxBytes)
{
    QObject::connect(&reply, &QNetworkReply::downloadProgress, &reply,
                     [&reply, maxBytes](qint64 received, qint64 total) {
                         if ((received <= maxBytes && total <= maxBytes) || reply.property(exceededProperty).isValid())
                             return;
                         reply.setProperty(exceededProperty, maxBytes);
                         LOG_WARNING() << "download of" << reply.url().toEncoded(QUrl::RemoveQuery)
                                       << "aborted: more than" << maxBytes << "bytes";
                         reply.abort();
                     });
}

QString DownloadLimit::failureOf(const QNetworkReply& reply)
{
    const QVariant limit = reply.property(exceededProperty);
    if (!limit.isValid())
        return reply.errorString();
    return QCoreApplication::translate("DownloadLimit", "the download is larger than %1 MiB")
        .arg(limit.toLongLong() / (1024 * 1024));
}
