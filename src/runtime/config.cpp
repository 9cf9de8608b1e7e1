#include "runtime/config.h"

#include "catalog/sqlstorage.h"
#include "runtime/logger.h"
#include "runtime/singletonregistry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace {

Config* instance = nullptr;

const QString organisationName = QStringLiteral("Zentavo");
const QString applicationName = QStringLiteral("Zentavo");
const QString certificateFileName = QStringLiteral("Zentavo.crt");

const QString regionKey = QStringLiteral("evaluation/Region");
const QString cityKey = QStringLiteral("evaluation/City");
const QString daysKey = QStringLiteral("evaluation/Days");
const QString externalKey = QStringLiteral("evaluation/External");
const QString evaluationDirKey = QStringLiteral("app/evaluationsDir");
const QString documentDirKey = QStringLiteral("app/documentsDir");
const QString geometryKey = QStringLiteral("app/geometry");
const QString windowStateKey = QStringLiteral("app/windowState");
const QString lastLoadedKey = QStringLiteral("app/lastLoaded");
const QString warningHideKey = QStringLiteral("app/warningHide");
const QString templateServerKey = QStringLiteral("network/templateServer");
const QString metaTagKey = QStringLiteral("network/metaTagUrl");
const QString catalogServerKey = QStringLiteral("network/catalogServer");
const QString bankDirectoryKey = QStringLiteral("network/bankDirectoryUrl");
const QString caCertificatesKey = QStringLiteral("network/caCertificates");
const QString acceptUnverifiedKey = QStringLiteral("network/acceptUnverifiedServer");
const QString idleTimeoutKey = QStringLiteral("network/idleTimeout");
const QString downloadDeadlineKey = QStringLiteral("network/downloadDeadline");

const QString defaultTemplateServer = QStringLiteral("https://templates.zentavo.ru");
const QString defaultCatalogServer = QStringLiteral("https://catalog.zentavo.ru");
const QString defaultBankDirectory = QStringLiteral("https://bankdir.zentavo.ru/bnk/bnk.zip");
const QString metaTagPath = QStringLiteral("/cgi-bin/getMetaTags.cgi");

// The store may hold anything under a key (a hand-edited file, an older program). A value
// that does not convert to the expected type is treated as absent.

// Null when absent or not text; an empty text stays empty.
QString readString(const QSettings& settings, const QString& key)
{
    const QVariant value = settings.value(key);
    return value.canConvert<QString>() ? value.toString() : QString();
}

std::optional<int> readInt(const QSettings& settings, const QString& key)
{
    bool ok = false;
    const int value = settings.value(key).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Text stores keep booleans as "true" / "false"; any other text is not a boolean.
bool readBool(const QSettings& settings, const QString& key, bool absent)
{
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1"))
        return true;
    if (text == QLatin1String("false") || text == QLatin1String("0"))
        return false;
    return absent;
}

QVariantMap readMap(const QSettings& settings, const QString& key)
{
    return settings.value(key).toMap();
}

QStringList readStringList(const QSettings& settings, const QString& key)
{
    return settings.value(key).toStringList();
}

QUrl readUrl(const QSettings& settings, const QString& key)
{
    return QUrl(readString(settings, key));
}

QByteArray readCertificateFile()
{
    QFile file(certificateFileName);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (opened)
        LOG_TRACE() << "isOpen=true";
    else
        LOG_WARNING() << "isOpen=false" << file.fileName() << file.errorString();
    return opened ? file.readAll() : QByteArray();
}

const QString counterConnectionName = QStringLiteral("zentavo-request-counter");

// Null, and logged, when the database cannot be used.
QSqlDatabase* openCatalogDatabase()
{
    SQLStorage* storage = SQLStorage::getInstance();
    if (storage->isHealthy())
        return &storage->getCatalogDatabase();
    LOG_WARNING() << "request counter not available:" << storage->failure();
    return nullptr;
}

// SQLite refuses a second BEGIN on a connection with a transaction open.
bool hasTransactionOpen(QSqlDatabase& database)
{
    if (!database.transaction())
        return true;
    database.rollback();
    return false;
}

// One statement reads and advances the counter, so no other connection or process can
// come between the two. atLeast lifts a counter that a rollback has set back.
std::optional<qulonglong> takeTrCount(QSqlDatabase& database, qulonglong atLeast)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("update structinfo set trCount=max(trCount,?)+1 where typeof(trCount)='integer' "
                                 "returning trCount-1"));
    query.addBindValue(qlonglong(atLeast)); // the driver binds an unsigned value as text
    if (!SQLStorage::exec(query))
        return std::nullopt;
    if (!query.next()) {
        LOG_WARNING() << "unable to get transaction as number";
        return std::nullopt;
    }
    const qulonglong count = query.value(0).toULongLong();
    // Outside a transaction the statement commits when it has run to its end.
    while (query.next()) {
    }
    if (query.lastError().isValid()) {
        LOG_WARNING() << "the request counter was not advanced:" << query.lastError().text();
        return std::nullopt;
    }
    return count;
}

