#include "localhttpsserver.h"
#include "recordingappender.h"
#include "runtime/config.h"
#include "runtime/download.h"
#include "testenvironment.h"

#include <QDir>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <algorithm>

using Response = LocalHttpsServer::Response;
Q_DECLARE_METATYPE(LocalHttpsServer::Response)

namespace {

// Small, so the cases stay quick; everyone else uses Download::MAX_BYTES.
constexpr qint64 limit = 1000;
const QString path = QStringLiteral("/file");

struct Outcome
{
    bool ok = false;
    QByteArray body;
    QString failure;
};

Outcome fetch(Download& download, const QUrl& url, Download::Server server)
{
    QSignalSpy finished(&download, &Download::finished);
    download.start(url, server);
    Outcome outcome;
    outcome.failure = QStringLiteral("still running"); // changed by an ending
    if (finished.isEmpty() && !finished.wait(30000))
        return outcome;
    const QList<QVariant> ending = finished.takeFirst();
    return {ending.at(0).toBool(), ending.at(1).toByteArray(), ending.at(2).toString()};
}

Response redirectTo(const QUrl& target)
{
    Response answer(302);
    answer.headers.append({"Location", target.toEncoded()});
    return answer;
}

} // namespace

// Downloads from servers on 127.0.0.1, plain and secure, that answer as the test says.
class TestDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void boundsAndAnswers_data();
    void boundsAndAnswers();
    void redirects_data();
    void redirects();
    void trust_data();
    void trust();
    void whatEachServerIsSent_data();
    void whatEachServerIsSent();
    void endsWithoutAnAnswer_data();
    void endsWithoutAnAnswer();

private:
    LocalHttpsServer& serverFor(const QString& scheme) { return scheme == QLatin1String("https") ? secure : plain; }

    LocalHttpsServer plain;
    LocalHttpsServer secure; // asks for a client certificate, takes any client
};

void TestDownload::initTestCase()
{
    QVERIFY(QDir::setCurrent(TestEnvironment::root())); // Zentavo.crt is read from there
    QVERIFY(LocalHttpsServer::installClientCertificate());
    QVERIFY(plain.startPlain());
    QVERIFY(secure.start());
    LocalHttpsServer::trustAuthority(false);
}

void TestDownload::init()
{
    plain.reset();
    secure.reset();
    Config* config = Config::getInstance();
    config->setCaCertificatesFile(LocalHttpsServer::authorityFile());
    config->setAcceptUnverifiedServer(false);
    config->setIdleTimeoutSeconds(1);
    config->setDownloadDeadlineSeconds(2);
}

void TestDownload::boundsAndAnswers_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<Response>("answer");
    QTest::addColumn<QString>("failure"); // part of the reason; empty: the body arrives whole

    const QByteArray full(int(limit), 'x');
    const QByteArray over(int(limit) + 1, 'x');
    const QByteArray far(200 * int(limit), 'x');
    const qint64 none = LocalHttpsServer::NO_LENGTH;
    const QString tooLarge = QStringLiteral("the download is larger than 1000 bytes");
    for (const QString& scheme : {QStringLiteral("http"), QStringLiteral("https")}) {
        const auto row = [&scheme](const char* name) -> QTestData& {
            return QTest::addRow("%s, %s", qPrintable(scheme), name) << scheme;
        };
        row("the limit exactly") << Response(200, full) << QString();
        row("the limit exactly, no length") << Response(200, full, none) << QString();
        row("empty") << Response(200, QByteArray()) << QString();
        row("one byte over") << Response(200, over) << tooLarge;
        row("one byte over, no length") << Response(200, over, none) << tooLarge;
        row("far over in one write") << Response(200, far) << tooLarge;
        row("far over in one write, no length") << Response(200, far, none) << tooLarge;
        row("far over announced, then nothing") << Response(200, "x", 100 * limit, LocalHttpsServer::Stall)
                                                << tooLarge;
        row("far over, no length, no end") << Response(200, far, none, LocalHttpsServer::Stall) << tooLarge;
        row("nothing after the headers") << Response(200, QByteArray(), limit, LocalHttpsServer::Stall)
                                          << QString("sent nothing for 1 s");
        row("trickling past the deadline") << Response(200, full, LocalHttpsServer::BODY_LENGTH, LocalHttpsServer::Trickle)
                                            << QString("did not end within 2 s");
        row("not found") << Response(404, "gone") << QString("the server answered 404 Not Found for ");
        row("server error") << Response(500, "broken") << QString("the server answered 500");
        row("part of the file") << Response(206, "xx") << QString("the server answered 206");
        row("no content") << Response(204, QByteArray(), none) << QString("the server answered 204");
    }
}

