#ifndef ZENTAVO_TEMPLATESLIST_H
#define ZENTAVO_TEMPLATESLIST_H

#include "zentavo_export.h"

#include "report/templatesourcetype.h"
#include "runtime/download.h"

#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QSslError>
#include <QString>

// The report templates that can be produced for an evaluation and which of them are
// picked. The names are relative to a base location: a folder on disk, or the base URL
// that the template server's list names. Entries are kept sorted by name after a load.
class ZENTAVO_EXPORT TemplatesList : public QObject
{
    Q_OBJECT

public:
    // One template of the list: its name relative to the base, and whether it is picked.
    struct direntry_t
    {
        QString name;
        bool selected = true;
    };

    // Document types answered by getType.
    enum {
        TYPE_NONE = 0,
        TYPE_TXT = 1,
        TYPE_DOCX = 2,
        TYPE_ODT = 3
    };

    explicit TemplatesList(QObject* parent = nullptr);
    ~TemplatesList() override;

    void setTemplateSourceType(templatesourcetype_t type);
    void setBaseDir(const QString& dir);
    QString getBaseDir() const { return baseDir; }

    // A folder is read at once; a server list arrives later, announced by done(). A
    // list that cannot be downloaded leaves the entries as they were. A folder's
    // metatags.txt holds its meta tags and is not listed.
    bool load(const QString& location);
    bool load_from_disk(const QString& dir);
    bool load_from_network(const QString& url);
    bool isLoading() const { return download.isRunning(); }
    // Why the last download of a list failed, for the user; empty after a loaded one.
    QString getErrorString() const { return errorString; }

    int count() const;
    // A null name for an index out of range; true either way.
    bool get(int i, QString& name) const;
    // The base, a separator ("/" under a URL) and the entry's name.
    bool getFullName(int i, QString& out) const;
    int getType(int i) const;
    bool isSelected(int i) const;
    void select(int i, bool on);
    void selectAll();
    void unselectAll();
    // A selected entry at the end; the list is not re-sorted.
    void append(const QString& name);

    // Plain comparison of UTF-16 code units: case-sensitive, no locale.
    static bool lessThen(const direntry_t& a, const direntry_t& b);

signals:
    void progress(int persent);
    void done();

public slots:
    // The download handles its network signals itself; these forward to it.
    void error(QNetworkReply::NetworkError code) { download.error(code); }
    void sslErrors(QNetworkReply* reply, const QList<QSslError>& errors) { download.sslErrors(reply, errors); }
    void downloadProgress(qint64 bytesReceived, qint64 bytesTotal);
    void downloadFinished(QNetworkReply* reply) { download.replyFinished(reply); }

private:
    bool inRange(int i) const { return i >= 0 && i < entries.size(); }
    void sortEntries();
    void listDownloaded(bool ok, const QByteArray& body, const QString& failure);

    Download download;
    QString baseDir;
    templatesourcetype_t sourceType = TEMPLATE_SOURCE_FROM_PATH;
    QList<direntry_t> entries;
    int percent = 100;
    QString errorString;
};

#endif
