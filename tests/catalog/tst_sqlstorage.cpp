#include "catalog/sqlstorage.h"
#include "catalogfeeds.h"
#include "catalogsource/bankcatalogsourcerbc.h"
#include "recordingappender.h"
#include "runtime/singletonregistry.h"
#include "zipfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

#include <csignal>
#include <functional>
#include <optional>
#include <sys/resource.h>

using FileSetup = std::function<void(const QString& path)>;
Q_DECLARE_METATYPE(FileSetup)

namespace {

const char* const FixtureConnection = "fixture";

// Writes a database file of an older layout with plain SQL, beside the library.
void writeFixture(const QStringList& statements)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(FixtureConnection));
        db.setDatabaseName(SQLStorage::getCatalogDatabaseName());
        QVERIFY(db.open());
        QSqlQuery query(db);
        for (const QString& statement : statements)
            QVERIFY2(query.exec(statement), qPrintable(statement + QLatin1Char(' ') + query.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(FixtureConnection));
}

// The tables an older evaluation database had, for the given version.
QStringList olderSchema(int version, const QList<int>& structinfoVersions)
{
    QStringList statements{QStringLiteral("create table structinfo (ver integer, trCount integer)"),
                           QStringLiteral("create table bank (bic char(9) primary key,raccount char(20),name varchar(200))"),
                           QStringLiteral("insert into bank values ('044525225','30101810400000000225','Сбер')")};
    for (int ver : structinfoVersions)
        statements << QStringLiteral("insert into structinfo values (%1, 5)").arg(ver);
    statements << (version >= 4 ? QStringLiteral("create table businessman (id_bman integer, bux varchar(100), bux_post varchar(50))")
                                : QStringLiteral("create table businessman (id_bman integer)"));
    statements << (version >= 5 ? QStringLiteral("create table appraiser (id_appr integer, sro_location varchar(100))")
                                : QStringLiteral("create table appraiser (id_appr integer)"));
    statements << (version >= 7 ? QStringLiteral("create table specialist (id_spec integer, location varchar(100))")
                                : QStringLiteral("create table specialist (id_spec integer)"));
    if (version >= 6)
        statements << QStringLiteral("create table lastupdate (name varchar(20) primary key not null,"
                                     "last_success timestamp,last_failed timestamp, fail_count int)");
    return statements;
}

QSqlQuery run(const QString& statement)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(statement);
    return query;
}

QList<int> structinfoVersions()
{
    QList<int> versions;
    QSqlQuery query = run(QStringLiteral("select ver from structinfo"));
    while (query.next())
        versions << query.value(0).toInt();
    return versions;
}

bool hasColumn(const QString& table, const QString& column)
{
    return SQLStorage::getInstance()->getCatalogDatabase().record(table).contains(column);
}

int count(const QString& statement)
{
    QSqlQuery query = run(statement);
    return query.next() ? query.value(0).toInt() : -1;
}

QStringList backups()
{
    const QFileInfo database(SQLStorage::getCatalogDatabaseName());
    return database.dir().entryList({database.fileName() + QStringLiteral(".bak-*")}, QDir::Files);
}

// The number of bank rows in a file, read beside the library's connection.
int bankRowsIn(const QString& path)
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(FixtureConnection));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("select count(*) from bank")) && query.next())
            rows = query.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QLatin1String(FixtureConnection));
    return rows;
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
}

// The catalog file, held by another program for as long as this lives.
class LockHolder
{
public:
    LockHolder()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(FixtureConnection));
        db.setDatabaseName(SQLStorage::getCatalogDatabaseName());
        locked = db.open() && QSqlQuery(db).exec(QStringLiteral("begin exclusive"));
    }
    ~LockHolder()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(QLatin1String(FixtureConnection));
            QSqlQuery(db).exec(QStringLiteral("rollback"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QLatin1String(FixtureConnection));
    }
    bool locked = false;
};

