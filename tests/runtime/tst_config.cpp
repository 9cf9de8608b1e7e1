#include "catalog/sqlstorage.h"
#include "runtime/config.h"
#include "runtime/singletonregistry.h"
#include "recordingappender.h"
#include "testonlyclientcertificate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <memory>

namespace {

// A config as a new process would see it: read from the store.
Config* reloadedConfig()
{
    SingletonRegistry::destroyAllForTesting();
    return Config::getInstance();
}

void store(const QString& key, const QVariant& value)
{
    QSettings settings(QStringLiteral("Zentavo"), QStringLiteral("Zentavo"));
    settings.setValue(key, value);
}

// Everything a host can read back, in one comparable value.
QVariantMap snapshot(const Config& config)
{
    QVariantMap result;
    QString text;
    config.getRegion(text);
    result[QStringLiteral("region")] = text;
    config.getCity(text);
    result[QStringLiteral("city")] = text;
    config.getEvaluationDir(text);
    result[QStringLiteral("evaluationDir")] = text;
    config.getDocumentDir(text);
    result[QStringLiteral("documentDir")] = text;
    result[QStringLiteral("days")] = config.getEvaluationDays();
    result[QStringLiteral("warningHide")] = config.getWarningMessageFlag();
    result[QStringLiteral("lastLoaded")] = config.getLastLoadedFiles();
    for (const QString& window : {QStringLiteral("main"), QStringLiteral("editor")}) {
        QVariant state, geometry;
        const bool known = config.getWindowSettings(window, state, geometry);
        result[window] = QVariantList{known, state, geometry};
    }
    for (const QString& key : {QStringLiteral("bic"), QStringLiteral("count"), QStringLiteral("blob")}) {
        QVariant value;
        config.getExternalValue(key, value);
        result[QStringLiteral("external.") + key] = value;
    }
    result[QStringLiteral("templateServer")] = config.getTemplateServerUrl();
    result[QStringLiteral("metaTag")] = config.getMetaTagUrl();
    result[QStringLiteral("catalogServer")] = config.getCatalogServerUrl();
    result[QStringLiteral("bankDirectory")] = config.getBankDirectoryUrl();
    return result;
}

QString evaluationFile(int number)
{
    return QStringLiteral("/evaluations/%1.zev").arg(number);
}

QStringList evaluationFiles(int from, int to)
{
    QStringList files;
    for (int number = from; from <= to ? number <= to : number >= to; number += from <= to ? 1 : -1)
        files.append(evaluationFile(number));
    return files;
}

QString catalogFolder()
{
    return QFileInfo(SQLStorage::getCatalogDatabaseName()).absolutePath();
}

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void defaultsWithoutStoredSettings();
    void saveAndLoadRoundTrip_data();
    void saveAndLoadRoundTrip();
    void unusableStoredValuesCountAsAbsent_data();
    void unusableStoredValuesCountAsAbsent();
    void evaluationDaysStayInTheYear_data();
    void evaluationDaysStayInTheYear();
    void recentFiles_data();
    void recentFiles();
    void windowSettingsNeedStateAndGeometry_data();
    void windowSettingsNeedStateAndGeometry();
    void metaTagUrlFollowsTemplateServerUnlessSet();
    void certificateFile_data();
    void certificateFile();
    void trCountCountsOnAcrossRunsAfterClear();
    void trCountIsZeroWhenStructinfoIsUnusable_data();
    void trCountIsZeroWhenStructinfoIsUnusable();
    void trCountIsZeroWhenDatabaseCannotOpen();

private:
    std::unique_ptr<QTemporaryDir> workDir;
    QString previousDir;
};

void TestConfig::init()
{
    SingletonRegistry::destroyAllForTesting();
    QSettings(QStringLiteral("Zentavo"), QStringLiteral("Zentavo")).clear();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    workDir = std::make_unique<QTemporaryDir>();
    QVERIFY(workDir->isValid());
    previousDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(workDir->path()));
}

