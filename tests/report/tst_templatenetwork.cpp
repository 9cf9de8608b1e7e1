#include "localhttpsserver.h"
#include "report/templateslist.h"
#include "report/templatetotxt.h"
#include "runtime/config.h"
#include "testenvironment.h"
#include "../runtime/testonlyclientcertificate.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString metaTagPath = QStringLiteral("/cgi-bin/getMetaTags.cgi");
const QString templatePath = QStringLiteral("/templates/отчёт.txt");

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A run returns from make() at once while the meta tags download, and only once the
// download of the template has ended when they were loaded before.
bool waitForDone(QSignalSpy& done, int runs)
{
    return done.count() == runs || (done.wait(20000) && done.count() == runs);
}

qulonglong trCount(const LocalHttpsServer::Request& request)
{
    bool ok = false;
    const qulonglong value = request.query.queryItemValue(QStringLiteral("tr")).toULongLong(&ok);
    return ok ? value : 0;
}

} // namespace

// Runs against a real HTTPS server on 127.0.0.1 that insists on the installation's
// client certificate.
class TestTemplateNetwork : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void networkRun();
    void failures_data();
    void failures();
    void templatesListFromTheServer();
    void unverifiedServer_data();
    void unverifiedServer();

private:
    QString templateUrl() const { return server.url().toString() + templatePath; }

    LocalHttpsServer server;
    QTemporaryDir dir;
};

void TestTemplateNetwork::initTestCase()
{
    QVERIFY(QDir::setCurrent(TestEnvironment::root())); // Zentavo.crt is read from there
    QVERIFY(server.start(QSslCertificate(QByteArray(TestOnlyClientCertificate::certificatePem), QSsl::Pem)));
}

void TestTemplateNetwork::init()
{
    server.reset();
    QVERIFY(LocalHttpsServer::installClientCertificate());
    LocalHttpsServer::trustAuthority(true);
    Config::getInstance()->setTemplateServerUrl(server.url());
    Config::getInstance()->setAcceptUnverifiedServer(false);
    server.respond(metaTagPath, 200, QStringLiteral("<%ШАПКА%>=Отчёт <?ПУСТО!?>№1<?/ПУСТО?>\n"
                                                   "<%ПОДПИСЬ%>=Директор & Co\n").toUtf8());
    server.respond(templatePath, 200, QStringLiteral("<%ШАПКА%>|<#ПОДПИСЬ#>").toUtf8());
}

void TestTemplateNetwork::networkRun()
{
    TemplateToTxt generator;
    QSignalSpy done(&generator, &TemplateToDocument::done);
    const QString output = dir.filePath(QStringLiteral("1.txt"));

    QVERIFY(generator.make(templateUrl(), output));
    QVERIFY(generator.isMaking());
    QVERIFY(!generator.make(templateUrl(), dir.filePath(QStringLiteral("meanwhile.txt")))); // one run at a time
    QVERIFY(waitForDone(done, 1));
    QVERIFY(!generator.isMaking());
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrNone);
    QCOMPARE(generator.getOutputFile(), output);
    QCOMPARE(readFile(output), QStringLiteral("Отчёт №1|Директор &amp; Co"));

    const QString second = dir.filePath(QStringLiteral("2.txt"));
    QVERIFY(generator.make(templateUrl(), second)); // the meta tags are not fetched again
    QCOMPARE(done.count(), 2);                       // and the template download waits in make()
    QCOMPARE(readFile(second), readFile(output));

    const QList<LocalHttpsServer::Request>& requests = server.requests();
    QCOMPARE(requests.size(), 3);
    QCOMPARE(requests[0].path, metaTagPath);
    QCOMPARE(requests[1].path, templatePath);
    QCOMPARE(requests[2].path, templatePath);
    for (const LocalHttpsServer::Request& request : requests)
        QVERIFY(request.clientCertificate);
    QVERIFY(trCount(requests[0]) > 0);
    QCOMPARE(trCount(requests[1]), trCount(requests[0]) + 1);
    QCOMPARE(trCount(requests[2]), trCount(requests[1]) + 1);
}

void TestTemplateNetwork::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("served"); // paths the server answered

    QTest::newRow("template missing") << "template" << QStringList{metaTagPath, templatePath};
    QTest::newRow("meta tags fail") << "meta tags" << QStringList{metaTagPath};
    QTest::newRow("server not trusted") << "authority" << QStringList();
    QTest::newRow("no client certificate") << "certificate" << QStringList();
}

