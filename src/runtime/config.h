#ifndef ZENTAVO_CONFIG_H
#define ZENTAVO_CONFIG_H

#include "zentavo_export.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>

class QNetworkAccessManager;
class QSslCertificate;
class QSslKey;

// The settings of the library and its host: the user's region and city, how many days
// an evaluation takes, where evaluation files and generated documents go, recently opened
// files, window geometry and state, free values of the host, and the addresses of the
// maker's servers. They live in the platform's settings store under the organisation and
// application name "Zentavo", are read when the singleton is created and written only by
// save(); setters change memory only.
//
// Every request to the maker's servers also takes from here the installation's client
// certificate and key (file "Zentavo.crt" in the current directory) and the next value of
// the request counter kept in the catalog database.
//
// Main thread only.
class ZENTAVO_EXPORT Config : public QObject
{
    Q_OBJECT

public:
    static constexpr int MAX_LAST_LOADED = 15;
    static constexpr int MAX_EVALUATION_DAYS = 365;
    // Answered by getEvaluationDays() while no day count has been set.
    static constexpr int DEFAULT_EVALUATION_DAYS = 14;

    // Created and loaded on the first call.
    static Config* getInstance();

    // Rereads every setting from the store, dropping unsaved changes. Values of the wrong
    // type in the store count as absent.
    void load();
    // False, and logged, when the settings store could not be written.
    bool save();

    void getRegion(QString& value) const { value = region; }
    void setRegion(const QString& value) { region = value; }
    void getCity(QString& value) const { value = city; }
    void setCity(const QString& value) { city = value; }
    // Default: <documents>/Zentavo/Evaluations. A stored empty string stays empty.
    void getEvaluationDir(QString& value) const { value = evaluationDir; }
    void setEvaluationDir(const QString& value) { evaluationDir = value; }
    // Default: <documents>/Zentavo/Documents. A stored empty string stays empty.
    void getDocumentDir(QString& value) const { value = documentDir; }
    void setDocumentDir(const QString& value) { documentDir = value; }

    // 0 to 365; DEFAULT_EVALUATION_DAYS while never set.
    int getEvaluationDays() const;
    // Clamps to 0..365.
    void setEvaluationDays(int days);

    // Whether the host hides its warning message.
    bool getWarningMessageFlag() const { return warningHide; }
    void setWarningMessageFlag(bool hide) { warningHide = hide; }

    // Most recent first, at most MAX_LAST_LOADED entries.
    const QStringList& getLastLoadedFiles() const { return lastLoaded; }
    // Puts path first: a path already listed moves to the front, a new one pushes the
    // oldest out of a full list. Paths compare case-sensitively. Always true.
    bool appendLastLoadedFile(const QString& path);

    // True with both outputs filled only when both the state and the geometry of the
    // window are known; otherwise both outputs are cleared.
    bool getWindowSettings(const QString& name, QVariant& state, QVariant& geometry) const;
    void setWindowSettings(const QString& name, const QVariant& state, const QVariant& geometry);

    // An invalid value when the key was never set.
    void getExternalValue(const QString& key, QVariant& value) const { value = external.value(key); }
    void setExternalValue(const QString& key, const QVariant& value) { external.insert(key, value); }

    // Addresses of the servers the library talks to. The host (and tests, which run
    // their own servers on the local machine) may point them elsewhere; setting an empty
    // URL brings back the default, which is also what an empty stored value means.
    //
    // The maker's template server: scheme, host and optional port, no path. Templates
    // and the templates list are addressed below it.
    QUrl getTemplateServerUrl() const;
    void setTemplateServerUrl(const QUrl& url) { templateServerUrl = url; }
    // The meta tag file. Unless set explicitly it is /cgi-bin/getMetaTags.cgi on the
    // template server, and so follows that server when it is moved.
    QUrl getMetaTagUrl() const;
    void setMetaTagUrl(const QUrl& url) { metaTagUrl = url; }
    // The maker's catalog server (HTTPS): scheme, host and optional port, no path; the
    // catalog feeds add their own paths.
    QUrl getCatalogServerUrl() const;
    void setCatalogServerUrl(const QUrl& url) { catalogServerUrl = url; }
    // The zipped bank directory of the outside provider, a full HTTPS URL.
    QUrl getBankDirectoryUrl() const;
    void setBankDirectoryUrl(const QUrl& url) { bankDirectoryUrl = url; }

