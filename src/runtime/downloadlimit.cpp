#include "runtime/downloadlimit.h"

#include "runtime/logger.h"

#include <QCoreApplication>
#include <QNetworkReply>

namespace {

const char* const exceededProperty = "zentavo-download-limit-exceeded";

void abortBeyond(QNetworkReply& reply, qint64 maxBytes, qint64 received, qint64 total)
{
    if ((received <= maxBytes && total <= maxBytes) || reply.property(exceededProperty).isValid())
        return;
    reply.setProperty(exceededProperty, maxBytes);
    LOG_WARNING() << "download of" << reply.url().toEncoded(QUrl::RemoveQuery) << "aborted: more than" << maxBytes
                  << "bytes";
    reply.abort();
}

} // namespace

// Progress reports are spaced out in time, so a fast server can deliver the whole reply
// between two of them: what is held is also checked each time data arrives.
void DownloadLimit::apply(QNetworkReply& reply, qint64 maxBytes)
{
    QObject::connect(&reply, &QNetworkReply::downloadProgress, &reply,
                     [&reply, maxBytes](qint64 received, qint64 total) {
                         abortBeyond(reply, maxBytes, received, total);
                     });
    QObject::connect(&reply, &QIODevice::readyRead, &reply, [&reply, maxBytes] {
        abortBeyond(reply, maxBytes, reply.bytesAvailable(), reply.header(QNetworkRequest::ContentLengthHeader).toLongLong());
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
