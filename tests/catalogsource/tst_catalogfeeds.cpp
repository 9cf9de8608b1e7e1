#include "catalog/sqlstorage.h"
#include "catalog/vehicletypecatalog.h"
#include "catalogfeeds.h"
#include "catalogsource/peoplecatalogsource.h"
#include "catalogsource/vehiclecatalogsource.h"
#include "localhttpsserver.h"
#include "recordingappender.h"
#include "runtime/config.h"
#include "testenvironment.h"
#include "../runtime/testonlyclientcertificate.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

const QString vehiclePath = QStringLiteral("/cgi-bin/vehicleBrands.cgi");
const QString peoplePath = QStringLiteral("/cgi-bin/PeopleCatalogs.cgi");
const QStringList catalogTables{QStringLiteral("vehicletype"),    QStringLiteral("vehiclebodytype"),
                                QStringLiteral("vehiclebrand"),   QStringLiteral("vehiclemodel"),
                                QStringLiteral("transmission"),   QStringLiteral("peopleidentdoc"),
                                QStringLiteral("lastupdate")};

QSqlQuery execute(const QString& statement)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!query.exec(statement))
        qWarning() << "test statement failed:" << statement;
    return query;
}

// Every row of the table in id order, columns joined by "|", null as "∅".
QStringList rows(const QString& table)
{
    QSqlQuery query = execute(QStringLiteral("select * from %1 order by 1").arg(table));
    QStringList result;
    while (query.next()) {
        QStringList columns;
        for (int i = 0; i < query.record().count(); ++i)
            columns << (query.isNull(i) ? QStringLiteral("∅") : query.value(i).toString());
        result << columns.join(QLatin1Char('|'));
    }
    return result;
}

QStringList snapshot()
{
    QStringList all;
    for (const QString& table : catalogTables)
        all << table << rows(table);
    return all;
}

int count(const QString& statement)
{
    QSqlQuery query = execute(statement);
    return query.next() ? query.value(0).toInt() : -1;
}

// Runs one load to its end and answers what the source signalled, in order.
QStringList load(CatalogHttpSource& source)
{
    QStringList events;
    QObject listening; // the connections end with this load
    QObject::connect(&source, &CatalogSource::progress, &listening,
                     [&](int percent) { events << QString::number(percent); });
    QObject::connect(&source, &CatalogSource::failure, &listening, [&](const QString& text) { events << text; });
    QObject::connect(&source, &CatalogSource::done, &listening, [&] { events << QStringLiteral("done"); });
    QSignalSpy done(&source, &CatalogSource::done);
    source.startLoad();
    if (!done.wait(60000))
        events << QStringLiteral("timeout");
    return events;
}

QByteArray vehicles(const char* entries)
{
    return "<?xml version=\"1.0\"?><vehicle>" + QByteArray(entries) + "</vehicle>";
}

QByteArray people(const char* entries)
{
    return "<people>" + QByteArray(entries) + "</people>";
}

qulonglong trCount(const LocalHttpsServer::Request& request)
{
    return request.query.queryItemValue(QStringLiteral("tr")).toULongLong();
}

} // namespace

// Feeds of the maker's catalog server, served over HTTPS on 127.0.0.1 by a server that
// insists on the installation's client certificate.
class TestCatalogFeeds : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void vehicleFeedImportedAndReimported();
    void mergeRules_data();
    void mergeRules();
    void malformedFeedChangesNothing_data();
    void malformedFeedChangesNothing();
    void downloadAndTrust_data();
    void downloadAndTrust();
    void progressOfADownload_data();
    void progressOfADownload();

private:
    LocalHttpsServer server;
};

void TestCatalogFeeds::initTestCase()
{
    QVERIFY(QDir::setCurrent(TestEnvironment::root())); // Zentavo.crt is read from there
    QVERIFY(LocalHttpsServer::installClientCertificate());
    QVERIFY(server.start(QSslCertificate(QByteArray(TestOnlyClientCertificate::certificatePem), QSsl::Pem)));
    LocalHttpsServer::trustAuthority(false);
}

void TestCatalogFeeds::init()
{
    server.reset();
    for (const QString& table : catalogTables)
        execute(QStringLiteral("delete from %1").arg(table));
    execute(QStringLiteral("delete from sqlite_sequence"));
    Config* config = Config::getInstance();
    config->setCatalogServerUrl(server.url());
    config->setCaCertificatesFile(LocalHttpsServer::authorityFile());
    config->setAcceptUnverifiedServer(false);
}