    // Trust for every server the library downloads from. Certificates are verified
    // against the system's authorities and those of this PEM file, for an installation
    // whose servers run under a private authority; empty: none.
    QString getCaCertificatesFile() const { return caCertificatesFile; }
    void setCaCertificatesFile(const QString& path) { caCertificatesFile = path; }
    // Accepts a server whose certificate does not verify. Off by default; each download
    // that relies on it logs a warning.
    bool getAcceptUnverifiedServer() const { return acceptUnverifiedServer; }
    void setAcceptUnverifiedServer(bool accept) { acceptUnverifiedServer = accept; }
    // Bounds in time of every download, in seconds: one that receives nothing for the
    // idle timeout, or has not ended by the deadline, fails as too slow (a server that
    // trickles a byte now and then would otherwise hold a report or an update forever).
    // Setting 0 or less brings back the default, which is also what a stored value that
    // is no positive number means; longer than MAX_NETWORK_SECONDS is cut to it.
    static constexpr int DEFAULT_IDLE_TIMEOUT_SECONDS = 60;
    static constexpr int DEFAULT_DOWNLOAD_DEADLINE_SECONDS = 600;
    static constexpr int MAX_NETWORK_SECONDS = 24 * 60 * 60;
    int getIdleTimeoutSeconds() const;
    void setIdleTimeoutSeconds(int seconds);
    int getDownloadDeadlineSeconds() const;
    void setDownloadDeadlineSeconds(int seconds);

    // The installation's certificate and unencrypted RSA key, both read in PEM form from
    // "Zentavo.crt" in the current directory. False (and a null output) when the file is
    // missing or holds no such item.
    bool getCertificate(QSslCertificate& out) const;
    bool getPrivateKey(QSslKey& out) const;

    // The request counter: answers the stored value and advances it by one, so calls
    // answer n, n+1, ... across program runs, and no value twice, also when several
    // processes ask at once. The catalog database keeps it (RequestCounter::takeNext()
    // says how). 0, and a warning in the log, when the counter cannot be read or advanced.
    qulonglong getNextTrCount();
    // The next getNextTrCount() answers 1.
    void clearTrCount();
    // The counter kept in the catalog database, a floor above this one, hands itself in
    // here when the library is loaded.
    static void setRequestCounter(qulonglong (*takeNext)(), void (*reset)());

    // Kept for hosts that call it: does nothing and answers false. The library's
    // network users set up their requests themselves.
    bool prepareNetwork(QNetworkAccessManager& manager);

signals:
    // For the host, which emits it after changing settings; the library never does.
    void config_changed();

private:
    friend class SingletonRegistry;
    Config() = default;

    // Every value kept in the settings store, in one table that load() and save() walk.
    struct Setting;
    static const QList<Setting>& settings();

    static QString defaultDirectory(const QString& leaf);
    static int clampedDays(int days);

    QString region;
    QString city;
    QString documentDir;
    QString evaluationDir;
    bool warningHide = false;
    int evaluationDays = -1; // -1: never set
    QVariantMap windowGeometry;
    QVariantMap windowState;
    QStringList lastLoaded;
    QVariantMap external;
    QUrl templateServerUrl; // empty: the default
    QUrl metaTagUrl;        // empty: derived from the template server
    QUrl catalogServerUrl;  // empty: the default
    QUrl bankDirectoryUrl;  // empty: the default
    QString caCertificatesFile;
    bool acceptUnverifiedServer = false;
    int idleTimeoutSeconds = 0;       // 0: the default
    int downloadDeadlineSeconds = 0;  // 0: the default
};

#endif
