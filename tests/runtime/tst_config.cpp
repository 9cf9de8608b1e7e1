#include "catalog/sqlstorage.h"
#include "recordingappender.h"
#include "runtime/config.h"
#include "runtime/singletonregistry.h"
#include "testenvironment.h"
#include "testonlyclientcertificate.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlQuery>
#include <QSslCertificate>
#include <QSslKey>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <future>
#include <iostream>
#include <numeric>
#include <string>
#include <thread>

using ConfigChange = std::function<void(Config&)>;
Q_DECLARE_METATYPE(ConfigChange)

namespace {

// A config as a new process would see it: read from the store.
Config* reloadedConfig()
{
    SingletonRegistry::destroyAllForTesting();
    return Config::getInstance();
}

// Everything a host can read back, in one comparable value.
QVariantMap snapshot(const Config& config)
{
    QString region, evaluationDir, documentDir;
    config.getRegion(region);
    config.getEvaluationDir(evaluationDir);
    config.getDocumentDir(documentDir);
    QVariantMap result{{QStringLiteral("region"), region},
                       {QStringLiteral("evaluationDir"), evaluationDir}, {QStringLiteral("documentDir"), documentDir},
                       {QStringLiteral("days"), config.getEvaluationDays()},
                       {QStringLiteral("warningHide"), config.getWarningMessageFlag()},
                       {QStringLiteral("lastLoaded"), config.getLastLoadedFiles()},
                       {QStringLiteral("templateServer"), config.getTemplateServerUrl()},
                       {QStringLiteral("metaTag"), config.getMetaTagUrl()},
                       {QStringLiteral("authorities"), config.getCaCertificatesFile()},
                       {QStringLiteral("acceptUnverified"), config.getAcceptUnverifiedServer()},
                       {QStringLiteral("idleTimeout"), config.getIdleTimeoutSeconds()},
                       {QStringLiteral("deadline"), config.getDownloadDeadlineSeconds()}};
    QVariant state = QStringLiteral("stale"), geometry = QStringLiteral("stale");
    const bool known = config.getWindowSettings(QStringLiteral("main"), state, geometry);
    result[QStringLiteral("main")] = QVariantList{known, state, geometry};
    config.getExternalValue(QStringLiteral("blob"), result[QStringLiteral("blob")]);
    return result;
}

// This program run with these arguments takes request counts for the parent's test.
const char* const takeCountsArgument = "--take-request-counts";
constexpr int countsPerTaker = 50;

// Takes countsPerTaker counts once the parent says "go", one per line on standard output.
int takeCountsForParent(const char* parentHome)
{
    qputenv("HOME", parentHome); // the parent's catalog database
    Config* config = Config::getInstance();
    if (!SQLStorage::getInstance()->isHealthy())
        return 1;
    std::puts("ready");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);
    for (int i = 0; i < countsPerTaker; ++i)
        std::printf("%llu\n", config->getNextTrCount());
    return 0;
}

// Another program's connection that holds the catalog database locked for a moment.
void holdLockBriefly(const QStringList& statements, std::promise<bool>& holding)
{
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(SQLStorage::getCatalogDatabaseName());
        QSqlQuery query(other);
        bool held = other.open();
        for (const QString& statement : statements)
            held = held && query.exec(statement);
        holding.set_value(held);
        QThread::msleep(300);
        query.exec(QStringLiteral("commit"));
        query.finish();
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

QStringList evaluationFiles(int from, int to)
{
    QStringList files;
    for (int number = from; from <= to ? number <= to : number >= to; number += from <= to ? 1 : -1)
        files.append(QStringLiteral("/evaluations/%1.zev").arg(number));
    return files;
}

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir::setCurrent(TestEnvironment::root())); } // Zentavo.crt goes there
    void init();
    void saveAndLoadRoundTrip();
    void storedAndChangedSettings_data();
    void storedAndChangedSettings();
    void certificateFile_data();
    void certificateFile();
    void trCountCountsOnAfterClearAndIsZeroWhenUnusable();
    void trCountTakenByTwoProcessesAtOnce();
    void trCountWaitsForABriefLock_data();
    void trCountWaitsForABriefLock();
    void trCountNotAnsweredAgainAfterCallerRollsBack_data();
    void trCountNotAnsweredAgainAfterCallerRollsBack();
};