// Writes beyond the limit fail as they do on a full disk (EFBIG instead of ENOSPC).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit limited = previous;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &previous); // a soft limit may be raised again up to the hard one
        std::signal(SIGXFSZ, previousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous{};
    void (*previousHandler)(int);
};

// Whether a file holds a version table, read by a connection of its own.
bool hasVersionTable(const QString& path)
{
    bool found = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(FixtureConnection));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        found = db.open() && query.exec(QStringLiteral("select count(*) from sqlite_master where name='structinfo'"))
                && query.next() && query.value(0).toInt() > 0;
    }
    QSqlDatabase::removeDatabase(QLatin1String(FixtureConnection));
    return found;
}

} // namespace

class TestSQLStorage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newDatabaseHasTheWholeSchema();
    void olderVersions_data();
    void olderVersions();
    void failedStepIsRolledBackAndStopsTheChain_data();
    void failedStepIsRolledBackAndStopsTheChain();
    void hostDefaultConnectionIsLeftAlone();
    void unknownVersionIsLeftUntouched();
    void indexesDoNotChangeResults();
    void unusableFileIsLeftAsItIs_data();
    void unusableFileIsLeftAsItIs();
    void replacedFileSurvivesAFullDisk_data();
    void replacedFileSurvivesAFullDisk();
    void importFailureNamesTheCause_data();
    void importFailureNamesTheCause();
};

void TestSQLStorage::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
    QDir(SQLStorage::getCatalogDatabaseName()).removeRecursively(); // a folder put in its place
    for (const QString& backup : backups())
        QFileInfo(SQLStorage::getCatalogDatabaseName()).dir().remove(backup);
}

void TestSQLStorage::cleanup()
{
    SingletonRegistry::destroyAllForTesting();
}

void TestSQLStorage::newDatabaseHasTheWholeSchema()
{
    QSqlDatabase& db = SQLStorage::getInstance()->getCatalogDatabase();
    QVERIFY(db.isOpen());
    QCOMPARE(db.databaseName(), SQLStorage::getCatalogDatabaseName());
    QVERIFY(db.databaseName().endsWith(QStringLiteral("/Zentavo.db")));
    QStringList tables = db.tables();
    tables.removeAll(QStringLiteral("sqlite_sequence"));
    QCOMPARE(tables.size(), 18);
    QCOMPARE(count(QStringLiteral("select count(*) from structinfo where ver=7 and trCount=1")), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from structinfo")), 1);
    for (const QString& table : tables) {
        if (table != QStringLiteral("structinfo"))
            QCOMPARE(count(QStringLiteral("select count(*) from ") + table), 0);
    }
}

void TestSQLStorage::olderVersions_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QList<int>>("rows");
    QTest::addColumn<bool>("dataKept");
    QTest::newRow("version 1 replaced") << 1 << QList<int>{1} << false;
    QTest::newRow("version 2 replaced") << 2 << QList<int>{2} << false;
    QTest::newRow("version 3 converted") << 3 << QList<int>{3} << true;
    QTest::newRow("version 4 converted") << 4 << QList<int>{4} << true;
    QTest::newRow("version 5 converted") << 5 << QList<int>{5} << true;
    QTest::newRow("version 6 converted") << 6 << QList<int>{6} << true;
    QTest::newRow("version 7 used as it is") << 7 << QList<int>{7} << true;
    QTest::newRow("no structinfo row replaced") << 7 << QList<int>{} << false;
    QTest::newRow("two structinfo rows replaced") << 7 << QList<int>{7, 7} << false;
}

