#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "report/templatechecker.h"
#include "report/templatetodocx.h"
#include "runtime/singletonregistry.h"

#include "wordpackage.h"
#include "zipfixture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// A DOCX template a word processor would refuse is refused, by the report and by the
// check alike and for the same reason; one whose repair is certain is repaired.
class TestDocxPackage : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void reportAndCheckAgree_data();
    void reportAndCheckAgree();

private:
    QTemporaryDir dir;
};

void TestDocxPackage::reportAndCheckAgree_data()
{
    QTest::addColumn<QString>("templatePath");
    QTest::addColumn<QString>("refusal"); // empty: the template is used
    QTest::addColumn<int>("repairs");

    int made = 0;
    const auto save = [&](const QList<ZipEntry>& entries) {
        const QString path = dir.filePath(QStringLiteral("template-%1.docx").arg(++made));
        return writeZip(path, entries) ? path : QString();
    };
    const auto saveBytes = [&](const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("template-%1.docx").arg(++made));
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? path : QString();
    };
    const auto report = [](const QString& main = QStringLiteral("word/document.xml")) {
        WordPackage package(main);
        package.setBody(WordPackage::paragraph(QStringLiteral("Договор &lt;#НОМЕР_ДОГОВОРА#&gt;")));
        package.addPart(QStringLiteral("header"), QStringLiteral("word/header1.xml"), WordPackage::paragraph(QStringLiteral("Шапка")));
        return package;
    };
    const auto without = [&](WordPackage package, const char* name) {
        package.removeEntry(QString::fromUtf8(name));
        return save(package.entries());
    };
    const auto with = [&](WordPackage package, const char* name, const QByteArray& bytes) {
        package.setEntry(QString::fromUtf8(name), bytes);
        return save(package.entries());
    };

    QTest::newRow("sound") << save(report().entries()) << "" << 0;
    QTest::newRow("no [Content_Types].xml") << without(report(), "[Content_Types].xml")
                                            << "the archive has no [Content_Types].xml: it is not a DOCX package" << 0;
    QTest::newRow("relationship to a missing header")
        << without(report(), "word/header1.xml") << "word/_rels/document.xml.rels names header1.xml, which the archive does not hold" << 0;
    QTest::newRow("missing main part") << without(report(QStringLiteral("word/document2.xml")), "word/document2.xml")
                                       << "_rels/.rels names /word/document2.xml as the main document, which the archive does not hold"
                                       << 0;
    QTest::newRow("header that is not XML") << with(report(), "word/header1.xml", "<w:hdr><w:p>")
                                            << "word/header1.xml is not well-formed XML" << 0;
    QTest::newRow("styles that are not XML") << with(report(), "word/styles.xml", "{\"styles\": []}")
                                             << "word/styles.xml is not well-formed XML" << 0;
    QTest::newRow("part without a content type") << with(report(), "word/vbaProject.bin", "binary")
                                                 << "word/vbaProject.bin has no content type in [Content_Types].xml" << 0;
    QTest::newRow("header in Windows-1251")
        << with(report(), "word/header1.xml", "<w:hdr xmlns:w=\"w\"><w:p><w:r><w:t>\xd8\xe0\xef\xea\xe0</w:t></w:r></w:p></w:hdr>")
        << "word/header1.xml is not in UTF-8 or UTF-16" << 0;
    QTest::newRow("a picture named .docx") << saveBytes(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, '\0'))
                                           << "it is not a zip archive" << 0;
    QTest::newRow("an empty file") << saveBytes(QByteArray()) << "it is not a zip archive" << 0;
    QTest::newRow("an evaluation named .docx")
        << save({{QStringLiteral("version.txt"), "1"}, {QStringLiteral("tag_list.txt"), "НОМЕР_ДОГОВОРА=1\n"}})
        << "the archive has no [Content_Types].xml" << 0;

    QTest::newRow("no _rels/.rels, one main document in the content types") << without(report(), "_rels/.rels") << "" << 1;
    {
        WordPackage package = report();
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::gray);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        package.addImage(package.mainPart(), QStringLiteral("word/media/image1.png"), png);
        QByteArray types = contentOf(package.entries(), QStringLiteral("[Content_Types].xml"));
        types.replace("<Default Extension=\"png\" ContentType=\"image/png\"/>", "");
        QTest::newRow("no content type for pictures") << with(package, "[Content_Types].xml", types) << "" << 1;
    }
    {
        const QList<ZipEntry> entries = report().entries();
        const QByteArray document = contentOf(entries, QStringLiteral("word/document.xml"));
        QTest::newRow("main part in UTF-16") << with(report(), "word/document.xml", WordPackage::utf16(document)) << "" << 0;
        QTest::newRow("byte order mark")
            << with(report(), "word/document.xml", "\xEF\xBB\xBF" + document)
            << "" << 0;
    }
}

void TestDocxPackage::reportAndCheckAgree()
{
    QFETCH(QString, templatePath);
    QFETCH(QString, refusal);
    QFETCH(int, repairs);
    QVERIFY(!templatePath.isEmpty());
    EvaluationTagStorage storage;
    AutoEvaluation evaluation(storage);
    storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("17/2026"));
    TemplateToDocx generator;
    generator.use(evaluation);
    const QString output = dir.filePath(QStringLiteral("document.docx"));
    QFile::remove(output);
    QSignalSpy done(&generator, &TemplateToDocument::done);
    QVERIFY(generator.make(templatePath, output));
    QVERIFY(done.count() == 1 || done.wait(10000));
    TemplateChecker checker;
    checker.use(evaluation);
    const bool checked = checker.checkFile(templatePath);

    const QString reported = generator.getErrorInfo().message();
    if (!refusal.isEmpty()) {
        QVERIFY2(reported.contains(QFileInfo(templatePath).fileName()) && reported.contains(refusal), qPrintable(reported));
        QVERIFY(!QFile::exists(output));
        QVERIFY(!checked);
        QCOMPARE(checker.problems().size(), 1);
        QVERIFY2(checker.problems().first().message.contains(refusal), qPrintable(checker.problems().first().message));
        return;
    }
    QCOMPARE(reported, QString());
    const QList<ZipEntry> entries = readZip(output);
    QCOMPARE(packageProblems(entries), QStringList());
    QCOMPARE(WordPackage::textOf(contentOf(entries, QStringLiteral("word/document.xml"))), QStringLiteral("Договор 17/2026"));
    QVERIFY(checked);
    QCOMPARE(checker.problems().size(), 0);
    QCOMPARE(checker.repairs().size(), repairs);
}

QTEST_MAIN(TestDocxPackage)
#include "tst_docxpackage.moc"