void TestTemplateNetwork::failures()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, served);
    if (fault == QLatin1String("template"))
        server.respond(templatePath, 404, "gone");
    if (fault == QLatin1String("meta tags"))
        server.respond(metaTagPath, 500, "broken");
    if (fault == QLatin1String("authority"))
        LocalHttpsServer::trustAuthority(false);
    if (fault == QLatin1String("certificate"))
        QVERIFY(LocalHttpsServer::installClientCertificate(false));

    TemplateToTxt generator;
    QSignalSpy done(&generator, &TemplateToDocument::done);
    const QString output = dir.filePath(QStringLiteral("failed.txt"));
    QVERIFY(generator.make(templateUrl(), output));
    QVERIFY(generator.isMaking());
    QVERIFY(!generator.make(templateUrl(), dir.filePath(QStringLiteral("meanwhile.txt")))); // one run at a time
    QVERIFY(waitForDone(done, 1));
    QVERIFY(!generator.isMaking());
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrRead);
    QVERIFY(!generator.getErrorInfo().message().isEmpty());
    QVERIFY(!QFile::exists(output));
    QStringList paths;
    for (const LocalHttpsServer::Request& request : server.requests())
        paths.append(request.path);
    QCOMPARE(paths, served);
}

// The server's list replaces the entries, sorted; a failed download keeps them. Both end with done().
void TestTemplateNetwork::templatesListFromTheServer()
{
    const QString listPath = QStringLiteral("/templates/list.xml");
    server.respond(listPath, 200, QStringLiteral("<templates baseurl=\"https://t.example/t\">"
                                                 "<template>б.docx</template><template>а.txt</template>"
                                                 "</templates>").toUtf8());
    TemplatesList list;
    QSignalSpy done(&list, &TemplatesList::done);

    QVERIFY(list.load(server.url().toString() + listPath));
    QVERIFY(waitForDone(done, 1));
    QString first;
    list.get(0, first);
    QCOMPARE(list.count(), 2);
    QCOMPARE(first, QStringLiteral("а.txt"));
    QCOMPARE(list.getBaseDir(), QStringLiteral("https://t.example/t"));
    QVERIFY(server.requests().first().clientCertificate);

    server.respond(listPath, 404, "gone");
    QVERIFY(list.load(server.url().toString() + listPath));
    QVERIFY(waitForDone(done, 2));
    QCOMPARE(list.count(), 2);
}

void TestTemplateNetwork::unverifiedServer_data()
{
    QTest::addColumn<QString>("download");
    QTest::addColumn<bool>("accepted"); // by the setting

    for (const char* download : {"meta tags", "template", "template list"}) {
        QTest::addRow("%s, refused", download) << download << false;
        QTest::addRow("%s, accepted by the setting", download) << download << true;
    }
}

// Every download from the template server verifies it, and only the setting lets an
// unverified one through.
void TestTemplateNetwork::unverifiedServer()
{
    QFETCH(QString, download);
    QFETCH(bool, accepted);
    TemplateToTxt generator;
    QSignalSpy done(&generator, &TemplateToDocument::done);
    if (download == QLatin1String("template")) { // the meta tags loaded while trusted
        QVERIFY(generator.make(templateUrl(), dir.filePath(QStringLiteral("trusted.txt"))));
        QVERIFY(waitForDone(done, 1));
        QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrNone);
        done.clear();
        server.reset();
        init();
    }
    LocalHttpsServer::trustAuthority(false);
    Config::getInstance()->setAcceptUnverifiedServer(accepted);
    QString failure;
    if (download == QLatin1String("template list")) {
        const QString listPath = QStringLiteral("/templates/list.xml");
        server.respond(listPath, 200, "<templates baseurl=\"https://t.example/t\"><template>а.txt</template></templates>");
        TemplatesList list;
        QSignalSpy listed(&list, &TemplatesList::done);
        QVERIFY(list.load(server.url().toString() + listPath));
        QVERIFY(waitForDone(listed, 1));
        QCOMPARE(list.count(), accepted ? 1 : 0);
        failure = list.getErrorString();
    } else {
        const QString output = dir.filePath(QStringLiteral("unverified.txt"));
        QFile::remove(output);
        QVERIFY(generator.make(templateUrl(), output));
        QVERIFY(waitForDone(done, 1));
        QCOMPARE(QFile::exists(output), accepted);
        failure = generator.getErrorInfo().message();
    }
    QCOMPARE(failure.isEmpty(), accepted);
    if (!accepted)
        QVERIFY2(failure.contains(QStringLiteral("the server %1 is not verified: ").arg(server.url().toString())),
                 qPrintable(failure));
    QCOMPARE(server.requests().isEmpty(), !accepted);
}

QTEST_GUILESS_MAIN(TestTemplateNetwork)
#include "tst_templatenetwork.moc"