void TestSQLStorage::olderVersions()
{
    QFETCH(int, version);
    QFETCH(QList<int>, rows);
    QFETCH(bool, dataKept);
    writeFixture(olderSchema(version, rows));
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);

    QCOMPARE(structinfoVersions(), QList<int>{7});
    // No step runs after a replacement: the only warning is the replacement itself. (The
    // fixture lacks the vehicle tables, so their indexes fail; that is not a step.)
    const QStringList warnings = appender.messages(Logger::Warning);
    QCOMPARE(warnings.size() - warnings.filter(QStringLiteral("create index")).size(), dataKept ? 0 : 1);
    QCOMPARE(count(QStringLiteral("select count(*) from bank")), dataKept ? 1 : 0);
    QCOMPARE(count(QStringLiteral("select trCount from structinfo")), dataKept ? 5 : 1);
    for (const auto& [table, column] : {std::pair{"businessman", "bux"}, {"businessman", "bux_post"},
                                        {"appraiser", "sro_location"}, {"specialist", "location"}})
        QVERIFY2(hasColumn(QLatin1String(table), QLatin1String(column)), column);
    QVERIFY(SQLStorage::getInstance()->getCatalogDatabase().tables().contains(QStringLiteral("lastupdate")));
    // A replaced file is kept beside the new one with everything it held.
    const QStringList kept = backups();
    QCOMPARE(kept.size(), dataKept ? 0 : 1);
    if (!dataKept)
        QCOMPARE(bankRowsIn(QFileInfo(SQLStorage::getCatalogDatabaseName()).dir().filePath(kept.first())), 1);
}

void TestSQLStorage::failedStepIsRolledBackAndStopsTheChain_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("table");    // given the column the step adds last, so the step fails there
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("undone");   // a column the step added before failing: rolled back
    QTest::newRow("3 to 4, second column") << 3 << QStringLiteral("businessman")
                                           << QStringLiteral("bux_post varchar(50)") << QStringLiteral("bux");
    QTest::newRow("5 to 6, table exists") << 5 << QString() << QString() << QString();
}

void TestSQLStorage::failedStepIsRolledBackAndStopsTheChain()
{
    QFETCH(int, version);
    QFETCH(QString, table);
    QFETCH(QString, existing);
    QFETCH(QString, undone);
    QStringList fixture = olderSchema(version, {version});
    if (table.isEmpty())
        fixture << olderSchema(6, {}).last(); // the lastupdate table is there already
    else
        fixture << QStringLiteral("alter table %1 add %2").arg(table, existing);
    writeFixture(fixture);
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);

    // The version stays where the last completed step left it, and no later step runs.
    QCOMPARE(structinfoVersions(), QList<int>{version});
    if (!undone.isEmpty())
        QVERIFY2(!hasColumn(table, undone), "the failed step must be rolled back");
    QVERIFY(!hasColumn(QStringLiteral("specialist"), QStringLiteral("location")));
    QCOMPARE(count(QStringLiteral("select count(*) from bank")), 1);
    QCOMPARE(appender.messages(Logger::Warning).size(), 1);
}

void TestSQLStorage::hostDefaultConnectionIsLeftAlone()
{
    QTemporaryDir dir;
    {
        QSqlDatabase host = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        host.setDatabaseName(dir.filePath(QStringLiteral("host.db")));
        QVERIFY(host.open());
        QVERIFY(SQLStorage::getInstance()->getCatalogDatabase().isOpen());
        QVERIFY(host.isOpen());
        QCOMPARE(QSqlDatabase::database().databaseName(), dir.filePath(QStringLiteral("host.db")));
        QVERIFY(QSqlDatabase::database().tables().isEmpty());
    }
    QSqlDatabase::removeDatabase(QLatin1String(QSqlDatabase::defaultConnection));
}

void TestSQLStorage::unknownVersionIsLeftUntouched()
{
    writeFixture(olderSchema(7, {9}));
    QCOMPARE(structinfoVersions(), QList<int>{9});
    QCOMPARE(count(QStringLiteral("select count(*) from sqlite_master where type='index' and name like 'vehicle%'")), 0);
    QCOMPARE(count(QStringLiteral("select count(*) from bank")), 1);
}