void TestConfig::cleanup()
{
    SingletonRegistry::destroyAllForTesting();
    const QString folder = catalogFolder();
    if (QFileInfo(folder).isFile())
        QFile::remove(folder);
    QDir::setCurrent(previousDir);
    workDir.reset();
}

void TestConfig::defaultsWithoutStoredSettings()
{
    const Config& config = *Config::getInstance();
    QCOMPARE(config.getEvaluationDays(), 14);
    QCOMPARE(config.getWarningMessageFlag(), false);
    QVERIFY(config.getLastLoadedFiles().isEmpty());
    QString text;
    config.getRegion(text);
    QVERIFY(text.isNull());
    config.getCity(text);
    QVERIFY(text.isNull());

    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    config.getEvaluationDir(text);
    QCOMPARE(QDir::fromNativeSeparators(text), documents + QStringLiteral("/Zentavo/Evaluations"));
    config.getDocumentDir(text);
    QCOMPARE(QDir::fromNativeSeparators(text), documents + QStringLiteral("/Zentavo/Documents"));

    const QUrl templateServer = config.getTemplateServerUrl();
    QCOMPARE(templateServer.scheme(), QStringLiteral("https"));
    QVERIFY(!templateServer.host().isEmpty());
    QVERIFY(templateServer.path().isEmpty());
    const QUrl metaTag = config.getMetaTagUrl();
    QCOMPARE(metaTag.adjusted(QUrl::RemovePath), templateServer);
    QCOMPARE(metaTag.path(), QStringLiteral("/cgi-bin/getMetaTags.cgi"));
    QCOMPARE(config.getCatalogServerUrl().scheme(), QStringLiteral("https"));
    QCOMPARE(config.getBankDirectoryUrl().scheme(), QStringLiteral("http"));
    QCOMPARE(config.getBankDirectoryUrl().path(), QStringLiteral("/bnk/bnk.zip"));
}

void TestConfig::saveAndLoadRoundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("server");

    QTest::newRow("typical values") << QStringLiteral("/srv/Свердловская область")
                                    << QStringLiteral("https://127.0.0.1:8443");
    // Empty directories must not turn back into the defaults.
    QTest::newRow("empty texts, default servers") << QString(QLatin1String("")) << QString();
}

void TestConfig::saveAndLoadRoundTrip()
{
    QFETCH(QString, text);
    QFETCH(QString, server);

    Config& config = *Config::getInstance();
    config.setRegion(text);
    config.setCity(text + QStringLiteral("city"));
    config.setEvaluationDir(text);
    config.setDocumentDir(text.isEmpty() ? text : text + QStringLiteral("/docs"));
    config.setEvaluationDays(30);
    config.setWarningMessageFlag(true);
    config.appendLastLoadedFile(evaluationFile(1));
    config.appendLastLoadedFile(evaluationFile(2));
    config.setWindowSettings(QStringLiteral("main"), QByteArray("old state"), QByteArray("old geometry"));
    config.setWindowSettings(QStringLiteral("main"), QByteArray("state\0bytes", 11), QByteArray("geometry"));
    config.setWindowSettings(QStringLiteral("editor"), QVariant(), QStringLiteral("wide"));
    config.setExternalValue(QStringLiteral("bic"), QStringLiteral("044525225"));
    config.setExternalValue(QStringLiteral("count"), 7);
    config.setExternalValue(QStringLiteral("blob"), QByteArray("\x00\xff", 2));
    config.setTemplateServerUrl(QUrl(server));
    config.setCatalogServerUrl(QUrl(server));
    config.setMetaTagUrl(server.isEmpty() ? QUrl() : QUrl(server + QStringLiteral("/meta.txt")));
    config.setBankDirectoryUrl(server.isEmpty() ? QUrl() : QUrl(server + QStringLiteral("/bnk/bnk.zip")));
    const QVariantMap saved = snapshot(config);
    config.save();

    config.setRegion(QStringLiteral("unsaved"));
    config.appendLastLoadedFile(QStringLiteral("unsaved.zev"));
    config.load();
    QCOMPARE(snapshot(config), saved);

    QCOMPARE(snapshot(*reloadedConfig()), saved);
}

