#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "filesizelimit.h"
#include "recordingappender.h"
#include "report/templatetotxt.h"
#include "runtime/singletonregistry.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestTemplateToTxt : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void valuesOfTheEvaluation();
    void directFailures_data();
    void directFailures();
    void runFromDisk_data();
    void runFromDisk();
    void metaTagsComeFromTheTemplatesFolder();
    void fullDiskKeepsTheOlderDocument_data();
    void fullDiskKeepsTheOlderDocument();

private:
    QTemporaryDir dir;
};

void TestTemplateToTxt::valuesOfTheEvaluation()
{
    EvaluationTagStorage storage;
    AutoEvaluation evaluation(storage);
    storage.setTag(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), QStringLiteral(" Для <ЗАЛОГА> & \"банка\" "));
    RecordingAppender log;
    AppenderRegistration registration(&log);
    TemplateToTxt generator;
    generator.use(evaluation);
    const QString templatePath = dir.filePath(QStringLiteral("values/шаблон.txt"));
    QVERIFY(writeFile(templatePath, QStringLiteral("<p>Цель: <#цель_оценки#L#>.</p>\n<p><#ЦЕЛЬ_ОЦЕНКИ#></p>\n")));
    const QString output = dir.filePath(QStringLiteral("values/отчёт.txt"));

    QVERIFY(generator.make_from_disk(templatePath, output));
    QCOMPARE(readFile(output), QStringLiteral("<p>Цель: для &lt;залога&gt; &amp; &quot;банка&quot;.</p>\n"
                                              "<p>Для &lt;ЗАЛОГА&gt; &amp; &quot;банка&quot;</p>\n"));
    QCOMPARE(generator.getErrorInfo().code(), ErrorInfo::ErrNone);
    QVERIFY(!log.messages().filter(QStringLiteral("ЦЕЛЬ_ОЦЕНКИ")).isEmpty());
    QVERIFY2(log.messages().filter(QStringLiteral("ЗАЛОГА"), Qt::CaseInsensitive).isEmpty(),
             "a tag value reached the log");
}

void TestTemplateToTxt::directFailures_data()
{
    QTest::addColumn<QString>("templatePath");
    QTest::addColumn<QString>("outputPath");
    QTest::addColumn<int>("code");

    const QString good = dir.filePath(QStringLiteral("direct/template.txt"));
    QTest::newRow("missing template") << dir.filePath(QStringLiteral("direct/none.txt"))
                                      << dir.filePath(QStringLiteral("direct/out.txt")) << int(ErrorInfo::ErrRead);
    QTest::newRow("output folder missing") << good << dir.filePath(QStringLiteral("direct/no/such/out.txt"))
                                           << int(ErrorInfo::ErrWrite);
    QTest::newRow("output is a folder") << good << dir.filePath(QStringLiteral("direct")) << int(ErrorInfo::ErrWrite);
}

void TestTemplateToTxt::directFailures()
{
    QFETCH(QString, templatePath);
    QFETCH(QString, outputPath);
    QFETCH(int, code);
    QVERIFY(writeFile(dir.filePath(QStringLiteral("direct/template.txt")), QStringLiteral("text")));

    RecordingAppender log;
    AppenderRegistration registration(&log);
    TemplateToTxt generator;
    QSignalSpy done(&generator, &TemplateToDocument::done);
    QVERIFY(!generator.make_from_disk(templatePath, outputPath));
    QVERIFY(!log.messages(Logger::Warning).isEmpty());
    QCOMPARE(int(generator.getErrorInfo().code()), code);
    const QString named = code == ErrorInfo::ErrRead ? templatePath : outputPath;
    QVERIFY2(generator.getErrorInfo().message().contains(named), qPrintable(generator.getErrorInfo().message()));
    QVERIFY(!QFileInfo(outputPath).isFile());
    QCOMPARE(done.count(), 0);
}

void TestTemplateToTxt::runFromDisk_data()
{
    QTest::addColumn<QString>("templateName");
    QTest::addColumn<QString>("outputName");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("expected"); // null: no document
    QTest::addColumn<QString>("named");    // in the error's message

    QTest::newRow("document") << "run/t.txt" << "run/out.txt" << int(ErrorInfo::ErrNone)
                              << "Директор: Иванов И.И., ООО &quot;Оценка&quot;" << "";
    QTest::newRow("missing template") << "run/none.txt" << "run/out.txt" << int(ErrorInfo::ErrRead) << QString()
                                      << "none.txt";
    QTest::newRow("output not writable") << "run/t.txt" << "run/missing/out.txt" << int(ErrorInfo::ErrWrite)
                                         << QString() << "out.txt";
    // Six levels of meta tags, each holding sixteen of the next, over a kilobyte: 16 GiB of text.
    QString multiplying;
    for (int level = 1; level < 7; ++level)
        multiplying += QStringLiteral("<%Б%1%>=").arg(level) + QStringLiteral("<%Б%1%>").arg(level + 1).repeated(16)
            + QLatin1Char('\n');
    QVERIFY(writeFile(dir.filePath(QStringLiteral("grow/metatags.txt")),
                      multiplying + QStringLiteral("<%Б7%>=") + QString(1024, QLatin1Char('x'))));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("grow/t.txt")), QStringLiteral("<%Б1%>")));
    QTest::newRow("text growing past its bound") << "grow/t.txt" << "grow/out.txt" << int(ErrorInfo::ErrRead)
                                                 << QString() << "grow/t.txt";
    // One item more than a repeated block is copied for: the plain tags come from the meta tags.
    QString items;
    for (int i = 0; i <= TemplateToDocument::MAX_BLOCK_COPIES; ++i)
        items += QStringLiteral("<%ПУНКТ_%1%>=п%1\n").arg(i);
    QVERIFY(writeFile(dir.filePath(QStringLiteral("many/metatags.txt")), items));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("many/t.txt")),
                      QStringLiteral("<p><#ПУНКТ#>, <#НОМЕР_ПАРАГРАФА#></p>\n")));
    QTest::newRow("repeated block with too many items") << "many/t.txt" << "many/out.txt" << int(ErrorInfo::ErrRead)
                                                        << QString() << "\"<p><#ПУНКТ#>, <#НОМЕР_ПАРАГРАФА#></p>\"";
    QFile huge(dir.filePath(QStringLiteral("huge.txt"))); // sparse: costs no disk
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(TemplateToDocument::MAX_TEMPLATE_BYTES + 1));
    QTest::newRow("template file beyond its bound") << "huge.txt" << "run/out.txt" << int(ErrorInfo::ErrRead)
                                                    << QString() << "huge.txt";
}