void TestSQLStorage::indexesDoNotChangeResults()
{
    SQLStorage::getInstance()->getCatalogDatabase();
    QVERIFY(count(QStringLiteral("select count(*) from sqlite_master where type='index' and name like 'vehicle%'")) >= 5);
    run(QStringLiteral("insert into vehicletype (name, vt_gid, loaded) values ('Б', 2, 1), ('А', 1, 1), ('Б', 3, 1)"));
    QCOMPARE(count(QStringLiteral("select min(id_vt) from vehicletype where name='Б'")), 1);
    QCOMPARE(count(QStringLiteral("select count(*) from vehicletype where name='Б'")), 2);
    QCOMPARE(count(QStringLiteral("select id_vt from vehicletype where vt_gid=1")), 2);
    // Opening again must not fail on the indexes that are already there.
    SingletonRegistry::destroyAllForTesting();
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    QCOMPARE(count(QStringLiteral("select count(*) from vehicletype")), 3);
    QVERIFY(appender.messages().isEmpty());
}

void TestSQLStorage::unusableFileIsLeftAsItIs_data()
{
    QTest::addColumn<FileSetup>("setup");
    QTest::addColumn<bool>("lockedByAnother");
    QTest::addColumn<int>("health");
    QTest::addColumn<QString>("says");
    const auto bytes = [](const QByteArray& content) { return FileSetup([content](const QString& path) { writeFile(path, content); }); };
    QByteArray noise(8192, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    // Table data first, so the version table lies beyond the part that is kept.
    const FileSetup cutShort = [](const QString& path) {
        writeFixture({QStringLiteral("create table filler (x)"), QStringLiteral("insert into filler values (zeroblob(40000))"),
                      QStringLiteral("create table structinfo (ver integer, trCount integer)"),
                      QStringLiteral("insert into structinfo values (7, 1)")});
        QVERIFY(QFile::resize(path, 8192));
    };
    const FileSetup catalog = [](const QString&) { writeFixture(olderSchema(7, {7})); };

    QTest::newRow("random bytes") << bytes(noise) << false << int(SQLStorage::DAMAGED) << "is damaged (file is not a database)";
    QTest::newRow("cut short") << cutShort << false << int(SQLStorage::DAMAGED) << "is damaged (database disk image is malformed)";
    QTest::newRow("another program's database")
        << FileSetup([](const QString&) { writeFixture({QStringLiteral("create table notes (text)")}); }) << false
        << int(SQLStorage::DAMAGED) << "is damaged (it holds no catalog)";
    QTest::newRow("a folder in its place") << FileSetup([](const QString& path) { QVERIFY(QDir().mkpath(path)); })
                                           << false << int(SQLStorage::INACCESSIBLE) << "cannot be opened";
    QTest::newRow("locked by another program") << catalog << true << int(SQLStorage::LOCKED)
                                               << "is locked by another program; close it and try again";
    QTest::newRow("empty file") << bytes("") << false << int(SQLStorage::HEALTHY) << QString();
}

void TestSQLStorage::unusableFileIsLeftAsItIs()
{
    QFETCH(FileSetup, setup);
    QFETCH(bool, lockedByAnother);
    QFETCH(int, health);
    QFETCH(QString, says);
    const QString path = SQLStorage::getCatalogDatabaseName();
    setup(path);
    const QByteArray before = readFile(path);
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);
    std::optional<LockHolder> other;
    if (lockedByAnother)
        QVERIFY(other.emplace().locked);

    SQLStorage* storage = SQLStorage::getInstance();
    QCOMPARE(storage->isHealthy(), health == SQLStorage::HEALTHY);
    QCOMPARE(int(storage->getHealth()), health);
    if (health == SQLStorage::HEALTHY) {
        QCOMPARE(structinfoVersions(), QList<int>{7});
        return;
    }
    const QString failure = storage->failure();
    QVERIFY2(failure.startsWith(QStringLiteral("the catalog database ") + path + QLatin1Char(' ')), qPrintable(failure));
    QVERIFY2(failure.contains(says), qPrintable(failure));
    QVERIFY(!failure.contains(QLatin1Char('\n')));
    // Asked again, it answers the same without a new schema, a backup or a second log line.
    for (int again = 0; again < 3; ++again)
        QVERIFY(!storage->getCatalogDatabase().isOpen());
    QCOMPARE(storage->failure(), failure);
    const QStringList logged = appender.messages(Logger::Warning).filter(path);
    QCOMPARE(logged.size(), 1);
    QVERIFY(logged.first().contains(failure));
    other.reset();
    QCOMPARE(readFile(path), before);
    QVERIFY(backups().isEmpty());
    // Once the other program lets go, the next use opens it at once.
    QCOMPARE(storage->isHealthy(), lockedByAnother);
}

