#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "recordingappender.h"
#include "report/templatelistxmlhandler.h"
#include "report/templateslist.h"
#include "report/templatestodocumentsbatch.h"
#include "runtime/autoevalexception.h"
#include "runtime/singletonregistry.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A batch as a host writes one: it records what it was asked and what it produced.
class RecordingBatch : public TemplatesToDocumentsBatch
{
public:
    bool overwrite = true;
    QStringList asked;
    QStringList produced;
    QList<QList<QVariant>> progress;

    RecordingBatch()
    {
        connect(this, &TemplatesToDocumentsBatch::progress, this,
                [this](QString& part, int partPercent, int totalPercent) {
                    progress.append({QFileInfo(part).fileName(), partPercent, totalPercent});
                });
    }
    bool askForOverride(QString& docFile) override
    {
        asked.append(QFileInfo(docFile).fileName());
        return overwrite;
    }
    void done(QString docFile) override { produced.append(QFileInfo(docFile).fileName()); }
};

} // namespace

class TestTemplatesBatch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { SingletonRegistry::destroyAllForTesting(); }

    void folderListIsSortedAndSelected();
    void types_data();
    void types();
    void serverListDocument();
    void handlerWithoutListThrows();

    void documentFolder_data();
    void documentFolder();
    void producesEverySelectedTemplate();
    void stopEndsAfterTheDocumentInHand();
    void skips_data();
    void skips();
    void generatorErrorStopsTheBatch();
    void templateFindings_data();
    void templateFindings();
    void unusableFolderStartsNothing();
    void linkInTheDocumentsPlace_data();
    void linkInTheDocumentsPlace();
    void linkedDocumentFolderIsRefused();

private:
    // Runs the batch over the templates folder and waits for its done().
    bool runBatch(RecordingBatch& batch, TemplatesList& list);

    QTemporaryDir dir;
    std::unique_ptr<EvaluationTagStorage> storage;
    std::unique_ptr<AutoEvaluation> evaluation;
    QString templates;
    QString out;
};

void TestTemplatesBatch::init()
{
    storage = std::make_unique<EvaluationTagStorage>();
    evaluation = std::make_unique<AutoEvaluation>(*storage);
    storage->setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("12/5"));
    storage->setTag(QStringLiteral("МАРКА_ТС"), QStringLiteral("ВАЗ"));
    storage->setTag(QStringLiteral("МОДЕЛЬ_ТС"), QStringLiteral("2107"));
    storage->setTag(QStringLiteral("РЕГИСТРАЦИОННЫЙ_ЗНАК"), QStringLiteral("А123ВС"));
    const QString testDir = dir.filePath(QStringLiteral("%1/%2").arg(QTest::currentTestFunction(), QTest::currentDataTag()));
    templates = testDir + QStringLiteral("/templates");
    out = testDir + QStringLiteral("/out");
    for (const char* name : {"a.txt", "b.txt", "c.txt"})
        QVERIFY(writeFile(templates + QLatin1Char('/') + QLatin1String(name),
                          QByteArray("<p>Договор <#НОМЕР_ДОГОВОРА#>, ") + name + "</p>"));
}

bool TestTemplatesBatch::runBatch(RecordingBatch& batch, TemplatesList& list)
{
    QSignalSpy done(&batch, qOverload<>(&TemplatesToDocumentsBatch::done));
    if (!batch.make(*evaluation, list, out))
        return false;
    return done.count() == 1 || (done.wait(10000) && done.count() == 1);
}

