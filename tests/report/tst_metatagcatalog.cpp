#include "report/metatagcatalog.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTest>

class TestMetaTagCatalog : public QObject
{
    Q_OBJECT

private slots:
    void parseLine_data();
    void parseLine();
    void load();
    void aLineLongerThanTheBufferIsCut();
    void startLoadingWithoutDownload();
    void refusedFile_data();
    void refusedFile();
};

void TestMetaTagCatalog::parseLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("name"); // null: not a definition
    QTest::addColumn<QString>("text");

    QTest::newRow("blanks around") << "<%ПОДПИСЬ%> = Директор   \n" << "ПОДПИСЬ" << "Директор";
    QTest::newRow("empty text") << "<%ПУСТО%>=" << "ПУСТО" << "";
    QTest::newRow("blank text, CRLF") << "<%ПУСТО%>=   \r\n" << "ПУСТО" << "";
    QTest::newRow("one character") << "<%A%>=x" << "A" << "x";
    QTest::newRow("inner blanks kept") << "<%A B%> =  два  слова \r\n" << "A B" << "два  слова";
    QTest::newRow("template text") << "<%A%>=<p><#ФИО#S#></p>" << "A" << "<p><#ФИО#S#></p>";
    QTest::newRow("no brackets") << "ПОДПИСЬ = Директор" << QString() << QString();
    QTest::newRow("leading blank") << " <%A%>=x" << QString() << QString();
    QTest::newRow("= in the name") << "<%A=B%>=x" << QString() << QString();
    QTest::newRow("no =") << "<%A%> x" << QString() << QString();
}

void TestMetaTagCatalog::parseLine()
{
    QFETCH(QString, line);
    QFETCH(QString, name);
    QFETCH(QString, text);

    QString parsedName;
    QString parsedText;
    QCOMPARE(MetaTagCatalog::parseLine(line, parsedName, parsedText), !name.isNull());
    if (!name.isNull()) {
        QCOMPARE(parsedName, name);
        QCOMPARE(parsedText, text);
        QVERIFY(!parsedText.isNull());
    }
}

void TestMetaTagCatalog::load()
{
    MetaTagCatalog catalog;
    QString text = QStringLiteral("left over");
    QVERIFY(catalog.getTag(QStringLiteral("br"), text));
    QVERIFY(text.isEmpty() && !text.isNull());
    QVERIFY(!catalog.isLoaded());

    QBuffer file;
    file.setData(QByteArrayLiteral("; <%КОММЕНТАРИЙ%>=нет\n"
                                   "<%ПОДПИСЬ%>=первая\r\n"
                                   "\n"
                                   "мусор\n"
                                   "<%ПОДПИСЬ%>=вторая\n"
                                   "<%ПУСТО%>="));
    QSignalSpy loaded(&catalog, &MetaTagCatalog::loaded);
    catalog.load(file);
    QCOMPARE(loaded.count(), 1);
    QVERIFY(catalog.isLoaded());
    QVERIFY(catalog.getTag(QStringLiteral("ПОДПИСЬ"), text));
    QCOMPARE(text, QStringLiteral("вторая"));
    QVERIFY(catalog.getTag(QStringLiteral("ПУСТО"), text));
    QVERIFY(!catalog.getTag(QStringLiteral("КОММЕНТАРИЙ"), text));
    QVERIFY(text.isNull());
    QVERIFY(!catalog.getTag(QStringLiteral("подпись"), text));

    catalog.clear();
    QVERIFY(!catalog.isLoaded());
    QVERIFY(!catalog.getTag(QStringLiteral("ПОДПИСЬ"), text));
    QVERIFY(catalog.getTag(QStringLiteral("br"), text));
}

// A block longer than the line buffer is stored cut at 23 999 bytes (possibly inside a
// character), and the report shows a shortened text without any warning.
void TestMetaTagCatalog::aLineLongerThanTheBufferIsCut()
{
    const QString longText(15000, QChar(0x044F)); // "я", two bytes each in UTF-8
    QBuffer file;
    file.setData(QStringLiteral("<%ДЛИННЫЙ%>=%1\n<%ПОСЛЕ%>=да\n").arg(longText).toUtf8());
    MetaTagCatalog catalog;
    catalog.load(file);
    QString text;
    QVERIFY(catalog.getTag(QStringLiteral("ПОСЛЕ"), text));
    catalog.getTag(QStringLiteral("ДЛИННЫЙ"), text);
    QEXPECT_FAIL("", "lines are read into a buffer of 24 000 bytes; the rest of a longer line is dropped", Continue);
    QCOMPARE(text.size(), longText.size());
}

void TestMetaTagCatalog::startLoadingWithoutDownload()
{
    MetaTagCatalog catalog;
    QSignalSpy loaded(&catalog, &MetaTagCatalog::loaded);
    catalog.start_loading(TEMPLATE_SOURCE_DISK);
    QCOMPARE(loaded.count(), 1);
    QVERIFY(!catalog.isLoaded());

    QBuffer file;
    file.setData(QByteArrayLiteral("<%A%>=x\n"));
    catalog.load(file);
    catalog.start_loading(TEMPLATE_SOURCE_NETWORK); // loaded before: no download
    QCOMPARE(loaded.count(), 3);
    QVERIFY(!catalog.isLoading());
}

void TestMetaTagCatalog::refusedFile_data()
{
    QTest::addColumn<QByteArray>("content"); // null: no file at all
    QTest::newRow("missing file") << QByteArray();
    QByteArray definitions;
    for (int i = 0; definitions.size() <= MetaTagCatalog::MAX_FILE_BYTES; ++i)
        definitions += "<%A" + QByteArray::number(i) + "%>=" + QByteArray(4000, 'x') + '\n';
    QTest::newRow("file beyond its bound") << definitions;
}

void TestMetaTagCatalog::refusedFile()
{
    QFETCH(QByteArray, content);
    MetaTagCatalog catalog;
    QSignalSpy loaded(&catalog, &MetaTagCatalog::loaded);
    QSignalSpy failed(&catalog, &MetaTagCatalog::failed);
    if (content.isNull()) {
        catalog.load_from_disk(QStringLiteral("/no/such/metatags.txt"));
    } else {
        QBuffer file(&content);
        catalog.load(file);
    }
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!catalog.isLoaded());
    QString text;
    QVERIFY(!catalog.getTag(QStringLiteral("A1"), text));
}

QTEST_GUILESS_MAIN(TestMetaTagCatalog)
#include "tst_metatagcatalog.moc"