void TestCatalogFeeds::vehicleFeedImportedAndReimported()
{
    server.respond(vehiclePath, 200, CatalogFeeds::vehicleFeed(120, 300, 3000));
    VehicleCatalogSource source;
    QVERIFY(!source.isLoading());
    QVERIFY(source.getLastUpdate().isNull());

    QStringList events = load(source);
    QCOMPARE(events.mid(events.size() - 3), (QStringList{"97", "100", "done"}));
    QVERIFY(source.isLoaded());
    QVERIFY(!source.isLoading());
    for (const auto& [table, expected] : {std::pair{"vehicletype", 120}, std::pair{"vehiclebodytype", 240},
                                          std::pair{"vehiclebrand", 300}, std::pair{"vehiclemodel", 3000},
                                          std::pair{"transmission", 3}})
        QCOMPARE(count(QStringLiteral("select count(*) from %1 where loaded=1").arg(QLatin1String(table))), expected);
    QCOMPARE(source.getSummary().added, 3663);
    QCOMPARE(count(QStringLiteral("select count(*) from vehiclemodel m join vehiclebrand b on m.id_vb=b.id_vb "
                                  "where b.vb_gid - 100000 <> (m.vm_gid - 1000000) % 300")),
             0); // each model under the brand its feed entry names
    QMap<int, QString> types;
    VehicleTypeCatalog::getInstance()->getNames(types);
    QCOMPARE(types.size(), 120); // reloaded when the load ended
    const QDateTime first = source.getLastUpdate();
    QVERIFY(qAbs(first.secsTo(QDateTime::currentDateTimeUtc())) < 60);

    const QStringList before = rows(QStringLiteral("vehiclemodel"));
    events = load(source);
    QCOMPARE(events.last(), QStringLiteral("done"));
    QVERIFY(source.isLoaded());
    QCOMPARE(rows(QStringLiteral("vehiclemodel")), before); // same local ids, names, gids
    QCOMPARE(source.getSummary().added, 0);
    QCOMPARE(source.getSummary().changed, 0);
    QCOMPARE(source.getSummary().withdrawn, 0);
    QCOMPARE(count(QStringLiteral("select count(*) from lastupdate where name='vehicles'")), 1);
    QVERIFY(source.getLastUpdate() >= first);

    QCOMPARE(server.requests().size(), 2);
    QVERIFY(server.requests()[0].clientCertificate);
    QVERIFY(trCount(server.requests()[0]) > 0);
    QCOMPARE(trCount(server.requests()[1]), trCount(server.requests()[0]) + 1);
}

void TestCatalogFeeds::mergeRules_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QByteArray>("feed");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("expected"); // id|...|gid|loaded
    QTest::addColumn<QString>("summary");      // rows added/changed/withdrawn

    QTest::newRow("an existing name takes the gid, the smallest id of several")
        << QStringList{"insert into vehicletype values (1,'Легковой',null,null,null)",
                       "insert into vehicletype values (2,'Легковой',null,null,null)"}
        << vehicles("<type id='7' treadminheight='1.6'>Легковой</type>") << "vehicletype"
        << QStringList{"1|Легковой|1.6|7|1", "2|Легковой|∅|∅|∅"} << "0/1/0";
    QTest::newRow("renamed on the server: a new row, the old one loses its gid")
        << QStringList{"insert into vehicletype values (1,'Грузовой',2,7,1)"}
        << vehicles("<type id='7' treadminheight='2'>Грузовик</type>") << "vehicletype"
        << QStringList{"1|Грузовой|2|∅|0", "2|Грузовик|2|7|1"} << "1/0/1";
    QTest::newRow("a tread height that is no number is null")
        << QStringList() << vehicles("<type id='1' treadminheight='1,6'>А</type><type id='2'>Б</type>")
        << "vehicletype" << QStringList{"1|А|∅|1|1", "2|Б|∅|2|1"} << "2/0/0";
    QTest::newRow("names are taken as written")
        << QStringList{"insert into vehicletype values (1,'Автобус',null,3,1)"}
        << vehicles("<type id='3'> Автобус</type>") << "vehicletype"
        << QStringList{"1|Автобус|∅|∅|0", "2| Автобус|∅|3|1"} << "1/0/1";
    QTest::newRow("one brand name under two types is two rows")
        << QStringList() << vehicles("<type id='1'>А</type><type id='2'>Б</type>"
                                     "<brand id='10' type='1'>Урал</brand><brand id='11' type='2'>Урал</brand>")
        << "vehiclebrand" << QStringList{"1|1|Урал|10|1", "2|2|Урал|11|1"} << "4/0/0";
    QTest::newRow("bodies and models hang under their parents' local ids")
        << QStringList{"insert into vehicletype values (5,'Легковой',null,70,1)",
                       "insert into vehiclebrand values (8,5,'Лада',3,1)",
                       "insert into vehiclemodel values (4,8,'Веста',44,1)",
                       "insert into vehiclemodel values (6,8,'Нива',45,1)"}
        << vehicles("<type id='71'>Легковой</type><body id='1' type='71'>Седан</body>"
                    "<brand id='31' type='71'>Лада</brand><model id='46' brand='31'>Веста</model>")
        << "vehiclemodel" << QStringList{"4|8|Веста|46|1", "6|8|Нива|∅|0"} << "1/3/1";
    QTest::newRow("a feed without entries keeps every row, without its gid")
        << QStringList{"insert into vehicletype values (1,'Легковой',null,7,1)"} << vehicles("") << "vehicletype"
        << QStringList{"1|Легковой|∅|∅|0"} << "0/0/1";
    QTest::newRow("a transmission the feed leaves out keeps its gid")
        << QStringList{"insert into transmission values (1,'Робот',3,1)"}
        << vehicles("<trans id='1'>Механика</trans>") << "transmission"
        << QStringList{"1|Робот|3|1", "2|Механика|1|1"} << "1/0/0";
    QTest::newRow("element names in any case; unknown elements skipped")
        << QStringList() << QByteArray("<VEHICLE><Type id='1'>А</Type><colour id='2'>красный</colour></VEHICLE>")
        << "vehicletype" << QStringList{"1|А|∅|1|1"} << "1/0/0";
    QTest::newRow("identity documents: matched by name, new ones added, dropped ones keep their row")
        << QStringList{"insert into peopleidentdoc values (1,'Паспорт',null,null)",
                       "insert into peopleidentdoc values (2,'Военный билет',9,1)"}
        << people("<IDENTDOC id='4'>Паспорт</IDENTDOC><identdoc id='5'>Загранпаспорт</identdoc><x/>")
        << "peopleidentdoc" << QStringList{"1|Паспорт|4|1", "2|Военный билет|∅|0", "3|Загранпаспорт|5|1"} << "1/1/1";
}

