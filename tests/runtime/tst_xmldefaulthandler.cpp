#include "runtime/xmldefaulthandler.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

// Writes every event as one short line, so a test sees what a walk delivered.
class RecordingHandler : public XmlDefaultHandler
{
public:
    QStringList events;
    QString stopAt;
    int errors = 0;

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override
    {
        events << QLatin1String("<") + qName.toString() + attributes.value(QLatin1String("r:id")).toString();
        return qName != stopAt;
    }
    bool endElement(QStringView qName) override
    {
        events << QLatin1String("/") + qName.toString();
        return true;
    }
    bool characters(QStringView text) override
    {
        events << text.toString();
        return true;
    }
    void fatalError(const QString&, qint64, qint64) override { ++errors; }
};

class TestXmlDefaultHandler : public QObject
{
    Q_OBJECT

private slots:
    void walkDeliversEventsUntilErrorOrStop_data();
    void walkDeliversEventsUntilErrorOrStop();
    void externalEntityIsNeverRead();
    void entityBombEndsTheWalkQuickly();
};

void TestXmlDefaultHandler::walkDeliversEventsUntilErrorOrStop_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("stopAt");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<int>("errors");

    const QStringList all{"<w:doc", "<a:x1", "т", "/a:x", "<b", "/b", "/w:doc"};
    QTest::newRow("whole document, prefixes and attributes as written")
        << QByteArray("<w:doc xmlns:w='u' xmlns:a='v' xmlns:r='r'><a:x r:id='1'>т</a:x><b/></w:doc>") << QString()
        << all << true << 0;
    QTest::newRow("undeclared prefixes are read as written")
        << QByteArray("<w:doc><a:x r:id='1'>т</a:x><b/></w:doc>") << QString() << all << true << 0;
    QTest::newRow("cut in the middle keeps the events before the cut")
        << QByteArray("<w:doc><a:x r:id='1'>т</a:x><b") << QString()
        << QStringList{"<w:doc", "<a:x1", "т", "/a:x"} << false << 1;
    QTest::newRow("wrong nesting stops at the wrong end tag")
        << QByteArray("<w:doc><a:x r:id='1'>т</w:doc></a:x>") << QString()
        << QStringList{"<w:doc", "<a:x1", "т"} << false << 1;
    QTest::newRow("not XML at all") << QByteArray("PK\x03\x04 binary") << QString() << QStringList() << false << 1;
    QTest::newRow("a handler that answers false stops the walk")
        << QByteArray("<w:doc><a:x r:id='1'>т</a:x><b/></w:doc>") << QStringLiteral("a:x")
        << QStringList{"<w:doc", "<a:x1"} << false << 0;
}

void TestXmlDefaultHandler::walkDeliversEventsUntilErrorOrStop()
{
    QFETCH(QByteArray, document);
    QFETCH(QString, stopAt);
    QFETCH(bool, complete);
    QFETCH(QStringList, events);
    QFETCH(int, errors);
    RecordingHandler handler;
    handler.stopAt = stopAt;
    QCOMPARE(handler.parse(document), complete);
    QCOMPARE(handler.events, events);
    QCOMPARE(handler.errors, errors);
    QCOMPARE(handler.errorString().isEmpty(), handler.errors == 0 && stopAt.isEmpty());
}

void TestXmlDefaultHandler::externalEntityIsNeverRead()
{
    QTemporaryDir dir;
    const QString secretPath = dir.filePath(QStringLiteral("secret.txt"));
    QFile secret(secretPath);
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("SECRET-CONTENT");
    secret.close();
    const QByteArray document = "<!DOCTYPE d [<!ENTITY e SYSTEM 'file://" + secretPath.toUtf8()
        + "'>]><d>&e;</d>";
    RecordingHandler handler;
    handler.parse(document);
    QVERIFY(!handler.events.join(QString()).contains(QLatin1String("SECRET")));
}

void TestXmlDefaultHandler::entityBombEndsTheWalkQuickly()
{
    QByteArray document = "<!DOCTYPE d [<!ENTITY a0 'xxxxxxxxxx'>";
    for (int i = 1; i < 10; ++i)
        document += "<!ENTITY a" + QByteArray::number(i) + " '" + QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10)
            + "'>";
    document += "]><d>&a9;</d>";
    RecordingHandler handler;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!handler.parse(document));
    QCOMPARE(handler.errors, 1);
    QVERIFY(timer.elapsed() < 5000);
}

QTEST_GUILESS_MAIN(TestXmlDefaultHandler)
#include "tst_xmldefaulthandler.moc"
