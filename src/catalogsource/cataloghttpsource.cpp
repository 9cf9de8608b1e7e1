#include "catalogsource/cataloghttpsource.h"

#include "runtime/logger.h"

#include <QCoreApplication>

CatalogHttpSource::CatalogHttpSource(QObject* parent) : CatalogSource(parent)
{
    connect(&download, &Download::progress, this, &CatalogHttpSource::downloadProgress);
    connect(&download, &Download::finished, this, &CatalogHttpSource::catalogDownloaded);
}

void CatalogHttpSource::startLoad()
{
    download.start(getCatalogUrl(), server());
    percent = 0;
}

bool CatalogHttpSource::isLoaded()
{
    return loaded;
}

bool CatalogHttpSource::isLoading()
{
    return percent <= 99;
}

Download::Server CatalogHttpSource::server() const
{
    return Download::OutsideServer;
}

void CatalogHttpSource::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    percent = bytesTotal <= 0 ? DOWNLOADED_PERCENT : static_cast<int>(bytesReceived * DOWNLOADED_PERCENT / bytesTotal);
    LOG_TRACE() << "progress percent" << percent;
    emit progress(percent);
}

void CatalogHttpSource::error(QNetworkReply::NetworkError code)
{
    download.error(code);
}

void CatalogHttpSource::downloadFinished(QNetworkReply* reply)
{
    download.replyFinished(reply);
}

void CatalogHttpSource::catalogDownloaded(bool ok, const QByteArray& body, const QString& reason)
{
    errorString = reason;
    if (ok) {
        merge(body);
    } else {
        loaded = false;
        emit failure(tr("Catalog \"%1\" loading is failed").arg(getTitle()));
    }
    percent = IDLE_PERCENT;
    emit progress(IDLE_PERCENT);
    QCoreApplication::processEvents();
    emit done();
}

void CatalogHttpSource::merge(const QByteArray& body)
{
    emit progress(MERGING_PERCENT);
    summary = CatalogImportSummary();
    loaded = parseResult(body);
    if (!loaded) {
        LOG_WARNING() << "catalog" << getIdent() << "refused:" << errorString;
        emit failure(tr("Catalog \"%1\" is rejected: %2").arg(getTitle(), errorString));
        return;
    }
    fixateLastUpdate();
}

bool CatalogHttpSource::reject(const QString& reason)
{
    errorString = reason;
    return false;
}
