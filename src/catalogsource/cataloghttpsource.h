#ifndef ZENTAVO_CATALOGHTTPSOURCE_H
#define ZENTAVO_CATALOGHTTPSOURCE_H

#include "catalogsource/catalogimportsummary.h"
#include "catalogsource/catalogsource.h"
#include "runtime/download.h"

#include <QByteArray>
#include <QNetworkReply>
#include <QUrl>

// A catalog downloaded with one GET and merged into the catalog database once the
// download is complete. Progress runs from 0 to 95 while downloading, 97 while the
// catalog is merged and 100 at the end.
//
// A download that fails touches no table. A downloaded catalog that the source cannot
// take whole (parseResult() answers false after reject()) is not merged at all: the
// tables stay exactly as before, failure() says why, and no successful update is
// recorded.
class ZENTAVO_EXPORT CatalogHttpSource : public CatalogSource
{
    Q_OBJECT

public:
    static constexpr int DOWNLOADED_PERCENT = 95;
    static constexpr int MERGING_PERCENT = 97;
    static constexpr int IDLE_PERCENT = 100;

    explicit CatalogHttpSource(QObject* parent = nullptr);

    void startLoad() override;
    bool isLoaded() override;
    bool isLoading() override;

    virtual QUrl getCatalogUrl() = 0;
    // Merges the downloaded catalog; false (after reject()) when it was refused whole.
    virtual bool parseResult(const QByteArray& downloaded) = 0;

    // Why the last load failed, for the user; empty after a successful one.
    QString getErrorString() const { return errorString; }
    // What the last successful load did to the tables.
    const CatalogImportSummary& getSummary() const { return summary; }

public slots:
    // The download handles its network signals itself; these forward to it.
    void downloadFinished(QNetworkReply* reply);
    void error(QNetworkReply::NetworkError code);
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);

protected:
    // Whose server the catalog comes from: an outside provider by default.
    virtual Download::Server server() const;
    // Refuses the downloaded catalog with the reason; answers false for parseResult().
    bool reject(const QString& reason);

    int percent = IDLE_PERCENT;
    bool loaded = false;
    Download download;
    CatalogImportSummary summary;

private:
    void catalogDownloaded(bool ok, const QByteArray& body, const QString& reason);
    void merge(const QByteArray& body);

    QString errorString;
};

#endif