void TestConfig::unusableStoredValuesCountAsAbsent_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");

    const QVariantMap map{{QStringLiteral("main"), 1}};
    QTest::newRow("geometry as text") << QStringLiteral("app/geometry") << QVariant(QStringLiteral("wide"));
    QTest::newRow("window state as number") << QStringLiteral("app/windowState") << QVariant(42);
    QTest::newRow("external values as text") << QStringLiteral("evaluation/External") << QVariant(QStringLiteral("bic"));
    QTest::newRow("recent files as map") << QStringLiteral("app/lastLoaded") << QVariant(map);
    QTest::newRow("warning flag as text") << QStringLiteral("app/warningHide") << QVariant(QStringLiteral("maybe"));
    QTest::newRow("evaluations dir as map") << QStringLiteral("app/evaluationsDir") << QVariant(map);
    QTest::newRow("documents dir as list")
        << QStringLiteral("app/documentsDir") << QVariant(QStringList{QStringLiteral("a"), QStringLiteral("b")});
    QTest::newRow("region as map") << QStringLiteral("evaluation/Region") << QVariant(map);
    QTest::newRow("template server as map") << QStringLiteral("network/templateServer") << QVariant(map);
    QTest::newRow("bank directory empty") << QStringLiteral("network/bankDirectoryUrl") << QVariant(QString());
}

void TestConfig::unusableStoredValuesCountAsAbsent()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);

    const QVariantMap defaults = snapshot(*Config::getInstance());
    store(key, stored);
    QCOMPARE(snapshot(*reloadedConfig()), defaults);
}

void TestConfig::evaluationDaysStayInTheYear_data()
{
    QTest::addColumn<QVariant>("stored"); // invalid: nothing stored
    QTest::addColumn<QVariant>("set");    // invalid: setter not called
    QTest::addColumn<int>("expected");

    const QVariant none;
    QTest::newRow("never set") << none << none << 14;
    QTest::newRow("set above the year") << none << QVariant(400) << 365;
    QTest::newRow("set to a full year") << none << QVariant(365) << 365;
    QTest::newRow("set to zero") << none << QVariant(0) << 0;
    QTest::newRow("set negative") << none << QVariant(-5) << 0;
    QTest::newRow("set to -1 is a count, not 'unset'") << none << QVariant(-1) << 0;
    QTest::newRow("set to the lowest int") << none << QVariant(INT_MIN) << 0;
    QTest::newRow("stored unset marker") << QVariant(-1) << none << 14;
    QTest::newRow("stored zero stays zero") << QVariant(0) << none << 0;
    QTest::newRow("stored as text") << QVariant(QStringLiteral("30")) << none << 30;
    QTest::newRow("stored above the year") << QVariant(1000) << none << 365;
    QTest::newRow("stored other negative") << QVariant(-7) << none << 14;
    QTest::newRow("stored not a number") << QVariant(QStringLiteral("many")) << none << 14;
    QTest::newRow("stored as map") << QVariant(QVariantMap{{QStringLiteral("days"), 3}}) << none << 14;
}

void TestConfig::evaluationDaysStayInTheYear()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, set);
    QFETCH(int, expected);

    if (stored.isValid())
        store(QStringLiteral("evaluation/Days"), stored);
    Config* config = reloadedConfig();
    if (set.isValid())
        config->setEvaluationDays(set.toInt());
    QCOMPARE(config->getEvaluationDays(), expected);
    config->save();
    QCOMPARE(reloadedConfig()->getEvaluationDays(), expected);
}