void TestTemplatesBatch::folderListIsSortedAndSelected()
{
    for (const char* name : {"b.docx", "d.odt", "B.txt", "notes.md", "metatags.txt"})
        QVERIFY(writeFile(templates + QLatin1Char('/') + QLatin1String(name), "x"));
    TemplatesList list;
    QSignalSpy done(&list, &TemplatesList::done);

    QVERIFY(list.load(templates));
    QCOMPARE(done.count(), 1);
    QStringList names;
    QList<int> types;
    for (int i = 0; i < list.count(); ++i) {
        QString name;
        list.get(i, name);
        names << name;
        types << list.getType(i);
        QVERIFY(list.isSelected(i));
    }
    QCOMPARE(names, QStringList({"B.txt", "a.txt", "b.docx", "b.txt", "c.txt", "d.odt"}));
    QCOMPARE(types, QList<int>({1, 1, 2, 1, 1, 3}));
    QString fullName;
    list.getFullName(2, fullName);
    QCOMPARE(fullName, templates + QDir::separator() + QStringLiteral("b.docx"));

    QString outside = QStringLiteral("x");
    QVERIFY(list.get(-1, outside));
    QVERIFY(outside.isNull());
    QVERIFY(!list.isSelected(list.count()));

    QVERIFY(list.load(dir.filePath(QStringLiteral("no such folder"))));
    QCOMPARE(list.count(), 0);
}

void TestTemplatesBatch::types_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::newRow("docx") << "report.docx" << 2;
    QTest::newRow("upper TXT") << "contract.TXT" << 1;
    QTest::newRow("odt") << "act.odt" << 3;
    QTest::newRow("extension inside the name") << "report.docx.bak" << 2;
    QTest::newRow("mixed case") << "report.Docx" << 0;
    QTest::newRow("no extension") << "README" << 0;
}

void TestTemplatesBatch::types()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    TemplatesList list;
    list.append(name);
    QCOMPARE(list.getType(0), type);
}

void TestTemplatesBatch::serverListDocument()
{
    TemplatesList list;
    TemplateListXmlHandler handler(&list);
    QVERIFY(handler.parse(QByteArrayLiteral("<?xml version=\"1.0\"?>"
                                            "<Templates baseurl=\"https://t.example/templates\">"
                                            "<template type=\"docx\">отчёт.docx</template>"
                                            "<TEMPLATE>акт.docx</TEMPLATE><note>x</note>"
                                            "<template>договор.txt</template></Templates>")));
    QCOMPARE(list.count(), 3);
    QCOMPARE(list.getBaseDir(), QStringLiteral("https://t.example/templates"));
    QString fullName;
    list.getFullName(0, fullName);
    QCOMPARE(fullName, QStringLiteral("https://t.example/templates/отчёт.docx"));
}

void TestTemplatesBatch::handlerWithoutListThrows()
{
    TemplateListXmlHandler handler;
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, handler.parse(QByteArrayLiteral("<templates baseurl=\"x\"/>")));
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, handler.processTemplateItem(QStringLiteral("a.txt"), QString()));
}

void TestTemplatesBatch::documentFolder_data()
{
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("plate");
    QTest::addColumn<QString>("folder");
    QTest::newRow("slash") << "12/5" << "А123ВС" << "12 5-ВАЗ 2107-А123ВС";
    QTest::newRow("backslashes") << "12\\5\\1" << "А/123" << "12 5 1-ВАЗ 2107-А 123";
    // Whatever the values, the documents go to one folder inside the base folder.
    QTest::newRow("parent folders") << "../.." << ".." << ".. ..-ВАЗ 2107-..";
    QTest::newRow("absolute paths") << "/etc/passwd" << "C:\\Windows" << " etc passwd-ВАЗ 2107-C  Windows";
    QTest::newRow("NUL and line feed") << QStringLiteral("12\0\n5") << "А1" << "12  5-ВАЗ 2107-А1";
    QTest::newRow("forbidden elsewhere") << "1:2*3?\"4\"<5>|" << "А\t1" << "1 2 3  4  5  -ВАЗ 2107-А 1";
    const QString longNumber = QStringLiteral("Д").repeated(1000000);
    QTest::newRow("megabyte number cut") << longNumber << "А1" << longNumber.left(120);
}

