#include "catalog/sqlstorage.h"
#include "recordingappender.h"
#include "runtime/singletonregistry.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

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
    void failedAlterationKeepsTheVersionAndIsLogged();
    void unknownVersionIsLeftUntouched();
    void indexesDoNotChangeResults();
};

void TestSQLStorage::init()
{
    SingletonRegistry::destroyAllForTesting();
    QFile::remove(SQLStorage::getCatalogDatabaseName());
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

    QCOMPARE(structinfoVersions(), QList<int>{7});
    QCOMPARE(count(QStringLiteral("select count(*) from bank")), dataKept ? 1 : 0);
    QCOMPARE(count(QStringLiteral("select trCount from structinfo")), dataKept ? 5 : 1);
    for (const auto& [table, column] : {std::pair{"businessman", "bux"}, {"businessman", "bux_post"},
                                        {"appraiser", "sro_location"}, {"specialist", "location"}})
        QVERIFY2(hasColumn(QLatin1String(table), QLatin1String(column)), column);
    QVERIFY(SQLStorage::getInstance()->getCatalogDatabase().tables().contains(QStringLiteral("lastupdate")));
}

void TestSQLStorage::failedAlterationKeepsTheVersionAndIsLogged()
{
    // A version 3 file whose businessman table already has bux: the first step fails whole.
    QStringList fixture = olderSchema(3, {3});
    fixture.replace(fixture.indexOf(QStringLiteral("create table businessman (id_bman integer)")),
                    QStringLiteral("create table businessman (id_bman integer, bux varchar(100))"));
    writeFixture(fixture);
    RecordingAppender appender;
    const AppenderRegistration registration(&appender);

    // The unconditional update of the last step still sets version 7.
    QCOMPARE(structinfoVersions(), QList<int>{7});
    QVERIFY(!hasColumn(QStringLiteral("businessman"), QStringLiteral("bux_post")));
    QVERIFY(hasColumn(QStringLiteral("specialist"), QStringLiteral("location")));
    const QStringList failures =
        appender.messages().filter(QStringLiteral("\"alter table businessman add bux varchar(100)\" \""));
    QCOMPARE(failures.size(), 1);
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

QTEST_GUILESS_MAIN(TestSQLStorage)
#include "tst_sqlstorage.moc"