void TestConfig::recentFiles_data()
{
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("appended");
    QTest::addColumn<QStringList>("expected");

    const QStringList none;
    QTest::newRow("fifteen distinct are all kept") << none << evaluationFiles(1, 15) << evaluationFiles(15, 1);
    QTest::newRow("the sixteenth drops the oldest") << none << evaluationFiles(1, 16) << evaluationFiles(16, 2);
    QTest::newRow("re-append moves to the front")
        << none << evaluationFiles(1, 15) + QStringList{evaluationFile(5)}
        << QStringList{evaluationFile(5)} + evaluationFiles(15, 6) + evaluationFiles(4, 1);
    QTest::newRow("re-append of the newest changes nothing")
        << none << evaluationFiles(1, 3) + QStringList{evaluationFile(3)} << evaluationFiles(3, 1);
    QTest::newRow("a dropped file comes back as new")
        << none << evaluationFiles(1, 16) + QStringList{evaluationFile(1)}
        << QStringList{evaluationFile(1)} + evaluationFiles(16, 3);
    QTest::newRow("case matters") << none << QStringList{QStringLiteral("/a.zev"), QStringLiteral("/A.zev")}
                                  << QStringList{QStringLiteral("/A.zev"), QStringLiteral("/a.zev")};
    QTest::newRow("an overlong stored list keeps the newest") << evaluationFiles(20, 1) << none
                                                              << evaluationFiles(20, 6);
}

void TestConfig::recentFiles()
{
    QFETCH(QStringList, stored);
    QFETCH(QStringList, appended);
    QFETCH(QStringList, expected);

    store(QStringLiteral("app/lastLoaded"), stored);
    Config* config = reloadedConfig();
    for (const QString& path : appended)
        QVERIFY(config->appendLastLoadedFile(path));
    QCOMPARE(config->getLastLoadedFiles(), expected);
}

void TestConfig::windowSettingsNeedStateAndGeometry_data()
{
    QTest::addColumn<QVariantMap>("states");
    QTest::addColumn<QVariantMap>("geometries");
    QTest::addColumn<bool>("known");

    const QVariantMap state{{QStringLiteral("main"), QByteArray("state")}};
    const QVariantMap geometry{{QStringLiteral("main"), QByteArray("geometry")}};
    const QVariantMap otherWindow{{QStringLiteral("dialog"), QByteArray("geometry")}};
    QTest::newRow("both known") << state << geometry << true;
    QTest::newRow("state only") << state << QVariantMap() << false;
    QTest::newRow("geometry only") << QVariantMap() << geometry << false;
    QTest::newRow("geometry of another window") << state << otherWindow << false;
    QTest::newRow("neither") << QVariantMap() << QVariantMap() << false;
}

void TestConfig::windowSettingsNeedStateAndGeometry()
{
    QFETCH(QVariantMap, states);
    QFETCH(QVariantMap, geometries);
    QFETCH(bool, known);

    store(QStringLiteral("app/windowState"), states);
    store(QStringLiteral("app/geometry"), geometries);
    QVariant state = QStringLiteral("stale");
    QVariant geometry = QStringLiteral("stale");
    QCOMPARE(reloadedConfig()->getWindowSettings(QStringLiteral("main"), state, geometry), known);
    QCOMPARE(state, known ? states.value(QStringLiteral("main")) : QVariant());
    QCOMPARE(geometry, known ? geometries.value(QStringLiteral("main")) : QVariant());
}

void TestConfig::metaTagUrlFollowsTemplateServerUnlessSet()
{
    Config* config = Config::getInstance();
    const QUrl defaultServer = config->getTemplateServerUrl();
    const QUrl defaultMetaTags = config->getMetaTagUrl();

    config->setTemplateServerUrl(QUrl(QStringLiteral("https://127.0.0.1:8443")));
    QCOMPARE(config->getMetaTagUrl(), QUrl(QStringLiteral("https://127.0.0.1:8443/cgi-bin/getMetaTags.cgi")));

    const QUrl ownEndpoint(QStringLiteral("https://127.0.0.1:9443/meta.txt"));
    config->setMetaTagUrl(ownEndpoint);
    QCOMPARE(config->getMetaTagUrl(), ownEndpoint);

    config->setMetaTagUrl(QUrl());
    config->setTemplateServerUrl(QUrl());
    QCOMPARE(config->getTemplateServerUrl(), defaultServer);
    QCOMPARE(config->getMetaTagUrl(), defaultMetaTags);
}

