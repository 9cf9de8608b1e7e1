#include "catalogsource/cataloghttpsource.h"

#include "runtime/config.h"
#include "runtime/downloadlimit.h"
#include "runtime/logger.h"
#include "runtime/makerserverrequest.h"

#include <QCoreApplication>
#include <QUrlQuery>

CatalogHttpSource::CatalogHttpSource(QObject* parent) : CatalogSource(parent)
{
    connect(&manager, &QNetworkAccessManager::finished, this, &CatalogHttpSource::downloadFinished);
}

void CatalogHttpSource::startLoad()
{
    QUrl url = getCatalogUrl();
    QNetworkRequest request{QUrl()};
    prepareRequest(request, url);
    request.setTransferTimeout(MakerServerRequest::TRANSFER_TIMEOUT_MS);
    reply = manager.get(request);
    connect(reply, &QNetworkReply::downloadProgress, this, &CatalogHttpSource::downloadProgress);
    DownloadLimit::apply(*reply);
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

bool CatalogHttpSource::prepareRequest(QNetworkRequest& request, QUrl& url)
{
    QUrlQuery query(url);
    query.addQueryItem(QStringLiteral("tr"), QString::number(Config::getInstance()->getNextTrCount()));
    url.setQuery(query);
    request.setUrl(url);
    return true;
}

void CatalogHttpSource::downloadProgress(qint64 bytesReceived, qint64 bytesTotal)
{
    percent = bytesTotal <= 0 ? DOWNLOADED_PERCENT : static_cast<int>(bytesReceived * DOWNLOADED_PERCENT / bytesTotal);
    LOG_TRACE() << "pst=" << percent;
    emit progress(percent);
}

void CatalogHttpSource::error(QNetworkReply::NetworkError code)
{
    LOG_TRACE() << "network error" << code;
}

void CatalogHttpSource::downloadFinished(QNetworkReply* finished)
{
    reply = nullptr;
    errorString.clear();
    if (finished->error() == QNetworkReply::NoError)
        finishDownloaded(*finished);
    else
        finishFailed(*finished);
    finished->deleteLater();
    percent = IDLE_PERCENT;
    emit progress(IDLE_PERCENT);
    QCoreApplication::processEvents();
    emit done();
}

void CatalogHttpSource::finishDownloaded(QNetworkReply& finished)
{
    emit progress(MERGING_PERCENT);
    summary = CatalogImportSummary();
    loaded = parseResult(finished);
    if (!loaded) {
        LOG_WARNING() << "catalog" << getIdent() << "refused:" << errorString;
        emit failure(tr("Catalog \"%1\" is rejected: %2").arg(getTitle(), errorString));
        return;
    }
    fixateLastUpdate();
}

void CatalogHttpSource::finishFailed(QNetworkReply& finished)
{
    loaded = false;
    errorString = DownloadLimit::failureOf(finished);
    LOG_WARNING() << "Download of" << finished.url().toEncoded(QUrl::RemoveQuery) << "failed:" << errorString;
    emit failure(tr("Catalog \"%1\" loading is failed").arg(getTitle()));
}

bool CatalogHttpSource::reject(const QString& reason)
{
    errorString = reason;
    return false;
}
