#include "catalog/sqlstorage.h"
#include "catalogfeeds.h"
#include "catalogsource/bankcatalogsourcerbc.h"
#include "localhttpsserver.h"
#include "runtime/config.h"
#include "runtime/download.h"
#include "zipfixture.h"

#include <QFile>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString seek = QStringLiteral("bnk/bnkseek.txt");

void execute(const QString& statement)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!query.exec(statement))
        qWarning() << "test statement failed:" << statement;
}

QStringList banks()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(QStringLiteral("select bic,raccount,name from bank order by bic"));
    QStringList result;
    while (query.next())
        result << QStringLiteral("%1|%2|%3").arg(query.value(0).toString(),
                                                 query.isNull(1) ? QStringLiteral("∅") : query.value(1).toString(),
                                                 query.value(2).toString());
    return result;
}

QByteArray line(const char* bic, const char* rc, const char* name)
{
    return CatalogFeeds::bankLine(QLatin1String(bic), rc ? QString::fromUtf8(rc) : QString(), QString::fromUtf8(name));
}

} // namespace

// The bank directory: zip archives built in the test, imported from disk and
// downloaded from a plain HTTP server on 127.0.0.1.
class TestBankCatalogSourceRBC : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void readZip_data();
    void readZip();
    void download();

private:
    QTemporaryDir dir;
};

void TestBankCatalogSourceRBC::init()
{
    execute(QStringLiteral("delete from bank"));
    execute(QStringLiteral("delete from lastupdate"));
    execute(QStringLiteral("insert into bank values ('044525225','30101810400000000225','ПАО Сбербанк')"));
}

void TestBankCatalogSourceRBC::readZip_data()
{
    QTest::addColumn<QByteArray>("archive"); // empty: a zip with the entries below
    QTest::addColumn<QByteArray>("working");
    QTest::addColumn<QByteArray>("deleted");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("skipped");
    QTest::addColumn<QStringList>("expected");

    const QString present = QStringLiteral("044525225|30101810400000000225|ПАО Сбербанк");
    QTest::newRow("seven and six fields; other lines skipped")
        << QByteArray()
        << line("044525593", "30101810200000000593", "АО «Альфа-Банк»") + line("040173745", nullptr, "Банк «Ёлка»")
               + "1\t2\t3\t4\t5\r\n1\t2\t3\t4\t5\t6\t7\t8\r\n\r\n   \r\n"
        << QByteArray() << true << 4
        << QStringList{"040173745|∅|Банк «Ёлка»", present, "044525593|30101810200000000593|АО «Альфа-Банк»"};
    QTest::newRow("a BIC already present is left as it is")
        << QByteArray() << line("044525225", "30101810000000000000", "Другое имя") << QByteArray() << true << 0
        << QStringList{present};
    QTest::newRow("deleted banks stay")
        << QByteArray() << line("040173745", nullptr, "Банк «Ёлка»") << line("044525225", nullptr, "ПАО Сбербанк")
        << true << 0 << QStringList{"040173745|∅|Банк «Ёлка»", present};
    QTest::newRow("a zip without the list of working banks is refused")
        << QByteArray() << QByteArray() << line("044525225", nullptr, "ПАО Сбербанк") << false << 0
        << QStringList{present};
    QTest::newRow("a list in UTF-8 is refused")
        << QByteArray() << QByteArray("1\t2\t3\tАО «Банк»\t5\t044525999\t30101810200000000999\r\n") << QByteArray()
        << false << 0
        << QStringList{present};
    QTest::newRow("a list unpacking beyond its bound is refused")
        << QByteArray() << QByteArray(int(BankCatalogSourceRBC::MAX_LIST_BYTES) + 1, '\n') << QByteArray() << false << 0
        << QStringList{present};
    QTest::newRow("not a zip archive") << QByteArray("<html>moved</html>") << QByteArray() << QByteArray() << false
                                       << 0 << QStringList{present};
}