// On a connection of its own, so that no transaction of the caller can take it back.
std::optional<qulonglong> takeTrCountOnOwnConnection(qulonglong atLeast)
{
    std::optional<qulonglong> count;
    {
        QSqlDatabase own = SQLStorage::addConnection(counterConnectionName);
        if (own.isOpen())
            count = takeTrCount(own, atLeast);
        own.close();
    }
    QSqlDatabase::removeDatabase(counterConnectionName);
    return count;
}

QUrl orDefault(const QUrl& url, const QString& fallback)
{
    return url.isEmpty() ? QUrl(fallback) : url;
}

// 0 (the default) for anything but a positive count; a day at the most.
int boundedSeconds(std::optional<int> seconds)
{
    return seconds && *seconds > 0 ? std::min(*seconds, Config::MAX_NETWORK_SECONDS) : 0;
}

} // namespace

Config* Config::getInstance()
{
    return SingletonRegistry::instance(instance, [](Config* config) { config->load(); });
}

void Config::load()
{
    const QSettings settings(organisationName, applicationName);
    windowGeometry = readMap(settings, geometryKey);
    windowState = readMap(settings, windowStateKey);
    evaluationDir = readString(settings, evaluationDirKey);
    if (evaluationDir.isNull())
        evaluationDir = defaultDirectory(tr("Evaluations"));
    documentDir = readString(settings, documentDirKey);
    if (documentDir.isNull())
        documentDir = defaultDirectory(tr("Documents"));
    warningHide = readBool(settings, warningHideKey, false);
    city = readString(settings, cityKey);
    region = readString(settings, regionKey);
    // Negative or unreadable counts mean "not set"; a stored count above the range is capped.
    const std::optional<int> days = readInt(settings, daysKey);
    evaluationDays = days && *days >= 0 ? clampedDays(*days) : -1;
    lastLoaded = readStringList(settings, lastLoadedKey).mid(0, MAX_LAST_LOADED);
    external = readMap(settings, externalKey);
    templateServerUrl = readUrl(settings, templateServerKey);
    metaTagUrl = readUrl(settings, metaTagKey);
    catalogServerUrl = readUrl(settings, catalogServerKey);
    bankDirectoryUrl = readUrl(settings, bankDirectoryKey);
    caCertificatesFile = readString(settings, caCertificatesKey);
    acceptUnverifiedServer = readBool(settings, acceptUnverifiedKey, false);
    idleTimeoutSeconds = boundedSeconds(readInt(settings, idleTimeoutKey));
    downloadDeadlineSeconds = boundedSeconds(readInt(settings, downloadDeadlineKey));
}

bool Config::save()
{
    QSettings settings(organisationName, applicationName);
    settings.setValue(regionKey, region);
    settings.setValue(cityKey, city);
    settings.setValue(documentDirKey, documentDir);
    settings.setValue(evaluationDirKey, evaluationDir);
    settings.setValue(warningHideKey, warningHide);
    settings.setValue(daysKey, evaluationDays);
    settings.setValue(geometryKey, windowGeometry);
    settings.setValue(windowStateKey, windowState);
    settings.setValue(lastLoadedKey, lastLoaded);
    settings.setValue(externalKey, external);
    settings.setValue(templateServerKey, templateServerUrl.toString());
    settings.setValue(metaTagKey, metaTagUrl.toString());
    settings.setValue(catalogServerKey, catalogServerUrl.toString());
    settings.setValue(bankDirectoryKey, bankDirectoryUrl.toString());
    settings.setValue(caCertificatesKey, caCertificatesFile);
    settings.setValue(acceptUnverifiedKey, acceptUnverifiedServer);
    settings.setValue(idleTimeoutKey, idleTimeoutSeconds);
    settings.setValue(downloadDeadlineKey, downloadDeadlineSeconds);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    LOG_ERROR() << "the settings could not be written" << settings.fileName() << "status" << settings.status();
    return false;
}

void Config::getRegion(QString& value) const
{
    value = region;
}

void Config::setRegion(const QString& value)
{
    region = value;
}

void Config::getCity(QString& value) const
{
    value = city;
}

void Config::setCity(const QString& value)
{
    city = value;
}

void Config::getEvaluationDir(QString& value) const
{
    value = evaluationDir;
}

void Config::setEvaluationDir(const QString& value)
{
    evaluationDir = value;
}

void Config::getDocumentDir(QString& value) const
{
    value = documentDir;
}

void Config::setDocumentDir(const QString& value)
{
    documentDir = value;
}

int Config::getEvaluationDays() const
{
    return evaluationDays == -1 ? DEFAULT_EVALUATION_DAYS : evaluationDays;
}

void Config::setEvaluationDays(int days)
{
    evaluationDays = clampedDays(days);
}

bool Config::getWarningMessageFlag() const
{
    return warningHide;
}

void Config::setWarningMessageFlag(bool hide)
{
    warningHide = hide;
}

const QStringList& Config::getLastLoadedFiles() const
{
    return lastLoaded;
}