void TestTemplatesBatch::documentFolder()
{
    QFETCH(QString, number);
    QFETCH(QString, plate);
    QFETCH(QString, folder);
    storage->setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), number);
    storage->setTag(QStringLiteral("РЕГИСТРАЦИОННЫЙ_ЗНАК"), plate);
    TemplatesToDocumentsBatch batch;
    QString base = QStringLiteral("/base"), docDir;
    batch.constructDocDir(*evaluation, base, docDir);
    QCOMPARE(docDir, QStringLiteral("/base") + QDir::separator() + folder);
}

void TestTemplatesBatch::producesEverySelectedTemplate()
{
    TemplatesList list;
    list.load(templates);
    RecordingBatch batch;

    QVERIFY(runBatch(batch, list));
    const QString docDir = batch.getDocDir();
    const QString folder = QFileInfo(docDir).fileName();
    QCOMPARE(batch.progress, QList<QList<QVariant>>({{folder, 0, 0},
                                                     {"a.txt", 100, 33},
                                                     {"b.txt", 100, 66},
                                                     {"c.txt", 100, 100},
                                                     {folder, 100, 100}}));
    QCOMPARE(batch.produced, QStringList({"a.txt", "b.txt", "c.txt"}));
    QCOMPARE(readFile(docDir + QStringLiteral("/b.txt")), QByteArray("<p>Договор 12/5, b.txt</p>"));
    QCOMPARE(batch.getErrorInfo().code(), ErrorInfo::ErrNone);
}

// A host asked to stop while the first document is made: that one is finished, no other
// is started, and done() still comes.
void TestTemplatesBatch::stopEndsAfterTheDocumentInHand()
{
    TemplatesList list;
    list.load(templates);
    RecordingBatch batch;
    connect(&batch, &TemplatesToDocumentsBatch::progress, &batch, [&](QString&, int partPercent) {
        if (partPercent == 100)
            batch.stop();
    });

    QVERIFY(runBatch(batch, list));
    QCOMPARE(batch.produced, QStringList{QStringLiteral("a.txt")});
    QCOMPARE(QDir(batch.getDocDir()).entryList(QDir::Files), QStringList{QStringLiteral("a.txt")});
    QCOMPARE(batch.getErrorInfo().code(), ErrorInfo::ErrNone);
}

void TestTemplatesBatch::skips_data()
{
    QTest::addColumn<QString>("extra");         // a further file in the templates folder
    QTest::addColumn<bool>("documentExists");   // b.txt was produced before
    QTest::addColumn<bool>("overwrite");        // the host's answer
    QTest::addColumn<QStringList>("produced");
    QTest::addColumn<int>("progressSignals");

    QTest::newRow("odt template rendered too") << "d.odt" << false << true << QStringList({"a.txt", "b.txt", "c.txt", "d.odt"}) << 6;
    QTest::newRow("override refused") << "" << true << false << QStringList({"a.txt", "c.txt"}) << 4;
    QTest::newRow("override accepted") << "" << true << true << QStringList({"a.txt", "b.txt", "c.txt"}) << 5;
}