void TestDownload::boundsAndAnswers()
{
    QFETCH(QString, scheme);
    QFETCH(Response, answer);
    QFETCH(QString, failure);
    LocalHttpsServer& server = serverFor(scheme);
    server.respond(path, answer);
    Download download(nullptr, limit);

    const Outcome outcome = fetch(download, server.url(path), Download::MakerServer);
    QVERIFY2(outcome.failure.contains(failure), qPrintable(outcome.failure));
    QCOMPARE(outcome.ok, failure.isEmpty());
    QCOMPARE(outcome.body, failure.isEmpty() ? answer.body : QByteArray());
    QVERIFY(!download.isRunning());
}

void TestDownload::redirects_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("followed");

    QTest::newRow("http to http") << "http" << "http" << true;
    QTest::newRow("http to https") << "http" << "https" << true;
    QTest::newRow("https to https") << "https" << "https" << true;
    QTest::newRow("https to http") << "https" << "http" << false;
}

void TestDownload::redirects()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, followed);
    const QString moved = QStringLiteral("/moved");
    serverFor(from).respond(path, redirectTo(serverFor(to).url(moved)));
    serverFor(to).respond(moved, 200, "here");
    Download download;

    const Outcome outcome = fetch(download, serverFor(from).url(path), Download::MakerServer);
    QCOMPARE(outcome.ok, followed);
    QCOMPARE(outcome.body, followed ? QByteArray("here") : QByteArray());
    if (!followed)
        QVERIFY2(outcome.failure.contains(QLatin1String("less secure")), qPrintable(outcome.failure));
    const auto askedThere = [&moved](const LocalHttpsServer::Request& request) { return request.path == moved; };
    const QList<LocalHttpsServer::Request>& there = serverFor(to).requests();
    QCOMPARE(std::count_if(there.begin(), there.end(), askedThere), followed ? 1 : 0);
}

void TestDownload::trust_data()
{
    QTest::addColumn<int>("server"); // Download::Server
    QTest::addColumn<QString>("authorityFile");
    QTest::addColumn<bool>("acceptUnverified");
    QTest::addColumn<bool>("ok");

    const QString authority = LocalHttpsServer::authorityFile();
    for (const int server : {int(Download::MakerServer), int(Download::OutsideServer)}) {
        const char* whose = server == Download::MakerServer ? "maker" : "outside";
        QTest::addRow("%s: vouched for by the configured authority", whose) << server << authority << false << true;
        QTest::addRow("%s: unverified, refused", whose) << server << QString() << false << false;
        QTest::addRow("%s: authority file missing", whose) << server << QStringLiteral("nosuch.pem") << false << false;
        QTest::addRow("%s: unverified, accepted by the setting", whose) << server << QString() << true << true;
    }
}