void TestSQLStorage::replacedFileSurvivesAFullDisk_data()
{
    QTest::addColumn<qint64>("writableBytes");
    QTest::addColumn<bool>("created");
    QTest::newRow("nothing") << qint64(0) << false;
    QTest::newRow("4 KiB") << qint64(4096) << false;
    QTest::newRow("16 KiB") << qint64(16384) << false;
    QTest::newRow("64 KiB") << qint64(65536) << false;
    QTest::newRow("1 MiB") << qint64(1 << 20) << true;
}

void TestSQLStorage::replacedFileSurvivesAFullDisk()
{
    QFETCH(qint64, writableBytes);
    QFETCH(bool, created);
    const QString path = SQLStorage::getCatalogDatabaseName();
    writeFixture(olderSchema(2, {2})); // a version that is replaced by a new file
    const QByteArray original = readFile(path);
    bool healthy = false;
    {
        const FileSizeLimit limit{rlim_t(writableBytes)};
        healthy = SQLStorage::getInstance()->isHealthy();
    }
    const QStringList kept = backups();
    QCOMPARE(kept.size(), 1);
    const QString backup = QFileInfo(path).dir().filePath(kept.first());
    QCOMPARE(readFile(backup), original);
    QCOMPARE(healthy, created);
    if (created)
        return;
    const QString failure = SQLStorage::getInstance()->failure();
    QVERIFY2(failure.contains(path) && failure.contains(QStringLiteral("the previous catalog is kept as ") + backup),
             qPrintable(failure));
    QVERIFY2(!hasVersionTable(path), "a half-made database claims a version");
    // With room on the disk again, the next use makes the catalog.
    QVERIFY(SQLStorage::getInstance()->isHealthy());
    QCOMPARE(structinfoVersions(), QList<int>{7});
    QCOMPARE(backups(), kept);
}

void TestSQLStorage::importFailureNamesTheCause_data()
{
    QTest::addColumn<bool>("damaged"); // else locked by another program after it was opened
    QTest::addColumn<QString>("says");
    QTest::newRow("damaged") << true << "is damaged";
    QTest::newRow("locked after it was opened") << false << "is locked by another program";
}

void TestSQLStorage::importFailureNamesTheCause()
{
    QFETCH(bool, damaged);
    QFETCH(QString, says);
    QTemporaryDir dir;
    const QString archive = dir.filePath(QStringLiteral("bnk.zip"));
    QVERIFY(writeZip(archive, {ZipEntry(QStringLiteral("bnkseek.txt"),
                                        CatalogFeeds::bankLine(QStringLiteral("044525225"), QString(), QStringLiteral("Банк")))}));
    if (damaged)
        writeFile(SQLStorage::getCatalogDatabaseName(), QByteArray(4096, 'x'));
    else
        QVERIFY(SQLStorage::getInstance()->isHealthy());
    std::optional<LockHolder> other;
    if (!damaged)
        QVERIFY(other.emplace().locked);

    BankCatalogSourceRBC source;
    QVERIFY(!source.readZip(archive));
    const QString reason = source.getErrorString();
    QVERIFY2(reason.startsWith(QStringLiteral("the catalog database ") + SQLStorage::getCatalogDatabaseName()),
             qPrintable(reason));
    QVERIFY2(reason.contains(says), qPrintable(reason));
}

QTEST_GUILESS_MAIN(TestSQLStorage)
#include "tst_sqlstorage.moc"