void TestConfig::init()
{
    SingletonRegistry::destroyAllForTesting();
    QSettings(QStringLiteral("Zentavo"), QStringLiteral("Zentavo")).clear();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    QFile::remove(QStringLiteral("Zentavo.crt"));
}

void TestConfig::saveAndLoadRoundTrip()
{
    const QString text = QStringLiteral("/srv/Свердловская область");
    Config& config = *Config::getInstance();
    config.setRegion(text);
    config.setEvaluationDir(QString(QLatin1String(""))); // stays empty, not the default
    config.setDocumentDir(text + QStringLiteral("/docs"));
    config.setEvaluationDays(30);
    config.setWarningMessageFlag(true);
    config.appendLastLoadedFile(text + QStringLiteral("/1.zev"));
    config.setWindowSettings(QStringLiteral("main"), QByteArray("state\0bytes", 11), QStringLiteral("wide"));
    config.setExternalValue(QStringLiteral("blob"), QByteArray("\x00\xff", 2));
    config.setTemplateServerUrl(QUrl(QStringLiteral("https://127.0.0.1:8443")));
    config.setCaCertificatesFile(text + QStringLiteral("/ca.pem"));
    config.setAcceptUnverifiedServer(true);
    config.setIdleTimeoutSeconds(5);
    config.setDownloadDeadlineSeconds(30);
    const QVariantMap saved = snapshot(config);
    QVERIFY(config.save());
    QCOMPARE(snapshot(*reloadedConfig()), saved);

    // A store that cannot be written is reported, not silently dropped.
    const QString file = QSettings(QStringLiteral("Zentavo"), QStringLiteral("Zentavo")).fileName();
    QVERIFY(QFile::remove(file) && QDir().mkpath(file));
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    Config& reloaded = *Config::getInstance(); // the reload above replaced the instance
    reloaded.setRegion(QStringLiteral("другой"));
    QVERIFY(!reloaded.save());
    QCOMPARE(appender.messages(Logger::Warning).size(), 1);
    QVERIFY(QDir(file).removeRecursively());
}