void TestConfig::certificateFile_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("certificateRead");
    QTest::addColumn<bool>("keyRead");

    const QByteArray certificate(TestOnlyClientCertificate::certificatePem);
    const QByteArray key(TestOnlyClientCertificate::rsaPrivateKeyPem);
    QTest::newRow("missing") << false << QByteArray() << false << false;
    QTest::newRow("empty") << true << QByteArray() << false << false;
    QTest::newRow("garbage") << true << QByteArray("not a certificate\n\x01\x02") << false << false;
    QTest::newRow("truncated") << true << certificate.left(300) + key.left(300) << false << false;
    QTest::newRow("certificate and key") << true << certificate + key << true << true;
    QTest::newRow("key and certificate") << true << key + certificate << true << true;
    QTest::newRow("certificate only") << true << certificate << true << false;
    QTest::newRow("key only") << true << key << false << true;
}

void TestConfig::certificateFile()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, content);
    QFETCH(bool, certificateRead);
    QFETCH(bool, keyRead);

    if (present) {
        QFile file(QStringLiteral("Zentavo.crt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    const Config* config = Config::getInstance();

    QSslCertificate certificate;
    QCOMPARE(config->getCertificate(certificate), certificateRead);
    QCOMPARE(certificate.isNull(), !certificateRead);
    if (certificateRead) {
        QCOMPARE(certificate.subjectInfo(QSslCertificate::CommonName),
                 QStringList{QStringLiteral("Zentavo test installation")});
    }
    QSslKey key;
    QCOMPARE(config->getPrivateKey(key), keyRead);
    QCOMPARE(key.isNull(), !keyRead);
    if (keyRead) {
        QCOMPARE(key.algorithm(), QSsl::Rsa);
        QCOMPARE(key.type(), QSsl::PrivateKey);
    }

    const QString opened = present ? QStringLiteral("isOpen=true") : QStringLiteral("isOpen=false");
    QCOMPARE(appender.messages(), QStringList({opened, opened}));
    QCOMPARE(appender.recorded().first().level, Logger::Trace);
}

void TestConfig::trCountCountsOnAcrossRunsAfterClear()
{
    Config* config = Config::getInstance();
    config->getNextTrCount();
    config->getNextTrCount();
    config->clearTrCount();
    QCOMPARE(config->getNextTrCount(), 1ULL);
    QCOMPARE(config->getNextTrCount(), 2ULL);
    QCOMPARE(reloadedConfig()->getNextTrCount(), 3ULL);
}

void TestConfig::trCountIsZeroWhenStructinfoIsUnusable_data()
{
    QTest::addColumn<QString>("damage");

    QTest::newRow("table dropped") << QStringLiteral("drop table structinfo");
    QTest::newRow("row deleted") << QStringLiteral("delete from structinfo");
    QTest::newRow("counter not a number") << QStringLiteral("update structinfo set trCount='many'");
    QTest::newRow("counter null") << QStringLiteral("update structinfo set trCount=null");
}

void TestConfig::trCountIsZeroWhenStructinfoIsUnusable()
{
    QFETCH(QString, damage);

    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    QVERIFY(query.exec(damage));
    Config* config = Config::getInstance();
    QCOMPARE(config->getNextTrCount(), 0ULL);
    QCOMPARE(config->getNextTrCount(), 0ULL);
}

void TestConfig::trCountIsZeroWhenDatabaseCannotOpen()
{
    const QString folder = catalogFolder(); // creates the folder
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    Config* config = Config::getInstance();
    config->clearTrCount();
    QCOMPARE(config->getNextTrCount(), 0ULL);
}

QTEST_GUILESS_MAIN(TestConfig)
#include "tst_config.moc"