void TestCatalogFeeds::mergeRules()
{
    QFETCH(QStringList, setup);
    QFETCH(QByteArray, feed);
    QFETCH(QString, table);
    QFETCH(QStringList, expected);
    QFETCH(QString, summary);
    for (const QString& statement : setup)
        execute(statement);
    const bool identityDocuments = feed.startsWith("<people>");
    server.respond(identityDocuments ? peoplePath : vehiclePath, 200, feed);
    VehicleCatalogSource vehicleSource;
    PeopleCatalogSource peopleSource;
    CatalogHttpSource& source = identityDocuments ? static_cast<CatalogHttpSource&>(peopleSource) : vehicleSource;

    const QStringList events = load(source);
    QCOMPARE(events.mid(events.size() - 3), (QStringList{"97", "100", "done"}));
    QCOMPARE(rows(table), expected);
    const CatalogImportSummary& done = source.getSummary();
    QCOMPARE(QStringLiteral("%1/%2/%3").arg(done.added).arg(done.changed).arg(done.withdrawn), summary);
}

void TestCatalogFeeds::malformedFeedChangesNothing_data()
{
    QTest::addColumn<QByteArray>("feed");
    QTest::addColumn<QString>("why"); // part of the failure text

    const QByteArray good = CatalogFeeds::vehicleFeed(5, 10, 40);
    QByteArray bomb = "<!DOCTYPE vehicle [<!ENTITY a0 'xxxxxxxxxx'>";
    for (int i = 1; i < 10; ++i)
        bomb += "<!ENTITY a" + QByteArray::number(i) + " '" + ("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "'>";
    bomb += "]><vehicle><type id='1'>&a9;</type></vehicle>";

    QTest::newRow("cut in the middle") << good.left(good.size() / 2) << "XML error";
    QTest::newRow("wrong nesting") << vehicles("<type id='1'>А<trans id='2'>Б</type></trans>") << "inside entry";
    QTest::newRow("end tags crossed") << QByteArray("<vehicle><type id='1'>А</vehicle></type>") << "XML error";
    QTest::newRow("a body naming an unknown type")
        << vehicles("<type id='1'>А</type><body id='2' type='99'>Седан</body>") << "99";
    QTest::newRow("a model naming an unknown brand")
        << vehicles("<type id='1'>А</type><model id='3' brand='98'>Веста</model>") << "98";
    QTest::newRow("an entity bomb") << bomb << "document type";
    QTest::newRow("an external entity")
        << QByteArray("<!DOCTYPE vehicle [<!ENTITY e SYSTEM 'file:///etc/passwd'>]><vehicle><type id='1'>&e;</type>"
                      "</vehicle>")
        << "document type";
    QTest::newRow("deeply nested, never closed") << "<vehicle>" + QByteArray("<x>").repeated(200000) << "XML error";
    QTest::newRow("an empty answer") << QByteArray() << "XML error";
    QTest::newRow("an error page") << QByteArray("<html><body>Сервис недоступен</body></html>") << "\"html\"";
    QTest::newRow("identity documents cut short") << QByteArray("<people><identdoc id='1'>Паспорт</identdoc>")
                                                  << "XML error";
}

void TestCatalogFeeds::malformedFeedChangesNothing()
{
    QFETCH(QByteArray, feed);
    QFETCH(QString, why);
    server.respond(vehiclePath, 200, CatalogFeeds::vehicleFeed(5, 10, 40));
    server.respond(peoplePath, 200, people("<identdoc id='1'>Паспорт</identdoc>"));
    VehicleCatalogSource vehicleSource;
    PeopleCatalogSource peopleSource;
    QCOMPARE(load(vehicleSource).last(), QStringLiteral("done"));
    QCOMPARE(load(peopleSource).last(), QStringLiteral("done"));
    const QStringList before = snapshot();

    const bool identityDocuments = feed.startsWith("<people>");
    server.respond(identityDocuments ? peoplePath : vehiclePath, 200, feed);
    CatalogHttpSource& source = identityDocuments ? static_cast<CatalogHttpSource&>(peopleSource) : vehicleSource;
    const QStringList events = load(source);

    QCOMPARE(events.size() >= 4, true);
    const QString failure = events.at(events.size() - 3);
    QVERIFY2(failure.startsWith(QStringLiteral("Catalog \"%1\" is rejected: ").arg(source.getTitle())),
             qPrintable(failure));
    QVERIFY2(failure.contains(why), qPrintable(failure));
    QCOMPARE(events.mid(events.size() - 2), (QStringList{"100", "done"}));
    QVERIFY(!source.isLoaded());
    QCOMPARE(snapshot(), before); // every table, the last update included
}

void TestCatalogFeeds::downloadAndTrust_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("authorityFile");
    QTest::addColumn<bool>("acceptUnverified");
    QTest::addColumn<bool>("loaded");

    const QString authority = LocalHttpsServer::authorityFile();
    QTest::newRow("server vouched for by the configured authority") << 200 << authority << false << true;
    QTest::newRow("not found") << 404 << authority << false << false;
    QTest::newRow("unverified server refused") << 200 << QString() << false << false;
    QTest::newRow("authority file missing") << 200 << QStringLiteral("nosuch.pem") << false << false;
    QTest::newRow("unverified server accepted by configuration") << 200 << QString() << true << true;
}