void TestDownload::trust()
{
    QFETCH(int, server);
    QFETCH(QString, authorityFile);
    QFETCH(bool, acceptUnverified);
    QFETCH(bool, ok);
    Config::getInstance()->setCaCertificatesFile(authorityFile);
    Config::getInstance()->setAcceptUnverifiedServer(acceptUnverified);
    secure.respond(path, 200, "trusted");
    RecordingAppender log;
    const AppenderRegistration registration(&log);
    Download download;

    const Outcome outcome = fetch(download, secure.url(path), Download::Server(server));
    QCOMPARE(outcome.ok, ok);
    if (!ok)
        QVERIFY2(outcome.failure.startsWith(QStringLiteral("the server %1 is not verified: ").arg(secure.url().toString())),
                 qPrintable(outcome.failure));
    const QStringList warnings = log.messages(Logger::Warning);
    QCOMPARE(warnings.filter(QStringLiteral("accepting an unverified server")).size(), acceptUnverified ? 1 : 0);
    QCOMPARE(secure.requests().size(), ok ? 1 : 0);
}

void TestDownload::whatEachServerIsSent_data()
{
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<int>("server"); // Download::Server
    QTest::addColumn<bool>("credentials");

    QTest::newRow("maker's server over https") << "https" << int(Download::MakerServer) << true;
    QTest::newRow("maker's server over http") << "http" << int(Download::MakerServer) << true;
    QTest::newRow("outside provider") << "https" << int(Download::OutsideServer) << false;
}

// The client certificate and the request count identify the installation: only the
// maker's servers get them. The count is one more on every request.
void TestDownload::whatEachServerIsSent()
{
    QFETCH(QString, scheme);
    QFETCH(int, server);
    QFETCH(bool, credentials);
    LocalHttpsServer& local = serverFor(scheme);
    local.respond(path, 200, "x");
    Download download;

    QVERIFY(fetch(download, local.url(path), Download::Server(server)).ok);
    QVERIFY(fetch(download, local.url(path), Download::Server(server)).ok);
    const QList<LocalHttpsServer::Request>& requests = local.requests();
    QCOMPARE(requests.size(), 2);
    const QString tr = QStringLiteral("tr");
    QCOMPARE(requests[0].query.hasQueryItem(tr), credentials);
    QCOMPARE(requests[0].clientCertificate, credentials && scheme == QLatin1String("https"));
    if (credentials) {
        const qulonglong first = requests[0].query.queryItemValue(tr).toULongLong();
        QVERIFY(first > 0);
        QCOMPARE(requests[1].query.queryItemValue(tr).toULongLong(), first + 1);
    }
}

void TestDownload::endsWithoutAnAnswer_data()
{
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<int>("server"); // Download::Server
    QTest::addColumn<QString>("failure");

    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString nobody = QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    QTest::newRow("nobody listening") << QUrl(nobody + path) << int(Download::MakerServer)
                                      << QStringLiteral("cannot connect to %1: ").arg(nobody);

    QTest::newRow("a local file") << QUrl(QStringLiteral("file:///etc/passwd")) << int(Download::MakerServer)
                                  << "\"file:///etc/passwd\" is not an http or https address";
    QTest::newRow("no host") << QUrl(QStringLiteral("https:///file")) << int(Download::MakerServer)
                             << "is not an http or https address";
    QTest::newRow("outside provider over http") << plain.url(path) << int(Download::OutsideServer)
                                                << "is refused: this server is only reached over https";
}

void TestDownload::endsWithoutAnAnswer()
{
    QFETCH(QUrl, url);
    QFETCH(int, server);
    QFETCH(QString, failure);
    Download download;
    QSignalSpy finished(&download, &Download::finished);

    download.start(url, Download::Server(server));
    QVERIFY(finished.isEmpty()); // a refused address ends like any failure, after start() returned
    QVERIFY(download.isRunning());
    const Outcome outcome = fetch(download, url, Download::Server(server));
    QVERIFY(!outcome.ok);
    QVERIFY2(outcome.failure.contains(failure), qPrintable(outcome.failure));
    QCOMPARE(finished.size(), 1); // the first start was dropped by the second
    QVERIFY(plain.requests().isEmpty());
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