// What is stored (a hand-edited or older file may hold anything) plus what the host
// changes: the differences from the defaults must show and survive a save.
void TestConfig::storedAndChangedSettings_data()
{
    QTest::addColumn<QVariantMap>("stored");
    QTest::addColumn<ConfigChange>("change");
    QTest::addColumn<QVariantMap>("differences");
    const QString days = QStringLiteral("days");
    const QString recent = QStringLiteral("lastLoaded");
    const QString windowState = QStringLiteral("app/windowState");
    const QString geometry = QStringLiteral("app/geometry");
    const QVariantMap stateOfMain{{QStringLiteral("main"), QByteArray("state")}};
    const QVariantMap geometryOfMain{{QStringLiteral("main"), QByteArray("geometry")}};
    const QVariantMap unknownWindow{{QStringLiteral("main"), QVariantList{false, QVariant(), QVariant()}}};
    const QVariantMap none;
    const ConfigChange nothing = [](Config&) {};
    const auto append = [](const QStringList& files) {
        return ConfigChange([files](Config& config) {
            for (const QString& file : files)
                config.appendLastLoadedFile(file);
        });
    };
    const auto setDays = [](int count) { return ConfigChange([count](Config& c) { c.setEvaluationDays(count); }); };
    QTest::newRow("nothing stored") << none << nothing << none;
    QTest::newRow("geometry as text") << QVariantMap{{geometry, QStringLiteral("wide")}} << nothing << none;
    QTest::newRow("warning flag as text") << QVariantMap{{QStringLiteral("app/warningHide"), QStringLiteral("maybe")}}
                                          << nothing << none;
    QTest::newRow("unverified servers accepted by a word that is no boolean")
        << QVariantMap{{QStringLiteral("network/acceptUnverifiedServer"), QStringLiteral("yes")}} << nothing << none;
    QTest::newRow("download bounds that are no positive number")
        << QVariantMap{{QStringLiteral("network/idleTimeout"), QStringLiteral("soon")},
                       {QStringLiteral("network/downloadDeadline"), -3}}
        << ConfigChange([](Config& c) { c.setIdleTimeoutSeconds(0); }) << none;
    QTest::newRow("download bounds beyond a day")
        << QVariantMap{{QStringLiteral("network/downloadDeadline"), 1000000000}}
        << ConfigChange([](Config& c) { c.setIdleTimeoutSeconds(2000000000); })
        << QVariantMap{{QStringLiteral("idleTimeout"), 86400}, {QStringLiteral("deadline"), 86400}};
    QTest::newRow("evaluations dir as map") << QVariantMap{{QStringLiteral("app/evaluationsDir"), stateOfMain}}
                                            << nothing << none;
    QTest::newRow("days set above the year") << none << setDays(400) << QVariantMap{{days, 365}};
    QTest::newRow("days set negative") << none << setDays(-5) << QVariantMap{{days, 0}};
    QTest::newRow("stored zero days stay zero") << QVariantMap{{QStringLiteral("evaluation/Days"), 0}} << nothing << QVariantMap{{days, 0}};
    QTest::newRow("sixteenth file drops the oldest") << none << append(evaluationFiles(1, 16))
                                                     << QVariantMap{{recent, evaluationFiles(16, 2)}};
    QTest::newRow("re-append moves to the front")
        << none << append(evaluationFiles(1, 15) + evaluationFiles(5, 5))
        << QVariantMap{{recent, evaluationFiles(5, 5) + evaluationFiles(15, 6) + evaluationFiles(4, 1)}};
    QTest::newRow("window state only") << QVariantMap{{windowState, stateOfMain}} << nothing << unknownWindow;
    QTest::newRow("window geometry only") << QVariantMap{{geometry, geometryOfMain}} << nothing << unknownWindow;
    QTest::newRow("window state and geometry")
        << QVariantMap{{windowState, stateOfMain}, {geometry, geometryOfMain}} << nothing
        << QVariantMap{{QStringLiteral("main"), QVariantList{true, QByteArray("state"), QByteArray("geometry")}}};
}

void TestConfig::storedAndChangedSettings()
{
    QFETCH(QVariantMap, stored);
    QFETCH(ConfigChange, change);
    QFETCH(QVariantMap, differences);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QVariantMap expected = snapshot(*Config::getInstance()); // keeps the default server addresses
    expected.insert({{QStringLiteral("days"), 14}, {QStringLiteral("warningHide"), false},
                     {QStringLiteral("evaluationDir"), documents + QStringLiteral("/Zentavo/Evaluations")},
                     {QStringLiteral("documentDir"), documents + QStringLiteral("/Zentavo/Documents")},
                     {QStringLiteral("lastLoaded"), QStringList()},
                     {QStringLiteral("main"), QVariantList{false, QVariant(), QVariant()}}});
    expected.insert(differences);
    QSettings settings(QStringLiteral("Zentavo"), QStringLiteral("Zentavo"));
    for (auto it = stored.cbegin(); it != stored.cend(); ++it)
        settings.setValue(it.key(), it.value());
    Config* config = reloadedConfig();
    change(*config);
    QCOMPARE(snapshot(*config), expected);
    config->save();
    QCOMPARE(snapshot(*reloadedConfig()), expected);
}

void TestConfig::certificateFile_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file
    QTest::addColumn<bool>("certificateRead");
    QTest::addColumn<bool>("keyRead");
    const QByteArray certificate(TestOnlyClientCertificate::certificatePem);
    const QByteArray key(TestOnlyClientCertificate::rsaPrivateKeyPem);
    QTest::newRow("missing") << QByteArray() << false << false;
    QTest::newRow("garbage") << QByteArray("not a certificate\n\x01\x02") << false << false;
    QTest::newRow("key and certificate") << key + certificate << true << true;
}