void TestTemplatesBatch::skips()
{
    QFETCH(QString, extra);
    QFETCH(bool, documentExists);
    QFETCH(bool, overwrite);
    QFETCH(QStringList, produced);
    QFETCH(int, progressSignals);
    if (!extra.isEmpty())
        QVERIFY(QFile::copy(QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/act.odt"), templates + QLatin1Char('/') + extra));
    const QString earlier = out + QStringLiteral("/12 5-ВАЗ 2107-А123ВС/b.txt");
    if (documentExists)
        QVERIFY(writeFile(earlier, "earlier"));
    TemplatesList list;
    list.load(templates);
    RecordingBatch batch;
    batch.overwrite = overwrite;

    QVERIFY(runBatch(batch, list));
    QCOMPARE(batch.produced, produced);
    QCOMPARE(batch.asked, documentExists ? QStringList({"b.txt"}) : QStringList());
    QCOMPARE(batch.progress.size(), progressSignals);
    QCOMPARE(readFile(earlier) == "earlier", documentExists && !overwrite);
    QCOMPARE(QFileInfo::exists(QFileInfo(earlier).dir().filePath(QStringLiteral("d.odt"))), produced.contains("d.odt"));
}

void TestTemplatesBatch::generatorErrorStopsTheBatch()
{
    QVERIFY(writeFile(templates + QStringLiteral("/b.docx"), "not a zip"));
    TemplatesList list;
    list.load(templates);
    list.select(0, false); // a.txt
    RecordingBatch batch;
    QSignalSpy done(&batch, qOverload<>(&TemplatesToDocumentsBatch::done));
    RecordingAppender log;
    AppenderRegistration registration(&log);

    QVERIFY(batch.make(*evaluation, list, out));
    QVERIFY(done.wait(10000));
    QVERIFY(!log.messages(Logger::Warning).filter(QStringLiteral("b.docx")).isEmpty());
    QVERIFY2(log.messages(Logger::Warning).filter(QStringLiteral("А123ВС")).isEmpty(),
             "the folder name, made of tag values, reached the log");
    QTest::qWait(50); // nothing follows the stop
    QCOMPARE(done.count(), 1);
    QCOMPARE(batch.getErrorInfo().code(), ErrorInfo::ErrRead);
    QVERIFY(batch.getErrorInfo().message().contains(QStringLiteral("b.docx")));
    QVERIFY(batch.produced.isEmpty());
    QCOMPARE(batch.progress.last().at(0).toString(), QStringLiteral("b.docx"));
    QVERIFY(!QFileInfo::exists(batch.getDocDir() + QStringLiteral("/b.txt")));
}

void TestTemplatesBatch::templateFindings_data()
{
    QTest::addColumn<int>("check");
    QTest::addColumn<QStringList>("findings");
    QTest::addColumn<QStringList>("produced");

    const QStringList all{"a.txt", "b.txt", "c.txt"};
    const QStringList found{"b.txt b.txt:1: unknown tag name \"НЕТ_ТАКОГО\"",
                            "b.txt b.txt:2: unclosed tag: \"<#МАРКА_ТС\" has no #>"};
    QTest::newRow("not analysed") << int(TemplateToDocument::NoTemplateCheck) << QStringList() << all;
    QTest::newRow("reported") << int(TemplateToDocument::ReportTemplateFindings) << found << all;
    QTest::newRow("refused") << int(TemplateToDocument::RefuseTemplateWithFindings) << found << QStringList{"a.txt"};
}

void TestTemplatesBatch::templateFindings()
{
    QFETCH(int, check);
    QFETCH(QStringList, findings);
    QFETCH(QStringList, produced);
    QVERIFY(writeFile(templates + QStringLiteral("/b.txt"), "<p><#НЕТ_ТАКОГО#>\n<#МАРКА_ТС</p>"));
    TemplatesList list;
    list.load(templates);
    RecordingBatch batch;
    batch.setTemplateCheck(TemplateToDocument::TemplateCheck(check));

    QVERIFY(runBatch(batch, list));
    QStringList found;
    for (const TemplateChecker::Problem& problem : batch.templateFindings())
        found << QStringLiteral("%1 %2:%3: %4")
                     .arg(problem.templateName, problem.location.part)
                     .arg(problem.location.paragraph)
                     .arg(problem.message);
    QCOMPARE(found, findings);
    QCOMPARE(batch.produced, produced);
    QCOMPARE(batch.getErrorInfo().code(), produced == QStringList{"a.txt"} ? ErrorInfo::ErrRead : ErrorInfo::ErrNone);
}

void TestTemplatesBatch::unusableFolderStartsNothing()
{
    QVERIFY(writeFile(out, "a file where the folder should be"));
    TemplatesList list;
    list.load(templates);
    RecordingBatch batch;
    QSignalSpy done(&batch, qOverload<>(&TemplatesToDocumentsBatch::done));

    RecordingAppender log;
    AppenderRegistration registration(&log);

    QVERIFY(!batch.make(*evaluation, list, out));
    QCOMPARE(done.count(), 0);
    QCOMPARE(log.messages(Logger::Warning).size(), 1);
    QVERIFY(log.messages().filter(QStringLiteral("А123ВС")).isEmpty());
    QVERIFY(batch.progress.isEmpty());
}

void TestTemplatesBatch::linkInTheDocumentsPlace_data()
{
    QTest::addColumn<QString>("templateName");
    QTest::addColumn<bool>("dangling");  // the link points at nothing yet
    QTest::addColumn<bool>("overwrite"); // the host's answer

    QTest::newRow("text, dangling link, overwrite") << "b.txt" << true << true;
    QTest::newRow("text, dangling link, keep") << "b.txt" << true << false;
    QTest::newRow("text, link to a file, overwrite") << "b.txt" << false << true;
    QTest::newRow("docx, dangling link, overwrite") << "b.docx" << true << true;
    QTest::newRow("docx, link to a file, overwrite") << "b.docx" << false << true;
}

// The folder's name is known in advance, so a link may wait there under a document's
// name: it is kept when the host keeps documents, refused when it overwrites them, and
// never written through.
void TestTemplatesBatch::linkInTheDocumentsPlace()
{
    QFETCH(QString, templateName);
    QFETCH(bool, dangling);
    QFETCH(bool, overwrite);
    QVERIFY(QFile::copy(QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/act.docx"),
                        templates + QStringLiteral("/b.docx")));
    const QString docDir = out + QStringLiteral("/12 5-ВАЗ 2107-А123ВС");
    const QString elsewhere = QFileInfo(out).path() + QStringLiteral("/elsewhere");
    QVERIFY(QDir().mkpath(docDir));
    if (!dangling)
        QVERIFY(writeFile(elsewhere, "precious"));
    const QString link = docDir + QLatin1Char('/') + templateName;
    QVERIFY(QFile::link(elsewhere, link));
    TemplatesList list;
    list.load(templates);
    QString name;
    for (int i = 0; i < list.count(); ++i)
        list.select(i, list.get(i, name) && name == templateName);
    RecordingBatch batch;
    batch.overwrite = overwrite;

    QVERIFY(runBatch(batch, list));
    QCOMPARE(batch.asked, QStringList{templateName});
    QVERIFY(batch.produced.isEmpty());
    QCOMPARE(QFileInfo(link).symLinkTarget(), elsewhere);
    QCOMPARE(QFileInfo::exists(elsewhere), !dangling);
    if (!dangling)
        QCOMPARE(readFile(elsewhere), QByteArray("precious"));
    QCOMPARE(QDir(docDir).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{templateName});
    const ErrorInfo& error = batch.getErrorInfo();
    QCOMPARE(error.code(), overwrite ? ErrorInfo::ErrWrite : ErrorInfo::ErrNone);
    if (overwrite)
        QVERIFY2(error.message().contains(link) && error.message().contains(QLatin1String("symbolic link")),
                 qPrintable(error.message()));
}

void TestTemplatesBatch::linkedDocumentFolderIsRefused()
{
    const QString elsewhere = QFileInfo(out).path() + QStringLiteral("/elsewhere");
    QVERIFY(QDir().mkpath(elsewhere));
    QVERIFY(QDir().mkpath(out));
    QVERIFY(QFile::link(elsewhere, out + QStringLiteral("/12 5-ВАЗ 2107-А123ВС")));
    TemplatesList list;
    list.load(templates);
    RecordingBatch batch;
    QSignalSpy done(&batch, qOverload<>(&TemplatesToDocumentsBatch::done));

    QVERIFY(!batch.make(*evaluation, list, out));
    QCOMPARE(done.count(), 0);
    QCOMPARE(batch.getErrorInfo().code(), ErrorInfo::ErrWrite);
    QVERIFY2(batch.getErrorInfo().message().contains(QLatin1String("symbolic link")),
             qPrintable(batch.getErrorInfo().message()));
    QCOMPARE(QDir(elsewhere).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

QTEST_MAIN(TestTemplatesBatch)
#include "tst_templatesbatch.moc"