void TestCatalogFeeds::downloadAndTrust()
{
    QFETCH(int, status);
    QFETCH(QString, authorityFile);
    QFETCH(bool, acceptUnverified);
    QFETCH(bool, loaded);
    Config::getInstance()->setCaCertificatesFile(authorityFile);
    Config::getInstance()->setAcceptUnverifiedServer(acceptUnverified);
    server.respond(peoplePath, status, people("<identdoc id='1'>Паспорт</identdoc>"));
    RecordingAppender log;
    Logger::registerAppender(&log);
    PeopleCatalogSource source;

    const QStringList events = load(source);
    Logger::removeAppender(&log);

    QCOMPARE(source.isLoaded(), loaded);
    QCOMPARE(count(QStringLiteral("select count(*) from peopleidentdoc")), loaded ? 1 : 0);
    QCOMPARE(source.getLastUpdate().isNull(), !loaded);
    const QStringList ending = loaded ? QStringList{"97", "100", "done"}
                                      : QStringList{"Catalog \"Peoples\" loading is failed", "100", "done"};
    QCOMPARE(events.mid(events.size() - 3), ending);
    const bool warned = log.messages(Logger::Warning).join(QLatin1Char('\n')).contains(QLatin1String("unverified"));
    QCOMPARE(warned, acceptUnverified);
    const bool reached = status != 200 || loaded;
    QCOMPARE(server.requests().size(), reached ? 1 : 0);
    if (reached)
        QVERIFY(server.requests().constFirst().clientCertificate);
}

void TestCatalogFeeds::progressOfADownload_data()
{
    QTest::addColumn<qint64>("received");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("percent");

    QTest::newRow("no length announced") << qint64(700) << qint64(-1) << 95;
    QTest::newRow("nothing announced yet") << qint64(0) << qint64(0) << 95;
    QTest::newRow("half, truncated") << qint64(500) << qint64(1000) << 47;
    QTest::newRow("all of a large file") << qint64(5000000000) << qint64(5000000000) << 95;
}

void TestCatalogFeeds::progressOfADownload()
{
    QFETCH(qint64, received);
    QFETCH(qint64, total);
    QFETCH(int, percent);
    PeopleCatalogSource source;
    QSignalSpy progress(&source, &CatalogSource::progress);
    source.downloadProgress(received, total);
    QCOMPARE(progress.count(), 1);
    QCOMPARE(progress.at(0).at(0).toInt(), percent);
    QVERIFY(source.isLoading());
}

QTEST_GUILESS_MAIN(TestCatalogFeeds)
#include "tst_catalogfeeds.moc"