void TestBankCatalogSourceRBC::readZip()
{
    QFETCH(QByteArray, archive);
    QFETCH(QByteArray, working);
    QFETCH(QByteArray, deleted);
    QFETCH(bool, accepted);
    QFETCH(int, skipped);
    QFETCH(QStringList, expected);
    const QString path = dir.filePath(QStringLiteral("bnk.zip"));
    QFile::remove(path);
    if (archive.isEmpty()) {
        QList<ZipEntry> entries{{QStringLiteral("readme.txt"), "RBC"}};
        if (!working.isEmpty())
            entries.append({seek, working});
        if (!deleted.isEmpty())
            entries.append({QStringLiteral("bnk/bnkdel.txt"), deleted});
        QVERIFY(writeZip(path, entries));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(archive) == archive.size());
    }
    BankCatalogSourceRBC source;

    QCOMPARE(source.readZip(path), accepted);
    QCOMPARE(source.isLoaded(), accepted);
    QCOMPARE(source.getErrorString().isEmpty(), accepted);
    QCOMPARE(banks(), expected);
    QCOMPARE(source.getSummary().added, accepted ? expected.size() - 1 : 0);
    QCOMPARE(source.getSummary().skipped, skipped);
    QCOMPARE(source.getCount(), expected.size());
}

// From an HTTPS server on 127.0.0.1 vouched for by the configured authority.
void TestBankCatalogSourceRBC::download()
{
    const QString path = dir.filePath(QStringLiteral("served.zip"));
    QVERIFY(writeZip(path, {{seek, CatalogFeeds::bankLines(300)}}));
    QFile archive(path);
    QVERIFY(archive.open(QIODevice::ReadOnly));
    LocalHttpsServer server;
    QVERIFY(server.start());
    const QString directory = QStringLiteral("/bnk/bnk.zip");
    server.respond(directory, 200, archive.readAll());
    Config* config = Config::getInstance();
    config->setCaCertificatesFile(LocalHttpsServer::authorityFile());
    config->setBankDirectoryUrl(server.url(directory));
    BankCatalogSourceRBC source;
    QSignalSpy failure(&source, &CatalogSource::failure);
    QSignalSpy done(&source, &CatalogSource::done);

    source.startLoad();
    QVERIFY(done.wait(30000));
    QCOMPARE(failure.count(), 0);
    QCOMPARE(source.getCount(), 301);
    QCOMPARE(source.loadingPersent(), 100);
    QVERIFY(!source.getLastUpdate().isNull());
    // The provider is not the maker: it learns nothing about the installation.
    QCOMPARE(server.requests().size(), 1);
    QVERIFY(!server.requests().constFirst().query.hasQueryItem(QStringLiteral("tr")));
    QVERIFY(!server.requests().constFirst().clientCertificate);

    const QString moved = QStringLiteral("/moved.zip");
    // Announced beyond the bound every download has: refused before it arrives.
    const QString endlessPath = QStringLiteral("/endless.zip");
    server.respond(endlessPath, LocalHttpsServer::Response(200, "PK", Download::MAX_BYTES + 1, LocalHttpsServer::Stall));
    QUrl plain = server.url(directory);
    plain.setScheme(QStringLiteral("http"));
    const QList<QPair<QUrl, QString>> failing{
        {server.url(moved), QStringLiteral("the server answered 404 Not Found for %1").arg(server.url(moved).toString())},
        {server.url(endlessPath), QStringLiteral("the download is larger than 64 MiB")},
        // Anyone between the user and the provider could rewrite BICs and accounts.
        {plain, QStringLiteral("%1 is refused: this server is only reached over https").arg(plain.toString())}};
    for (const auto& [url, reason] : failing) {
        failure.clear();
        config->setBankDirectoryUrl(url);
        source.startLoad();
        QVERIFY(done.wait(30000));
        QCOMPARE(failure.count(), 1);
        QCOMPARE(failure.at(0).at(0).toString(), QStringLiteral("Catalog \"Banks\" loading is failed"));
        QCOMPARE(source.getErrorString(), reason);
        QVERIFY(!source.isLoaded());
        QCOMPARE(source.getCount(), 301);
    }
    QCOMPARE(server.requests().size(), 3); // none over http
}

QTEST_GUILESS_MAIN(TestBankCatalogSourceRBC)
#include "tst_bankcatalogsourcerbc.moc"
