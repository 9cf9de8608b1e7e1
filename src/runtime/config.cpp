#include "runtime/config.h"

#include "runtime/logger.h"
#include "runtime/singletonregistry.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>

#include <algorithm>
#include <functional>
#include <optional>

namespace {

const QString organisationName = QStringLiteral("Zentavo");
const QString applicationName = QStringLiteral("Zentavo");
const QString certificateFileName = QStringLiteral("Zentavo.crt");

const QString defaultTemplateServer = QStringLiteral("https://templates.zentavo.ru");
const QString defaultCatalogServer = QStringLiteral("https://catalog.zentavo.ru");
const QString defaultBankDirectory = QStringLiteral("https://bankdir.zentavo.ru/bnk/bnk.zip");
const QString metaTagPath = QStringLiteral("/cgi-bin/getMetaTags.cgi");

// The store may hold anything under a key (a hand-edited file, an older program). A value
// that does not convert to the expected type is treated as absent.

// Null when absent or not text; an empty text stays empty.
QString readString(const QVariant& value)
{
    return value.canConvert<QString>() ? value.toString() : QString();
}

std::optional<int> readInt(const QVariant& stored)
{
    bool ok = false;
    const int value = stored.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Text stores keep booleans as "true" / "false"; any other text is not a boolean, and
// reads as false.
bool readBool(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    return text == QLatin1String("true") || text == QLatin1String("1");
}

QVariantMap readMap(const QVariant& value)
{
    return value.toMap();
}

QUrl readUrl(const QVariant& value)
{
    return QUrl(readString(value));
}

QVariant toStore(const QUrl& url)
{
    return url.toString();
}

template <typename T>
QVariant toStore(const T& value)
{
    return QVariant::fromValue(value);
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

// Where request counts come from, handed in by the catalog when the library is loaded.
// Zero-initialised, so no order in which the library's files are initialised can undo it.
struct
{
    qulonglong (*takeNext)();
    void (*reset)();
} requestCounter;

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
    return SingletonRegistry::instance<Config>([](Config* config) { config->load(); });
}

// One value of the settings store: its key, how the stored value becomes its field, and
// what is stored for it.
struct Config::Setting
{
    QString key;
    std::function<void(Config&, const QVariant&)> read;
    std::function<QVariant(const Config&)> written;
};

const QList<Config::Setting>& Config::settings()
{
    const auto field = [](const char* key, auto member, auto fromStore) {
        const auto read = [member, fromStore](Config& config, const QVariant& stored) {
            config.*member = fromStore(stored);
        };
        const auto written = [member](const Config& config) { return toStore(config.*member); };
        return Setting{QString::fromLatin1(key), read, written};
    };
    // A directory default applies only when the key is absent: a stored empty text stays.
    const auto directory = [](const char* leaf) {
        return [leaf](const QVariant& stored) {
            const QString path = readString(stored);
            return path.isNull() ? defaultDirectory(tr(leaf)) : path;
        };
    };
    // Negative or unreadable counts mean "not set"; a stored count above the range is capped.
    const auto days = [](const QVariant& stored) {
        const std::optional<int> count = readInt(stored);
        return count && *count >= 0 ? clampedDays(*count) : -1;
    };
    const auto recentFiles = [](const QVariant& stored) { return stored.toStringList().mid(0, MAX_LAST_LOADED); };
    const auto seconds = [](const QVariant& stored) { return boundedSeconds(readInt(stored)); };
    static const QList<Setting> table = {
        field("evaluation/Region", &Config::region, readString),
        field("evaluation/City", &Config::city, readString),
        field("evaluation/Days", &Config::evaluationDays, days),
        field("app/evaluationsDir", &Config::evaluationDir, directory(QT_TR_NOOP("Evaluations"))),
        field("app/documentsDir", &Config::documentDir, directory(QT_TR_NOOP("Documents"))),
        field("app/geometry", &Config::windowGeometry, readMap),
        field("app/windowState", &Config::windowState, readMap),
        field("app/lastLoaded", &Config::lastLoaded, recentFiles),
        field("app/warningHide", &Config::warningHide, readBool),
        field("evaluation/External", &Config::external, readMap),
        field("network/templateServer", &Config::templateServerUrl, readUrl),
        field("network/metaTagUrl", &Config::metaTagUrl, readUrl),
        field("network/catalogServer", &Config::catalogServerUrl, readUrl),
        field("network/bankDirectoryUrl", &Config::bankDirectoryUrl, readUrl),
        field("network/caCertificates", &Config::caCertificatesFile, readString),
        field("network/acceptUnverifiedServer", &Config::acceptUnverifiedServer, readBool),
        field("network/idleTimeout", &Config::idleTimeoutSeconds, seconds),
        field("network/downloadDeadline", &Config::downloadDeadlineSeconds, seconds),
    };
    return table;
}

void Config::load()
{
    const QSettings store(organisationName, applicationName);
    for (const Setting& setting : settings())
        setting.read(*this, store.value(setting.key));
}

bool Config::save()
{
    QSettings store(organisationName, applicationName);
    for (const Setting& setting : settings())
        store.setValue(setting.key, setting.written(*this));
    store.sync();
    if (store.status() == QSettings::NoError)
        return true;
    LOG_ERROR() << "the settings could not be written" << store.fileName() << "status" << store.status();
    return false;
}

int Config::getEvaluationDays() const
{
    return evaluationDays == -1 ? DEFAULT_EVALUATION_DAYS : evaluationDays;
}

void Config::setEvaluationDays(int days)
{
    evaluationDays = clampedDays(days);
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

QUrl Config::getTemplateServerUrl() const
{
    return orDefault(templateServerUrl, defaultTemplateServer);
}

QUrl Config::getMetaTagUrl() const
{
    if (!metaTagUrl.isEmpty())
        return metaTagUrl;
    QUrl url = getTemplateServerUrl();
    url.setPath(metaTagPath);
    return url;
}

QUrl Config::getCatalogServerUrl() const
{
    return orDefault(catalogServerUrl, defaultCatalogServer);
}

QUrl Config::getBankDirectoryUrl() const
{
    return orDefault(bankDirectoryUrl, defaultBankDirectory);
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

void Config::setRequestCounter(qulonglong (*takeNext)(), void (*reset)())
{
    requestCounter.takeNext = takeNext;
    requestCounter.reset = reset;
}

qulonglong Config::getNextTrCount()
{
    if (!requestCounter.takeNext) {
        LOG_WARNING() << "request counter not available: no catalog database";
        return 0;
    }
    return requestCounter.takeNext();
}

void Config::clearTrCount()
{
    if (requestCounter.reset)
        requestCounter.reset();
    else
        LOG_WARNING() << "request counter not available: no catalog database";
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