bool Config::appendLastLoadedFile(const QString& path)
{
    const qsizetype position = lastLoaded.indexOf(path);
    if (position > 0) {
        lastLoaded.move(position, 0);
    } else if (position < 0) {
        while (lastLoaded.size() >= MAX_LAST_LOADED)
            lastLoaded.removeLast();
        lastLoaded.prepend(path);
    }
    return true;
}

bool Config::getWindowSettings(const QString& name, QVariant& state, QVariant& geometry) const
{
    if (!windowState.contains(name) || !windowGeometry.contains(name)) {
        state.clear();
        geometry.clear();
        return false;
    }
    state = windowState.value(name);
    geometry = windowGeometry.value(name);
    return true;
}

void Config::setWindowSettings(const QString& name, const QVariant& state, const QVariant& geometry)
{
    windowState.insert(name, state);
    windowGeometry.insert(name, geometry);
}

void Config::getExternalValue(const QString& key, QVariant& value) const
{
    value = external.value(key);
}

void Config::setExternalValue(const QString& key, const QVariant& value)
{
    external.insert(key, value);
}

QUrl Config::getTemplateServerUrl() const
{
    return orDefault(templateServerUrl, defaultTemplateServer);
}

void Config::setTemplateServerUrl(const QUrl& url)
{
    templateServerUrl = url;
}

QUrl Config::getMetaTagUrl() const
{
    if (!metaTagUrl.isEmpty())
        return metaTagUrl;
    QUrl url = getTemplateServerUrl();
    url.setPath(metaTagPath);
    return url;
}

void Config::setMetaTagUrl(const QUrl& url)
{
    metaTagUrl = url;
}

QUrl Config::getCatalogServerUrl() const
{
    return orDefault(catalogServerUrl, defaultCatalogServer);
}

void Config::setCatalogServerUrl(const QUrl& url)
{
    catalogServerUrl = url;
}

QUrl Config::getBankDirectoryUrl() const
{
    return orDefault(bankDirectoryUrl, defaultBankDirectory);
}

void Config::setBankDirectoryUrl(const QUrl& url)
{
    bankDirectoryUrl = url;
}

QString Config::getCaCertificatesFile() const
{
    return caCertificatesFile;
}

void Config::setCaCertificatesFile(const QString& path)
{
    caCertificatesFile = path;
}

bool Config::getAcceptUnverifiedServer() const
{
    return acceptUnverifiedServer;
}

void Config::setAcceptUnverifiedServer(bool accept)
{
    acceptUnverifiedServer = accept;
}

int Config::getIdleTimeoutSeconds() const
{
    return idleTimeoutSeconds > 0 ? idleTimeoutSeconds : DEFAULT_IDLE_TIMEOUT_SECONDS;
}

void Config::setIdleTimeoutSeconds(int seconds)
{
    idleTimeoutSeconds = boundedSeconds(seconds);
}

int Config::getDownloadDeadlineSeconds() const
{
    return downloadDeadlineSeconds > 0 ? downloadDeadlineSeconds : DEFAULT_DOWNLOAD_DEADLINE_SECONDS;
}

void Config::setDownloadDeadlineSeconds(int seconds)
{
    downloadDeadlineSeconds = boundedSeconds(seconds);
}

bool Config::getCertificate(QSslCertificate& out) const
{
    out = QSslCertificate(readCertificateFile(), QSsl::Pem);
    return !out.isNull();
}

bool Config::getPrivateKey(QSslKey& out) const
{
    out = QSslKey(readCertificateFile(), QSsl::Rsa, QSsl::Pem, QSsl::PrivateKey, QByteArray());
    return !out.isNull();
}

qulonglong Config::getNextTrCount()
{
    QSqlDatabase* database = openCatalogDatabase();
    if (!database)
        return 0;
    // A second connection cannot write while the caller's transaction holds the file, so
    // the count is then taken inside it; should the caller roll back, nextTrCountAtLeast
    // keeps this process from answering the same value again.
    const std::optional<qulonglong> count = hasTransactionOpen(*database)
                                                ? takeTrCount(*database, nextTrCountAtLeast)
                                                : takeTrCountOnOwnConnection(nextTrCountAtLeast);
    if (!count)
        return 0;
    nextTrCountAtLeast = *count + 1;
    return *count;
}

void Config::clearTrCount()
{
    QSqlDatabase* database = openCatalogDatabase();
    if (!database)
        return;
    QSqlQuery query(*database);
    query.prepare(QStringLiteral("update structinfo set trCount=?"));
    query.addBindValue(1);
    if (SQLStorage::exec(query))
        nextTrCountAtLeast = 1;
}

bool Config::prepareNetwork(QNetworkAccessManager&)
{
    return false;
}

QString Config::defaultDirectory(const QString& leaf)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents + QDir::separator() + tr("Zentavo") + QDir::separator() + leaf;
}

int Config::clampedDays(int days)
{
    return std::clamp(days, 0, MAX_EVALUATION_DAYS);
}
