#ifndef ZENTAVO_METATAGCATALOG_H
#define ZENTAVO_METATAGCATALOG_H

#include "zentavo_export.h"

#include "report/templatesourcetype.h"
#include "runtime/download.h"

#include <QList>
#include <QMap>
#include <QNetworkReply>
#include <QObject>
#include <QSslError>
#include <QString>

class QIODevice;

// Meta tags: named blocks of template text kept outside the templates, such as a
// letterhead or a signature block. The template server publishes them as one UTF-8
// text file of lines
//
//     <%NAME%> = text of the block
//     ; a comment
//
// A block is one line; it may hold tags, conditions and other meta tags written with
// "<" and ">" brackets. Other lines are skipped, a later definition of a name replaces
// an earlier one. The catalog also answers plain tags the evaluation does not know.
//
// It always knows "br", an empty block.
class ZENTAVO_EXPORT MetaTagCatalog : public QObject
{
    Q_OBJECT

public:
    // Longest line read at once, in bytes; the rest of a longer line is skipped.
    static constexpr int MAX_LINE_BYTES = 23999;
    // A meta tag file is a few kilobytes; a larger one than this is refused, since its
    // blocks are all held in memory.
    static constexpr qint64 MAX_FILE_BYTES = 16 * 1024 * 1024;

    explicit MetaTagCatalog(QObject* parent = nullptr);

    // "metatags.txt": the file of a template folder that holds its meta tags; no template.
    static const QString FolderFileName;

    // Forgets every block except "br" and marks the catalog as not loaded.
    void clear();
    bool isLoading() const;
    bool isLoaded() const;
    // Exact, case-sensitive name. False with a null text for an unknown name.
    bool getTag(const QString& name, QString& text) const;

    // A catalog loaded earlier answers loaded() at once. Otherwise a network source
    // downloads the file; a disk source has nothing more to fetch and answers loaded()
    // with what the catalog holds.
    void start_loading(templatesourcetype_t type);
    // Downloads the file from the template server (Config::getMetaTagUrl()).
    void load_from_network();
    // Adds the definitions read from the device to those already held, then emits
    // loaded(); a device that does not open, or holds more than MAX_FILE_BYTES, emits
    // failed() instead and leaves the catalog cleared.
    void load(QIODevice& device);
    void load_from_disk(const QString& path);

    // One definition line; false when the line is not one.
    static bool parseLine(const QString& line, QString& name, QString& text);

signals:
    void loaded();
    void failed(QString reason);
    void progress(int persent);

public slots:
    // The download handles its network signals itself; these forward to it.
    void error(QNetworkReply::NetworkError code) { download.error(code); }
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors) { download.sslErrors(reply, errors); }
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void downloadFinished(QNetworkReply* reply) { download.replyFinished(reply); }

private:
    void refuseTooLarge();
    void fileDownloaded(bool ok, const QByteArray& body, const QString& failure);

    bool catalogLoaded = false;
    QMap<QString, QString> tags;
    Download download{nullptr, MAX_FILE_BYTES};
    int percent = 100;
};

#endif