void TestConfig::certificateFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, certificateRead);
    QFETCH(bool, keyRead);
    QFile file(QStringLiteral("Zentavo.crt"));
    QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) && file.write(content) == content.size()));
    file.close();
    QSslCertificate certificate;
    QCOMPARE(Config::getInstance()->getCertificate(certificate), certificateRead);
    QSslKey key;
    QCOMPARE(Config::getInstance()->getPrivateKey(key), keyRead);
}

void TestConfig::trCountCountsOnAfterClearAndIsZeroWhenUnusable()
{
    Config* config = Config::getInstance();
    config->getNextTrCount();
    config->getNextTrCount();
    config->clearTrCount();
    QCOMPARE(config->getNextTrCount(), 1ULL);
    QCOMPARE(config->getNextTrCount(), 2ULL);
    QCOMPARE(reloadedConfig()->getNextTrCount(), 3ULL);

    QSqlQuery damage(SQLStorage::getInstance()->getCatalogDatabase());
    QVERIFY(damage.exec(QStringLiteral("update structinfo set trCount='many'")));
    QCOMPARE(Config::getInstance()->getNextTrCount(), 0ULL);
    QCOMPARE(Config::getInstance()->getNextTrCount(), 0ULL);
}

void TestConfig::trCountTakenByTwoProcessesAtOnce()
{
    Config::getInstance()->clearTrCount();
    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), {QLatin1String(takeCountsArgument), TestEnvironment::root()});
    QVERIFY2(other.waitForReadyRead(30000) && other.readLine().trimmed() == "ready", "the other process did not start");
    other.write("go\n");
    QList<qulonglong> counts;
    for (int i = 0; i < countsPerTaker; ++i)
        counts << Config::getInstance()->getNextTrCount();
    QVERIFY(other.waitForFinished(30000));
    QCOMPARE(other.exitCode(), 0);
    for (const QByteArray& line : other.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            counts << line.toULongLong();

    // Every count once, none lost, none 0.
    std::sort(counts.begin(), counts.end());
    QList<qulonglong> expected(2 * countsPerTaker);
    std::iota(expected.begin(), expected.end(), 1ULL);
    QCOMPARE(counts, expected);
}

void TestConfig::trCountWaitsForABriefLock_data()
{
    QTest::addColumn<QStringList>("lock");
    QTest::newRow("another program writing")
        << QStringList{"begin immediate", "insert into autocompleted values ('field', 'value')"};
    QTest::newRow("another program holding it whole") << QStringList{"begin exclusive"};
}

void TestConfig::trCountWaitsForABriefLock()
{
    QFETCH(QStringList, lock);
    Config* config = Config::getInstance();
    const qulonglong before = config->getNextTrCount();
    std::promise<bool> holding;
    std::thread other(holdLockBriefly, lock, std::ref(holding));
    const bool held = holding.get_future().get();
    const qulonglong during = config->getNextTrCount();
    other.join();
    QVERIFY(held);
    QCOMPARE(during, before + 1);
}

void TestConfig::trCountNotAnsweredAgainAfterCallerRollsBack_data()
{
    QTest::addColumn<QString>("callerStatement"); // run in the caller's transaction first; empty: none
    QTest::newRow("transaction only begun") << QString();
    QTest::newRow("after a read") << QStringLiteral("select count(*) from bank");
    QTest::newRow("after a write") << QStringLiteral("insert into bank (bic) values ('044525225')");
}

void TestConfig::trCountNotAnsweredAgainAfterCallerRollsBack()
{
    QFETCH(QString, callerStatement);
    Config* config = Config::getInstance();
    const qulonglong before = config->getNextTrCount();
    QSqlDatabase& catalog = SQLStorage::getInstance()->getCatalogDatabase();
    QVERIFY(catalog.transaction());
    QSqlQuery query(catalog);
    QVERIFY(callerStatement.isEmpty() || query.exec(callerStatement));
    query.finish();
    const qulonglong inTransaction = config->getNextTrCount();
    QVERIFY(catalog.rollback());
    QCOMPARE(inTransaction, before + 1);
    QCOMPARE(config->getNextTrCount(), before + 2);
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], takeCountsArgument) == 0)
        return takeCountsForParent(argv[2]);
    TestConfig test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_config.moc"