void TestTemplateToTxt::runFromDisk()
{
    QFETCH(QString, templateName);
    QFETCH(QString, outputName);
    QFETCH(int, code);
    QFETCH(QString, expected);
    QFETCH(QString, named);
    QVERIFY(writeFile(dir.filePath(QStringLiteral("run/t.txt")), QStringLiteral("<%ПОДПИСЬ%>")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("run/metatags.txt")),
                      QStringLiteral("; подпись под отчётом\n<%ПОДПИСЬ%> = Директор: <#ДИРЕКТОР#>, <#ФИРМА#>   \n"
                                     "<%ДИРЕКТОР%>=Иванов И.И.\n<%ФИРМА%>=ООО \"Оценка\"\n")));
    const QString output = dir.filePath(outputName);
    QFile::remove(output);

    TemplateToTxt generator;
    QSignalSpy done(&generator, &TemplateToDocument::done);
    for (int run = 0; run < 2; ++run) { // a reused generator starts each run afresh
        QVERIFY(generator.make(dir.filePath(templateName), output));
        QCOMPARE(done.count(), run + 1);
        QVERIFY(!generator.isMaking());
        QCOMPARE(int(generator.getErrorInfo().code()), code);
        QVERIFY2(generator.getErrorInfo().message().contains(named), qPrintable(generator.getErrorInfo().message()));
        QCOMPARE(readFile(output), expected);
    }
}

void TestTemplateToTxt::metaTagsComeFromTheTemplatesFolder()
{
    QVERIFY(writeFile(dir.filePath(QStringLiteral("a/t.txt")), QStringLiteral("[<%ШАПКА%>]")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("a/metatags.txt")), QStringLiteral("<%ШАПКА%>=А\n")));
    QVERIFY(writeFile(dir.filePath(QStringLiteral("b/t.txt")), QStringLiteral("[<%ШАПКА%>]")));
    TemplateToTxt generator;
    QVERIFY(generator.make(dir.filePath(QStringLiteral("a/t.txt")), dir.filePath(QStringLiteral("a/out.txt"))));
    QVERIFY(generator.make(dir.filePath(QStringLiteral("b/t.txt")), dir.filePath(QStringLiteral("b/out.txt"))));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("a/out.txt"))), QStringLiteral("[А]"));
    QCOMPARE(readFile(dir.filePath(QStringLiteral("b/out.txt"))), QStringLiteral("[]"));
}

void TestTemplateToTxt::fullDiskKeepsTheOlderDocument_data()
{
    QTest::addColumn<int>("missing"); // bytes of the document that do not fit; -1: none fit
    QTest::newRow("nothing fits") << -1;
    QTest::newRow("half fits") << 2000;
    QTest::newRow("the last byte does not fit") << 1;
    QTest::newRow("all of it fits") << 0;
}

// A disk that fills while the document is written leaves the older document as it was,
// no partial file beside it, and an error naming the document and the cause.
void TestTemplateToTxt::fullDiskKeepsTheOlderDocument()
{
    QFETCH(int, missing);
    const QString text = QStringLiteral("<p>Договор оценки, пункт 1.</p>\n").repeated(100);
    const qint64 size = text.toUtf8().size();
    QVERIFY(writeFile(dir.filePath(QStringLiteral("full/t.txt")), text));
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("договор.txt"));
    QVERIFY(writeFile(output, QStringLiteral("older document")));

    TemplateToTxt generator;
    {
        FileSizeLimit full(missing < 0 ? 0 : size - missing);
        QVERIFY(generator.make(dir.filePath(QStringLiteral("full/t.txt")), output));
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("договор.txt")});
    const ErrorInfo& error = generator.getErrorInfo();
    if (missing == 0) {
        QCOMPARE(error.code(), ErrorInfo::ErrNone);
        QCOMPARE(readFile(output), text);
        return;
    }
    QCOMPARE(readFile(output), QStringLiteral("older document"));
    QCOMPARE(error.code(), ErrorInfo::ErrWrite);
    QVERIFY2(error.message().contains(output) && error.message().contains(QLatin1String("File too large")),
             qPrintable(error.message()));
}

QTEST_GUILESS_MAIN(TestTemplateToTxt)
#include "tst_templatetotxt.moc"
