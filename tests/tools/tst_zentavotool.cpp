#include "catalog/sqlstorage.h"
#include "filesizelimit.h"
#include "localhttpsserver.h"
#include "opendocumenttext.h"
#include "wordpackage.h"
#include "zipfixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The sample's documents: the report and the act, each from its DOCX and its ODT
// template, and the contract.
constexpr int SampleDocuments = 5;

struct Run
{
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

// Starts the built tool as a user would: no display, no runtime folder, no Qt settings.
// Each of variables, "NAME=value", is set for this run (XDG_DATA_HOME holds the tool's
// own data, its catalog database; TMPDIR its temporary files; LC_ALL its locale).
void start(QProcess& process, const QStringList& arguments, const QStringList& variables = {},
           const QString& program = QStringLiteral(ZENTAVO_TOOL))
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& variable : variables)
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
}

// The event loop turns meanwhile, so a server of the test can answer the tool. What the
// test already read of standard error is given back in saidBefore.
Run finished(QProcess& process, const QByteArray& saidBefore = {})
{
    Run run;
    QSignalSpy ended(&process, &QProcess::finished);
    if (process.state() != QProcess::NotRunning)
        ended.wait(120000);
    if (process.state() != QProcess::NotRunning || process.error() == QProcess::FailedToStart
        || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.errLines = QString::fromUtf8(saidBefore + process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
}

// Waits until the tool reports its first document on standard error; what it said
// meanwhile is kept in said.
bool waitForFirstDocument(QProcess& process, QByteArray& said)
{
    process.setReadChannel(QProcess::StandardError);
    process.waitForStarted();
    for (int waited = 0; !said.contains("] ") && waited < 120 && process.state() == QProcess::Running; ++waited) {
        process.waitForReadyRead(1000);
        said += process.readAllStandardError();
    }
    return said.contains("] ");
}

// With a file size limit, the child meets a full disk at that many bytes.
Run zentavo(const QStringList& arguments, qint64 fileSizeLimit = -1, const QStringList& variables = {})
{
    QProcess process;
    if (fileSizeLimit >= 0)
        FileSizeLimit::applyToChild(process, fileSizeLimit);
    start(process, arguments, variables);
    return finished(process);
}

// A tag's value as the evaluation file stores it; null when the file has no such line.
QString storedTag(const QString& evaluation, const QString& name)
{
    const QByteArray prefix = name.toUtf8() + '=';
    for (const QByteArray& line : contentOf(evaluation, QStringLiteral("tag_list.txt")).split('\n'))
        if (line.startsWith(prefix))
            return QString::fromUtf8(line.mid(prefix.size()));
    return QString();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another program's connection holding a database file locked while it lives.
class LockHolder
{
public:
    explicit LockHolder(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("holder"));
        db.setDatabaseName(path);
        locked = db.open() && QSqlQuery(db).exec(QStringLiteral("begin exclusive"));
    }
    ~LockHolder()
    {
        QSqlDatabase::database(QStringLiteral("holder")).close();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
    }
    bool locked = false;
};

int filesBelow(const QString& folder)
{
    int files = 0;
    for (QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); it.next())
        ++files;
    return files;
}

// The worker processes a render started, by their process ids.
QList<qint64> childrenOf(qint64 pid)
{
    QList<qint64> children;
    QFile file(QStringLiteral("/proc/%1/task/%1/children").arg(pid));
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& child : file.readAll().simplified().split(' '))
            if (!child.isEmpty())
                children.append(child.toLongLong());
    return children;
}

// The documents a render's summary lists as written: the lines under "EVALUATION -> FOLDER".
QStringList listedDocuments(const QString& summary)
{
    QStringList documents;
    QString folder;
    for (const QString& line : summary.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String(" -> ")))
            folder = line.section(QStringLiteral(" -> "), 1);
        else if (line.startsWith(QLatin1String("  ")) && !line.contains(QLatin1String("(exists, kept")))
            documents.append(folder + QLatin1Char('/') + line.trimmed());
    }
    return documents;
}

// A document written whole: a DOCX package with its main part, or a text that ends
// with its template's last line.
bool isWhole(const QString& document)
{
    if (document.endsWith(QLatin1String(".docx")))
        return !contentOf(document, QStringLiteral("word/document.xml")).isEmpty();
    if (document.endsWith(QLatin1String(".odt")))
        return !contentOf(document, QStringLiteral("content.xml")).isEmpty();
    return readFile(document).endsWith("</p>\n");
}

// The new files a writer leaves beside a document until it is complete.
QStringList temporaryFilesBelow(const QString& folder)
{
    QStringList found;
    for (QDirIterator it(folder, {QStringLiteral("*.part-*")}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        found.append(it.next());
    return found;
}

QJsonObject jsonOf(const QString& path)
{
    return QJsonDocument::fromJson(readFile(path)).object();
}

// The user's language as a login shell sets it: LANG alone decides.
QStringList language(const QString& lang)
{
    return {QStringLiteral("LANG=") + lang, QStringLiteral("LC_ALL="), QStringLiteral("LC_MESSAGES="),
            QStringLiteral("LANGUAGE=")};
}

// Processes still running whose command line names path.
int processesNaming(const QString& path)
{
    int found = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList({QStringLiteral("[0-9]*")}, QDir::Dirs)) {
        QFile commandLine(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (pid.toLongLong() != QCoreApplication::applicationPid() && commandLine.open(QIODevice::ReadOnly)
            && commandLine.readAll().contains(path.toUtf8()))
            ++found;
    }
    return found;
}

} // namespace

// The sample of examples/ made and rendered by the tool, and the tool's answers to bad input.
class TestZentavoTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rendersTheSample();
    void sampleOdtDocumentsReadAsTheirDocxTwins_data();
    void sampleOdtDocumentsReadAsTheirDocxTwins();
    void rendersFromATemplateServer();
    void keepsExistingDocuments();
    void checksTheSampleTemplate();
    void renderWarnsOfTemplateFindings_data();
    void renderWarnsOfTemplateFindings();
    void badInput_data();
    void badInput();
    void concurrentChangesAreNeverLost();
    void fullDiskKeepsTheEvaluation_data();
    void fullDiskKeepsTheEvaluation();
    void companyLogoReplacesTheStoredOne();
    void fullDiskKeepsOlderDocuments_data();
    void fullDiskKeepsOlderDocuments();
    void unusableCatalogDatabase_data();
    void unusableCatalogDatabase();
    void valuesAsPeopleTypeThem_data();
    void valuesAsPeopleTypeThem();
    void reportNumbersFollowTheLocale();
    void helpForEveryCommand_data();
    void helpForEveryCommand();
    void onlyTakesSeveralNames_data();
    void onlyTakesSeveralNames();
    void pdfOfEveryDocument_data();
    void pdfOfEveryDocument();
    void interruptedRender_data();
    void interruptedRender();
    void removesWhatKilledRendersLeft();
    void workerFailures_data();
    void workerFailures();
    void oneFolderPerEvaluation_data();
    void oneFolderPerEvaluation();
    void speaksTheUsersLanguage_data();
    void speaksTheUsersLanguage();
    void sharesRenderEachEvaluationOnce();

private:
    QString examples() const { return QStringLiteral(ZENTAVO_SOURCE_DIR "/examples"); }
    QString templates() const { return examples() + QStringLiteral("/templates"); }
    QString documentFolder() const { return out + QStringLiteral("/ОЦ-2026 118-Лада Веста-А123ВС77"); }
    // A copy of the sample with changed tags, made once under name.
    QString variant(const QString& name, const QStringList& assignments);
    // A path of its own for the current data row: prefix followed by the row's tag.
    QString rowPath(const QString& prefix) const
    {
        return dir.filePath(prefix + QString::fromUtf8(QTest::currentDataTag()));
    }
    // Copies of the sample, each with an agreement number of its own.
    QStringList manyEvaluations(int count = 12);

    QTemporaryDir dir;
    QString sample;
    QStringList many;
    QString notAnEvaluation;
    QString out;
};

void TestZentavoTool::initTestCase()
{
    sample = dir.filePath(QStringLiteral("sample.zip"));
    out = dir.filePath(QStringLiteral("out"));
    QProcess make;
    make.start(QStringLiteral("bash"), {examples() + QStringLiteral("/make-sample.sh"), QStringLiteral(ZENTAVO_TOOL), sample});
    QVERIFY(make.waitForFinished(120000));
    QVERIFY2(make.exitCode() == 0, make.readAllStandardError().constData());
    notAnEvaluation = dir.filePath(QStringLiteral("notes.zip"));
    QFile notes(notAnEvaluation);
    QVERIFY(notes.open(QIODevice::WriteOnly) && notes.write("not a zip") > 0);
    // Files that are no template, under a template's name.
    QFile picture(dir.filePath(QStringLiteral("picture.docx")));
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(picture.open(QIODevice::WriteOnly) && image.save(&picture, "PNG"));
    QFile empty(dir.filePath(QStringLiteral("empty.docx")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    QVERIFY(QFile::copy(sample, dir.filePath(QStringLiteral("evaluation.docx"))));
}

QString TestZentavoTool::variant(const QString& name, const QStringList& assignments)
{
    const QString path = dir.filePath(name);
    if (!QFileInfo::exists(path)) {
        QFile::copy(sample, path);
        const Run set = zentavo(QStringList{QStringLiteral("set"), path} + assignments);
        if (set.exitCode != 0)
            qWarning() << "cannot make" << name << set.errLines;
    }
    return path;
}

QStringList TestZentavoTool::manyEvaluations(int count)
{
    QDir().mkpath(dir.filePath(QStringLiteral("many")));
    for (int i = many.size(); i < count; ++i)
        many.append(variant(QStringLiteral("many/%1.zip").arg(i), {QStringLiteral("НОМЕР_ДОГОВОРА=М-%1").arg(i)}));
    return many.mid(0, count);
}

void TestZentavoTool::rendersTheSample()
{
    const Run run = zentavo({QStringLiteral("render"), sample, notAnEvaluation, QStringLiteral("--templates"),
                             examples() + QStringLiteral("/templates"), QStringLiteral("--out"), out,
                             QStringLiteral("--jobs"), QStringLiteral("2")});

    QCOMPARE(run.exitCode, 1); // one evaluation failed, the other was rendered
    QVERIFY(run.out.contains(QStringLiteral("FAILED  ") + notAnEvaluation));
    QVERIFY(run.out.contains(QStringLiteral("%1 document(s) written").arg(SampleDocuments)));
    // stderr: the progress lines and the one line of the failure; no Qt diagnostics.
    QCOMPARE(run.errLines.filter(QRegularExpression(QStringLiteral("^\\[\\d+/\\d+\\] "))).size(), SampleDocuments);
    QCOMPARE(run.errLines.size(), SampleDocuments + 1);

    const QString contract = QString::fromUtf8(readFile(documentFolder() + QStringLiteral("/contract.txt")));
    QVERIFY(contract.contains(QStringLiteral("ДОГОВОР № ОЦ-2026/118")));
    QVERIFY(contract.contains(QStringLiteral("3500.50 руб. (Три тысячи пятьсот рублей 50 копеек)")));
    QVERIFY(contract.contains(QStringLiteral("гарантией № БГ-77/2026")));

    const QString report = documentFolder() + QStringLiteral("/valuation-report.docx");
    const QByteArray body = contentOf(report, QStringLiteral("word/document.xml"));
    const QString text = WordPackage::textOf(body);
    for (const char* expected :
         {"ОТЧЁТ № ОЦ-2026/118", "При осмотре обнаружено: скол на лобовом стекле", "Фаркоп", "Коврики",
          "по затратному подходу: 1064125 руб.", "1051850", "1081000", "1035300", "3 аналогов: 1056050 руб.",
          "составляет 1058742 руб. (Один миллион пятьдесят восемь тысяч семьсот сорок два рубля 00 копеек)",
          "Соколова А. С."})
        QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
    QVERIFY(!text.contains(QStringLiteral("повреждений не обнаружено")));
    QVERIFY(!text.contains(QStringLiteral("<#")));
    QVERIFY(WordPackage::textOf(report, QStringLiteral("word/header1.xml")).contains(QStringLiteral("отчёт № ОЦ-2026/118")));
    // The logo, two photos and the chart; the third photo frame has no photo and is gone.
    QCOMPARE(body.count("<w:drawing>"), 4);

    const QString act = WordPackage::textOf(documentFolder() + QStringLiteral("/examination-act.docx"), QStringLiteral("word/document.xml"));
    QVERIFY(act.contains(QStringLiteral("АКТ ОСМОТРА № 17")));
    QVERIFY(act.contains(QStringLiteral("XTAGFK330LY123456")));
    QVERIFY(act.contains(QStringLiteral("Собственник: Иванов И. И. ")));
    QVERIFY(!QFileInfo::exists(documentFolder() + QStringLiteral("/metatags.txt")));
}

void TestZentavoTool::sampleOdtDocumentsReadAsTheirDocxTwins_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("odtPart");
    QTest::addColumn<QStringList>("docxParts");
    QTest::newRow("report") << "valuation-report" << "content.xml" << QStringList{"word/document.xml"};
    QTest::newRow("report header and footer")
        << "valuation-report" << "styles.xml" << QStringList{"word/header1.xml", "word/footer1.xml"};
    QTest::newRow("act") << "examination-act" << "content.xml" << QStringList{"word/document.xml"};
}

// The report and the act made from the ODT templates say, paragraph by paragraph, what the
// ones made from the DOCX templates say: both templates were exported from one source.
void TestZentavoTool::sampleOdtDocumentsReadAsTheirDocxTwins()
{
    QFETCH(QString, document);
    QFETCH(QString, odtPart);
    QFETCH(QStringList, docxParts);
    const QString odt = documentFolder() + QLatin1Char('/') + document + QStringLiteral(".odt");
    QCOMPARE(OpenDocumentText::problemsOf(odt), QStringList());
    QStringList fromDocx;
    for (const QString& part : docxParts)
        fromDocx += WordPackage::paragraphsOf(contentOf(documentFolder() + QLatin1Char('/') + document + QStringLiteral(".docx"), part));
    QStringList fromOdt = OpenDocumentText::paragraphsOf(contentOf(odt, odtPart));
    // A page number is a field each word processor counts for itself.
    static const QRegularExpression pageNumber(QStringLiteral("стр\\. \\d+$"));
    fromDocx.replaceInStrings(pageNumber, QStringLiteral("стр. N"));
    fromOdt.replaceInStrings(pageNumber, QStringLiteral("стр. N"));
    QVERIFY(fromOdt.size() > 10 || odtPart == QLatin1String("styles.xml"));
    QCOMPARE(fromOdt, fromDocx);
    QVERIFY(!fromOdt.join(QString()).contains(QLatin1String("<#")));
}

// The list, the meta tags and each template are fetched once, however many workers render.
void TestZentavoTool::rendersFromATemplateServer()
{
    LocalHttpsServer server;
    QVERIFY(server.startPlain());
    const QString templates = examples() + QStringLiteral("/templates/");
    QByteArray list = "<templates baseurl=\"" + server.url(QStringLiteral("/t")).toEncoded() + "\">";
    for (const char* name : {"valuation-report.docx", "contract.txt", "metatags.txt", "valuation-report.fodt",
                             "examination-act.docx"}) {
        list += QByteArray("<template>") + name + "</template>";
        server.respond(QStringLiteral("/t/") + QLatin1String(name), 200, readFile(templates + QLatin1String(name)));
    }
    server.respond(QStringLiteral("/list.xml"), 200, list + "</templates>");
    server.respond(QStringLiteral("/cgi-bin/getMetaTags.cgi"), 200, readFile(templates + QStringLiteral("metatags.txt")));
    // The tool's settings (its configuration folder is this test's) name the template server.
    QSettings settings(qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Zentavo/Zentavo.conf"),
                       QSettings::IniFormat);
    settings.setValue(QStringLiteral("network/templateServer"), server.url().toString());
    settings.sync();
    const QString scratch = dir.filePath(QStringLiteral("served"));
    QVERIFY(QDir().mkpath(scratch + QStringLiteral("/tmp")));

    QProcess process;
    start(process, {QStringLiteral("render"), sample, notAnEvaluation, QStringLiteral("--templates"),
                    server.url(QStringLiteral("/list.xml")).toString(), QStringLiteral("--out"), scratch + QStringLiteral("/out"),
                    QStringLiteral("--jobs"), QStringLiteral("2")},
          {QStringLiteral("TMPDIR=") + scratch + QStringLiteral("/tmp")});
    const Run run = finished(process);
    settings.remove(QStringLiteral("network/templateServer"));

    QCOMPARE(run.exitCode, 1); // the evaluation that is none failed
    QVERIFY2(run.out.contains(QStringLiteral("3 document(s) written")), qPrintable(run.out));
    QStringList asked;
    for (const LocalHttpsServer::Request& request : server.requests())
        asked.append(request.path);
    QCOMPARE(asked, (QStringList{"/list.xml", "/cgi-bin/getMetaTags.cgi", "/t/contract.txt", "/t/examination-act.docx",
                                 "/t/valuation-report.docx"}));
    const QString folder = scratch + QStringLiteral("/out/ОЦ-2026 118-Лада Веста-А123ВС77");
    const QString header = WordPackage::textOf(folder + QStringLiteral("/valuation-report.docx"), QStringLiteral("word/header1.xml"));
    QVERIFY2(header.contains(QStringLiteral("отчёт № ОЦ-2026/118")), qPrintable(header)); // the served meta tags
    QCOMPARE(QDir(scratch + QStringLiteral("/tmp")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
             QStringList());
}

void TestZentavoTool::keepsExistingDocuments()
{
    const QString contract = documentFolder() + QStringLiteral("/contract.txt");
    QFile file(contract);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("edited by hand") > 0);
    file.close();

    const Run run = zentavo({QStringLiteral("render"), sample, QStringLiteral("--templates"),
                             examples() + QStringLiteral("/templates"), QStringLiteral("--out"), out,
                             QStringLiteral("--only"), QStringLiteral("contract.txt")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.contains(QStringLiteral("0 document(s) written, 1 kept")));
    QCOMPARE(readFile(contract), QByteArray("edited by hand"));
}

void TestZentavoTool::checksTheSampleTemplate()
{
    const Run run = zentavo({QStringLiteral("check"), examples() + QStringLiteral("/templates/valuation-report.docx"), sample});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errLines, QStringList());
    QVERIFY2(run.out.contains(QStringLiteral("word/document.xml:2\ttag \t<#НОМЕР_ДОГОВОРА#>\t\"ОЦ-2026/118\"\t| ОТЧЁТ №")),
             qPrintable(run.out.left(300)));
    QVERIFY(!run.out.contains(QStringLiteral("error:")));
}

void TestZentavoTool::renderWarnsOfTemplateFindings_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<bool>("written");
    QTest::newRow("warnings") << QStringList() << 0 << true;
    QTest::newRow("strict") << QStringList{"--strict"} << 1 << false;
    QTest::newRow("strict, worker processes") << QStringList{"--strict", "--jobs", "2"} << 1 << false;
}

// Each template is analysed once, whatever the number of evaluations.
void TestZentavoTool::renderWarnsOfTemplateFindings()
{
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(bool, written);
    const QString scratch = rowPath(QStringLiteral("findings/"));
    QVERIFY(QDir().mkpath(scratch + QStringLiteral("/templates")));
    QFile flawed(scratch + QStringLiteral("/templates/flawed.txt"));
    QVERIFY(flawed.open(QIODevice::WriteOnly));
    flawed.write(QStringLiteral("<p>VIN: <#VIN#>, <#НЕТ_ТАКОГО#></p>\n<?VIN?>без конца\n").toUtf8());
    flawed.close();

    const Run run = zentavo(QStringList{"render", sample, variant(QStringLiteral("second.zip"), {"НОМЕР_ДОГОВОРА=ОЦ-2026/119"}),
                                        "--templates", scratch + QStringLiteral("/templates"),
                                        "--out", scratch + QStringLiteral("/out"), "--overwrite"}
                            + options);
    QCOMPARE(run.exitCode, exitCode);
    QStringList expected{"zentavo: warning: flawed.txt:1: unknown tag name \"НЕТ_ТАКОГО\"",
                         "zentavo: warning: flawed.txt:2: condition \"VIN\" has no end"};
    if (!written)
        expected << "zentavo: 2 problem(s) in the templates; with --strict nothing is rendered";
    QCOMPARE(run.errLines.filter(QStringLiteral("zentavo: ")), expected);
    QCOMPARE(filesBelow(scratch + QStringLiteral("/out")), written ? 2 : 0);
}

void TestZentavoTool::badInput_data()
{
    QTest::addColumn<QStringList>("arguments"); // %S the sample, %N not an evaluation, %T the templates
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QStringList render{"render", "%S", "--templates", "%T", "--out"};
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "unknown command";
    QTest::newRow("unknown flag") << render + QStringList{"%D", "--colour"} << 2 << "colour";
    QTest::newRow("jobs not a number") << render + QStringList{"%D", "--jobs", "many"} << 2 << "--jobs";
    QTest::newRow("unknown template") << render + QStringList{"%D", "--only", "x.docx"} << 1 << "x.docx";
    QTest::newRow("template server unreachable")
        << QStringList{"render", "%S", "--templates", "http://127.0.0.1:9/list.xml", "--out", "%D"} << 1
        << "the template list http://127.0.0.1:9/list.xml cannot be fetched: cannot connect to http://127.0.0.1:9: ";
    QTest::newRow("unwritable output") << render + QStringList{"%N"} << 1 << "failed";
    QTest::newRow("missing file") << QStringList{"tags", "%D/none.zip"} << 1 << "no such file";
    QTest::newRow("not an evaluation") << QStringList{"tags", "%N"} << 1 << "not an evaluation";
    QTest::newRow("unknown tag") << QStringList{"tags", "%S", "НЕТ_ТАКОГО#R"} << 1 << "НЕТ_ТАКОГО";
    QTest::newRow("tag no file keeps") << QStringList{"set", "%S", "НЕТ_ТАКОГО=1"} << 1 << "НЕТ_ТАКОГО";
    QTest::newRow("photo not a picture") << QStringList{"photo", "add", "%S", "%N"} << 1 << "not a picture";
    QTest::newRow("template with errors") << QStringList{"check", "%R/checkerrors.docx"} << 1 << "6 error(s)";
    QTest::newRow("check needs a template") << QStringList{"check"} << 2 << "usage";
    QTest::newRow("check of a picture named .docx") << QStringList{"check", "%F/picture.docx"} << 1 << "not a zip archive";
    QTest::newRow("check of an empty file") << QStringList{"check", "%F/empty.docx"} << 1 << "not a zip archive";
    QTest::newRow("check of an evaluation named .docx") << QStringList{"check", "%F/evaluation.docx"} << 1
                                                         << "no [Content_Types].xml";
    QTest::newRow("not an amount") << QStringList{"words", "12,3.4"} << 2 << "not an amount";
    QTest::newRow("catalog server unreachable")
        << QStringList{"catalog", "update", "banks", "--server", "https://127.0.0.1:9"} << 1 << "Banks";
    QTest::newRow("catalog server not a URL") << QStringList{"catalog", "update", "--server", "no url"} << 2
                                              << "not a server URL";
    QTest::newRow("photo for a missing file") << QStringList{"photo", "add", "%D/typo.zip", "%N"} << 1 << "no such file";
    QTest::newRow("tag file line not a tag") << QStringList{"set", "%D/new.zip", "--from", "%T/contract.txt"} << 2
                                             << "contract.txt:1: not NAME=VALUE";
    for (const char* shard : {"3/3", "0/0", "-1/3", "a/b", "1"})
        QTest::newRow(qPrintable(QStringLiteral("shard %1").arg(QLatin1String(shard))))
            << QStringList{"render", "%S", "--templates", "%T", "--out", "%D", "--shard", shard} << 2 << "--shard";
    QTest::newRow("evaluation being saved") << QStringList{"set", "%L", "ЦЕЛЬ_ОЦЕНКИ=1"} << 1
                                            << "being saved by another program";
}

void TestZentavoTool::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString scratch = rowPath(QString());
    QVERIFY(QDir().mkpath(scratch));
    for (QString& argument : arguments)
        argument.replace(QLatin1String("%S"), sample)
            .replace(QLatin1String("%N"), notAnEvaluation)
            .replace(QLatin1String("%T"), examples() + QStringLiteral("/templates"))
            .replace(QLatin1String("%D"), scratch)
            .replace(QLatin1String("%R"), QStringLiteral(ZENTAVO_TESTS_DIR "/report/data"))
            .replace(QLatin1String("%F"), dir.path());
    const QByteArray sampleBefore = readFile(sample);
    // Another program holds the evaluation it is saving (its lock goes with this test).
    QLockFile otherWriter(sample + QStringLiteral(".lock"));
    if (arguments.contains(QLatin1String("%L"))) {
        QVERIFY(otherWriter.tryLock(0));
        arguments.replaceInStrings(QStringLiteral("%L"), sample);
    }

    const Run run = zentavo(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines.first().startsWith(QLatin1String("zentavo: ")), qPrintable(run.errLines.first()));
    QVERIFY2(run.errLines.first().contains(message) || run.out.contains(message), qPrintable(run.errLines.first()));
    QCOMPARE(readFile(sample), sampleBefore);
    QCOMPARE(QDir(scratch).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// Two offices change one evaluation at the same moment: each change either lands or is
// refused with a message; no change is lost while both report success.
void TestZentavoTool::concurrentChangesAreNeverLost()
{
    const QString shared = dir.filePath(QStringLiteral("shared.zip"));
    const QStringList names{QStringLiteral("ЦЕЛЬ_ОЦЕНКИ"), QStringLiteral("НОМЕР_ДОГОВОРА")};
    int landed = 0;
    for (int round = 0; round < 30; ++round) {
        QFile::remove(shared);
        QVERIFY(QFile::copy(sample, shared));
        QProcess first, second;
        const QString value = QStringLiteral("round %1").arg(round);
        start(first, {QStringLiteral("set"), shared, names.at(0) + QLatin1Char('=') + value});
        start(second, {QStringLiteral("set"), shared, names.at(1) + QLatin1Char('=') + value});
        const Run runs[] = {finished(first), finished(second)};
        for (int i = 0; i < 2; ++i) {
            if (runs[i].exitCode == 0) {
                QCOMPARE(storedTag(shared, names.at(i)), value);
                ++landed;
            } else {
                QCOMPARE(runs[i].errLines.size(), 1);
                QVERIFY2(runs[i].errLines.first().contains(shared), qPrintable(runs[i].errLines.first()));
            }
        }
    }
    QVERIFY2(landed > 30, "the two writers hardly ever both got through: the test tested little");
}

void TestZentavoTool::fullDiskKeepsTheEvaluation_data()
{
    QTest::addColumn<double>("share"); // of the evaluation file's size, where the disk fills
    for (double share : {0.0, 0.1, 0.5, 0.9, 0.999})
        QTest::newRow(qPrintable(QString::number(share))) << share;
}

void TestZentavoTool::fullDiskKeepsTheEvaluation()
{
    QFETCH(double, share);
    const QString evaluation = dir.filePath(QStringLiteral("full-disk.zip"));
    QFile::remove(evaluation);
    QVERIFY(QFile::copy(sample, evaluation));
    const QByteArray before = readFile(evaluation);

    const Run run = zentavo({QStringLiteral("set"), evaluation, QStringLiteral("ЦЕЛЬ_ОЦЕНКИ=новая")},
                            qint64(share * double(before.size())));
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines.first().contains(evaluation), qPrintable(run.errLines.first()));
    QCOMPARE(readFile(evaluation), before);
}

// The sample's company is stored once, by the script that makes the sample; each later
// call replaces its logo, and the report shows the last one.
void TestZentavoTool::companyLogoReplacesTheStoredOne()
{
    for (const QColor& colour : {QColor(Qt::red), QColor(Qt::blue)}) {
        QImage picture(16, 16, QImage::Format_RGB32);
        picture.fill(colour);
        const QString file = dir.filePath(colour.name().mid(1) + QStringLiteral(".png"));
        QVERIFY(picture.save(file));
        QCOMPARE(zentavo({QStringLiteral("company"), QStringLiteral("logo"), sample, file}).exitCode, 0);
    }
    {
        QSqlDatabase catalog = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("tool catalog"));
        catalog.setDatabaseName(qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/zentavo/Zentavo.db"));
        QVERIFY(catalog.open());
        QSqlQuery companies(QStringLiteral("select count(*) from appraisalcompany"), catalog);
        QVERIFY(companies.next());
        QCOMPARE(companies.value(0).toInt(), 1);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("tool catalog"));

    const QString logoOut = dir.filePath(QStringLiteral("logo-out"));
    const Run run = zentavo({QStringLiteral("render"), sample, QStringLiteral("--templates"), examples() + QStringLiteral("/templates"),
                             QStringLiteral("--out"), logoOut, QStringLiteral("--only"), QStringLiteral("valuation-report.docx")});
    QCOMPARE(run.exitCode, 0);
    const QString report = logoOut + QStringLiteral("/ОЦ-2026 118-Лада Веста-А123ВС77/valuation-report.docx");
    const QImage logo = QImage::fromData(contentOf(report, QStringLiteral("word/media/image1.png")));
    QCOMPARE(logo.pixelColor(logo.width() / 2, logo.height() / 2), QColor(Qt::blue));
}

void TestZentavoTool::fullDiskKeepsOlderDocuments_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::addColumn<bool>("workers");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("unwritten");

    // Rendered, the contract has some 1.5 KB, the act and the report tens of KB.
    QTest::newRow("nothing fits") << qint64(0) << false << QStringList() << "contract.txt";
    QTest::newRow("nothing fits, in a worker") << qint64(0) << true << QStringList() << "contract.txt";
    QTest::newRow("the contract fits") << qint64(16384) << false << QStringList{"contract.txt"}
                                       << "examination-act.docx";
}

// Rendering over older documents onto a full disk: the document that could not be
// written is named with the cause on standard error, is not counted, and every document
// not written anew is as it was.
void TestZentavoTool::fullDiskKeepsOlderDocuments()
{
    QFETCH(qint64, limit);
    QFETCH(bool, workers);
    QFETCH(QStringList, written);
    QFETCH(QString, unwritten);
    const QString base = rowPath(QStringLiteral("full-"));
    const QString folder = base + QStringLiteral("/ОЦ-2026 118-Лада Веста-А123ВС77");
    const QStringList documents{"contract.txt", "examination-act.docx", "valuation-report.docx"};
    QVERIFY(QDir().mkpath(folder));
    for (const QString& document : documents) {
        QFile older(folder + QLatin1Char('/') + document);
        QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older " + document.toUtf8()) > 0);
    }
    QStringList arguments{QStringLiteral("render"), sample, QStringLiteral("--templates"),
                          examples() + QStringLiteral("/templates"), QStringLiteral("--out"), base,
                          QStringLiteral("--overwrite")};
    if (workers)
        arguments << notAnEvaluation << QStringLiteral("--jobs") << QStringLiteral("2");

    const Run run = zentavo(arguments, limit);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.out.contains(QStringLiteral("%1 document(s) written").arg(written.size())), qPrintable(run.out));
    const QStringList failures = run.errLines.filter(QRegularExpression(QStringLiteral("^zentavo: .*/")
                                                                        + QRegularExpression::escape(unwritten)
                                                                        + QStringLiteral(": .*File too large$")));
    QVERIFY2(failures.size() == 1, qPrintable(run.errLines.join(QLatin1Char('\n'))));
    for (const QString& document : documents) {
        const QByteArray content = readFile(folder + QLatin1Char('/') + document);
        QVERIFY2((content == "older " + document.toUtf8()) != written.contains(document), qPrintable(document));
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot), documents);
}

void TestZentavoTool::unusableCatalogDatabase_data()
{
    QTest::addColumn<QStringList>("arguments"); // %S the sample, %N not an evaluation, %T the templates, %D scratch
    QTest::addColumn<bool>("locked");           // by another program; else the file is damaged
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("documents");

    const QStringList render{"render", "%S", "--templates", "%T", "--out", "%D/out"};
    const QStringList bankImport{"bank", "import", "%N"};
    const QStringList update{"catalog", "update", "banks", "--server", "https://127.0.0.1:9"};
    QTest::newRow("bank import, damaged") << bankImport << false << 1 << 0;
    QTest::newRow("bank import, locked") << bankImport << true << 1 << 0;
    QTest::newRow("catalog update, damaged") << update << false << 1 << 0;
    QTest::newRow("company logo, damaged") << QStringList{"company", "logo", "%S", "%N"} << false << 1 << 0;
    // Documents need no catalog: they are written without its names and the logo.
    QTest::newRow("render, damaged") << render << false << 0 << SampleDocuments;
    QTest::newRow("render, locked") << render << true << 0 << SampleDocuments;
}

void TestZentavoTool::unusableCatalogDatabase()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, locked);
    QFETCH(int, exitCode);
    QFETCH(int, documents);
    const QString scratch = rowPath(QStringLiteral("catalog "));
    // The tool's data folder is named after its application name.
    const QString database = scratch + QStringLiteral("/data/zentavo/Zentavo.db");
    QVERIFY(QDir().mkpath(QFileInfo(database).path()));
    QFile file(database);
    if (locked) // a healthy catalog
        QVERIFY(SQLStorage::getInstance()->isHealthy() && QFile::copy(SQLStorage::getCatalogDatabaseName(), database));
    else
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
    file.close();
    const QByteArray before = readFile(database);
    for (QString& argument : arguments)
        argument.replace(QLatin1String("%S"), sample)
            .replace(QLatin1String("%N"), notAnEvaluation)
            .replace(QLatin1String("%T"), examples() + QStringLiteral("/templates"))
            .replace(QLatin1String("%D"), scratch);

    std::optional<LockHolder> other;
    if (locked)
        QVERIFY(other.emplace(database).locked);
    const Run run = zentavo(arguments, -1, {QStringLiteral("XDG_DATA_HOME=") + scratch + QStringLiteral("/data")});
    other.reset();

    QCOMPARE(run.exitCode, exitCode);
    const QString reason =
        QStringLiteral("the catalog database %1 is %2").arg(database, locked ? QStringLiteral("locked") : QStringLiteral("damaged"));
    const QStringList said = run.errLines.filter(reason);
    QCOMPARE(said.size(), 1);
    QVERIFY2(said.first().startsWith(QLatin1String("zentavo: ")), qPrintable(said.first()));
    if (documents == 0)
        QCOMPARE(run.errLines.size(), 1);
    QCOMPARE(filesBelow(scratch + QStringLiteral("/out")), documents);
    QCOMPARE(readFile(database), before);
    QCOMPARE(QDir(QFileInfo(database).path()).entryList(QDir::Files), QStringList{QStringLiteral("Zentavo.db")});
}

void TestZentavoTool::valuesAsPeopleTypeThem_data()
{
    QTest::addColumn<QStringList>("assignments");
    QTest::addColumn<QString>("refusal"); // empty when the values are taken
    QTest::addColumn<QStringList>("resolved"); // NAME=value as a report resolves it afterwards

    const QStringList sampleValues{"ЗП_СТОИМОСТЬ=1064125", "СП_СТОИМОСТЬ=1056050", "СОГЛАСОВАННАЯ_СТОИМОСТЬ=1058742"};
    QTest::newRow("decimal comma") << QStringList{"ЗП_ИЗНОС=27,5", "СП_КОРРЕКТИРОВКА_0=-3,5"} << QString()
                                   << sampleValues + QStringList{"ЗП_ИЗНОС=27.5", "СП_КОРРЕКТИРОВКА_0=-3.5"};
    QTest::newRow("grouped thousands") << QStringList{"СП_ЦЕНА_АНАЛОГА_0=1 090 000", "ЗП_СТОИМОСТЬ_НОВОГО_ТС=1\u00a0485\u00a0000"}
                                       << QString() << sampleValues;
    QTest::newRow("typographic minus") << QStringList{"СП_КОРРЕКТИРОВКА_0=\u22123,5"} << QString() << sampleValues;
    QTest::newRow("amount of a section") << QStringList{"СТОИМОСТЬ_УСЛУГ=3 500,50"} << QString()
                                         << QStringList{"СТОИМОСТЬ_УСЛУГ=3500.50"};
    QTest::newRow("date of a section") << QStringList{"ДАТА_ОЦЕНКИ=2.3.2026"} << QString()
                                       << QStringList{"ДАТА_ОЦЕНКИ=02.03.2026"};
    // An analogue without a price leaves the others counted, whatever their rows.
    QTest::newRow("analogue after a gap") << QStringList{"СП_ЦЕНА_АНАЛОГА_1="} << QString()
                                          << QStringList{"СП_КОЛИЧЕСТВО_АНАЛОГОВ=2", "СП_СТОИМОСТЬ=1043575"};
    QTest::newRow("wear above 100") << QStringList{"ЗП_ИЗНОС=150"} << "ЗП_ИЗНОС" << sampleValues;
    QTest::newRow("wear below 0") << QStringList{"ЗП_ИЗНОС=-1"} << "ЗП_ИЗНОС" << sampleValues;
    QTest::newRow("wear not a number") << QStringList{"ЗП_ИЗНОС=много"} << "ЗП_ИЗНОС" << sampleValues;
    QTest::newRow("adjustment of -100") << QStringList{"СП_КОРРЕКТИРОВКА_2=-100"} << "СП_КОРРЕКТИРОВКА_2" << sampleValues;
    QTest::newRow("price with three decimals") << QStringList{"СП_ЦЕНА_АНАЛОГА_0=1090000,505"} << "СП_ЦЕНА_АНАЛОГА_0"
                                               << sampleValues;
}

// Numbers as Russian users type them are taken, or refused with one line naming the tag;
// nothing is stored that a reader would take as 0 or empty.
void TestZentavoTool::valuesAsPeopleTypeThem()
{
    QFETCH(QStringList, assignments);
    QFETCH(QString, refusal);
    QFETCH(QStringList, resolved);
    const QString evaluation = dir.filePath(QStringLiteral("typed.zip"));
    QFile::remove(evaluation);
    QVERIFY(QFile::copy(sample, evaluation));
    const QByteArray before = readFile(evaluation);

    const Run set = zentavo(QStringList{QStringLiteral("set"), evaluation} + assignments);
    if (refusal.isEmpty()) {
        QVERIFY2(set.exitCode == 0, qPrintable(set.errLines.join(QLatin1Char('\n'))));
    } else {
        QCOMPARE(set.exitCode, 1);
        QCOMPARE(set.errLines.size(), 1);
        QVERIFY2(set.errLines.first().contains(refusal), qPrintable(set.errLines.first()));
        QCOMPARE(readFile(evaluation), before);
    }
    QStringList names;
    for (const QString& expected : resolved)
        names << expected.section(QLatin1Char('='), 0, 0);
    const Run tags = zentavo(QStringList{QStringLiteral("tags"), evaluation} + names);
    QCOMPARE(tags.exitCode, 0);
    for (const QString& expected : resolved)
        QVERIFY2(tags.out.contains(expected.section(QLatin1Char('='), 0, 0) + QStringLiteral(" = ")
                                   + expected.section(QLatin1Char('='), 1)),
                 qPrintable(expected + QStringLiteral(" in\n") + tags.out));
}

// One report, one form of numbers: the approaches' percentages are written as the
// library writes its own reals, under the user's locale.
void TestZentavoTool::reportNumbersFollowTheLocale()
{
    const QStringList names{"ЗП_ИЗНОС", "СП_КОРРЕКТИРОВКА_0", "СП_КОРРЕКТИРОВКА_1", "ВЕС_ЗАТРАТНОГО_ПОДХОДА"};
    const Run russian = zentavo(QStringList{QStringLiteral("tags"), sample} + names, -1, {QStringLiteral("LC_ALL=ru_RU.UTF-8")});
    QCOMPARE(russian.exitCode, 0);
    for (const char* expected : {"ЗП_ИЗНОС = 27,5", "СП_КОРРЕКТИРОВКА_0 = -3,5", "СП_КОРРЕКТИРОВКА_1 = -6",
                                 "ВЕС_ЗАТРАТНОГО_ПОДХОДА = 33,3"})
        QVERIFY2(russian.out.contains(QString::fromUtf8(expected)), qPrintable(russian.out));
    const Run plain = zentavo(QStringList{QStringLiteral("tags"), sample} + names);
    QVERIFY2(plain.out.contains(QStringLiteral("ЗП_ИЗНОС = 27.5")), qPrintable(plain.out));
}

void TestZentavoTool::helpForEveryCommand_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("usage"); // the first line of the help
    for (const char* command : {"render", "tags", "set", "check", "words", "money"})
        QTest::newRow(command) << QStringList{command, "--help"} << QStringLiteral("usage: zentavo %1 ").arg(QLatin1String(command));
    QTest::newRow("photo add") << QStringList{"photo", "add", "--help"} << "usage: zentavo photo add ";
    QTest::newRow("company logo") << QStringList{"company", "--help"} << "usage: zentavo company logo ";
    QTest::newRow("catalog update") << QStringList{"catalog", "update", "--help"} << "usage: zentavo catalog update ";
    QTest::newRow("bank import") << QStringList{"bank", "import", "-h"} << "usage: zentavo bank import ";
    QTest::newRow("help COMMAND") << QStringList{"help", "render"} << "usage: zentavo render ";
}

void TestZentavoTool::helpForEveryCommand()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, usage);
    const Run run = zentavo(arguments);
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errLines, QStringList());
    QVERIFY2(run.out.startsWith(usage), qPrintable(run.out));
    QVERIFY(run.out.contains(QLatin1String("--help")));
}

void TestZentavoTool::onlyTakesSeveralNames_data()
{
    QTest::addColumn<QStringList>("arguments"); // after render; %S the sample, %2 a second evaluation
    QTest::addColumn<int>("written");
    QTest::newRow("names after one --only") << QStringList{"%S", "--only", "contract.txt", "examination-act.docx"} << 2;
    QTest::newRow("--only=NAME and more") << QStringList{"--only=contract.txt", "valuation-report.docx", "%S"} << 2;
    QTest::newRow("evaluations after the names") << QStringList{"--only", "contract.txt", "%S", "%2"} << 2;
}

// Names after --only that end in .docx, .txt or .odt are templates; the first that does
// not is an evaluation.
void TestZentavoTool::onlyTakesSeveralNames()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, written);
    const QString scratch = rowPath(QStringLiteral("only/"));
    arguments.replaceInStrings(QStringLiteral("%S"), sample);
    arguments.replaceInStrings(QStringLiteral("%2"), variant(QStringLiteral("second.zip"), {"НОМЕР_ДОГОВОРА=ОЦ-2026/119"}));
    const Run run = zentavo(QStringList{"render", "--templates", templates(), "--out", scratch} + arguments);
    QVERIFY2(run.exitCode == 0, qPrintable(run.errLines.join(QLatin1Char('\n'))));
    QVERIFY2(run.out.contains(QStringLiteral("%1 document(s) written, 0 kept, 0 of").arg(written)), qPrintable(run.out));
    QCOMPARE(filesBelow(scratch), written);
}

void TestZentavoTool::pdfOfEveryDocument_data()
{
    QTest::addColumn<QByteArray>("converter"); // the shell script standing in for LibreOffice; empty: none
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("pdfs");
    QTest::addColumn<QString>("failure"); // on each document's line, when the PDFs are not made

    // Writes "%PDF", the name of what it read and its content, as LibreOffice would name the PDF.
    const QByteArray converts = "for input; do case $input in -*) ;; *) name=${input##*/};"
                                " echo \"convert $input as a Writer document -> $out/${name%.*}.pdf using filter : x\";"
                                " { echo \"%PDF-1.4 from $name\"; cat \"$input\"; } >\"$out/${name%.*}.pdf\";; esac; done";
    const QByteArray outdir = "while [ \"$1\" != --outdir ]; do shift; done; out=$2; shift 2\n";
    QTest::newRow("kept documents too") << outdir + converts << 0 << SampleDocuments << QString();
    QTest::newRow("converter fails") << QByteArray("echo 'Error: source file could not be loaded' >&2; exit 1") << 1 << 0
                                     << "no PDF made: LibreOffice: Error: source file could not be loaded";
    QTest::newRow("converter makes nothing") << QByteArray("exit 0") << 1 << 0 << "LibreOffice made no PDF of it";
    QTest::newRow("no converter") << QByteArray() << 1 << 0 << QString();
}

// Every document of the run gets its PDF, those kept from an earlier render too, and a
// text document is converted as the HTML its markup is; a converter that fails is a
// failure that leaves older PDFs as they were. No LibreOffice needed: ZENTAVO_SOFFICE
// names a script.
void TestZentavoTool::pdfOfEveryDocument()
{
    QFETCH(QByteArray, converter);
    QFETCH(int, exitCode);
    QFETCH(int, pdfs);
    QFETCH(QString, failure);
    const QString scratch = rowPath(QStringLiteral("pdf/"));
    const QString folder = scratch + QStringLiteral("/out/ОЦ-2026 118-Лада Веста-А123ВС77");
    const QString script = scratch + QStringLiteral("/soffice");
    QVERIFY(QDir().mkpath(folder));
    if (!converter.isEmpty()) {
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + converter + '\n') > 0);
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    }
    const QStringList render{"render", sample, "--templates", templates(), "--out", scratch + QStringLiteral("/out")};
    if (converter.isEmpty() || pdfs == 0) { // older PDFs, which a failure must leave as they are
        for (const char* name : {"contract.pdf", "valuation-report.pdf"}) {
            QFile older(folder + QLatin1Char('/') + QLatin1String(name));
            QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") == 5);
        }
    } else {
        QCOMPARE(zentavo(render).exitCode, 0);
    }

    const Run run = zentavo(render + QStringList{"--pdf"}, -1, {QStringLiteral("ZENTAVO_SOFFICE=") + script});
    QCOMPARE(run.exitCode, exitCode);
    if (converter.isEmpty()) {
        QCOMPARE(run.errLines.size(), 1);
        QVERIFY2(run.errLines.first().contains(QLatin1String("nothing rendered")), qPrintable(run.errLines.first()));
        QCOMPARE(filesBelow(scratch + QStringLiteral("/out")), 2);
        return;
    }
    QVERIFY2(run.out.contains(QStringLiteral("%1 PDF(s) written").arg(pdfs)), qPrintable(run.out));
    QCOMPARE(run.errLines.filter(QRegularExpression(QStringLiteral("^\\[\\d/%1\\] .*\\.pdf$").arg(SampleDocuments))).size(), pdfs);
    if (pdfs > 0) {
        const QString contract = QString::fromUtf8(readFile(folder + QStringLiteral("/contract.pdf")));
        QVERIFY2(contract.startsWith(QLatin1String("%PDF-1.4 from contract.html")), qPrintable(contract.left(80)));
        QVERIFY(contract.contains(QLatin1String("charset=utf-8")));
        QVERIFY(contract.contains(QStringLiteral("<p>ДОГОВОР № ОЦ-2026/118")));
        QVERIFY(readFile(folder + QStringLiteral("/valuation-report.pdf")).startsWith("%PDF-1.4 from valuation-report.docx"));
        QVERIFY(readFile(folder + QStringLiteral("/examination-act.pdf")).startsWith("%PDF-1.4 from examination-act.docx"));
        // The report from its ODT template, named alike but for the suffix, gets a PDF of its own.
        QVERIFY(readFile(folder + QStringLiteral("/valuation-report.odt.pdf")).startsWith("%PDF-1.4 from valuation-report-odt.odt"));
    } else {
        const QStringList failures = run.errLines.filter(failure);
        QCOMPARE(failures.size(), SampleDocuments);
        for (const QString& line : failures)
            QVERIFY2(line.startsWith(QLatin1String("zentavo: ") + folder), qPrintable(line));
        QCOMPARE(readFile(folder + QStringLiteral("/contract.pdf")), QByteArray("older"));
        QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/examination-act.pdf")));
    }
    QCOMPARE(temporaryFilesBelow(scratch), QStringList());
}

void TestZentavoTool::interruptedRender_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<QString>("jobs");
    QTest::newRow("Ctrl-C") << int(SIGINT) << "1";
    QTest::newRow("Ctrl-C, workers") << int(SIGINT) << "2";
    QTest::newRow("SIGTERM, workers") << int(SIGTERM) << "2";
}

// Stopped in the middle, a render leaves no temporary file and no process behind, says
// what it wrote, and every document it names is there, whole.
void TestZentavoTool::interruptedRender()
{
    QFETCH(int, signal);
    QFETCH(QString, jobs);
    const QString scratch = rowPath(QStringLiteral("interrupted/"));
    QVERIFY(QDir().mkpath(scratch + QStringLiteral("/tmp")));
    QProcess process;
    const QString summary = scratch + QStringLiteral("/summary.json");
    start(process,
          QStringList{"render", "--templates", templates(), "--out", scratch + QStringLiteral("/out"), "--jobs", jobs,
                      "--summary-json", summary}
              + manyEvaluations(),
          {QStringLiteral("TMPDIR=") + scratch + QStringLiteral("/tmp")});
    QByteArray said;
    QVERIFY(waitForFirstDocument(process, said));
    QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
    const Run run = finished(process, said);

    QCOMPARE(run.exitCode, 128 + signal);
    QVERIFY2(run.out.contains(QLatin1String(" not finished\n")), qPrintable(run.out));
    QVERIFY2(run.errLines.last().startsWith(QLatin1String("zentavo: interrupted by SIG")), qPrintable(run.errLines.last()));
    const QStringList documents = listedDocuments(run.out);
    QVERIFY(run.out.contains(QStringLiteral("%1 document(s) written").arg(documents.size())));
    for (const QString& document : documents)
        QVERIFY2(isWhole(document), qPrintable(document));
    const QJsonObject summarised = jsonOf(summary);
    QCOMPARE(summarised.value(QStringLiteral("exitCode")).toInt(), 128 + signal);
    QVERIFY(summarised.value(QStringLiteral("interrupted")).toBool());
    const QJsonObject totals = summarised.value(QStringLiteral("totals")).toObject();
    QCOMPARE(totals.value(QStringLiteral("written")).toInt(), documents.size());
    QVERIFY(totals.value(QStringLiteral("notFinished")).toInt() > 0);
    QCOMPARE(temporaryFilesBelow(scratch), QStringList());
    QCOMPARE(QDir(scratch + QStringLiteral("/tmp")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden),
             QStringList());
    QCOMPARE(processesNaming(scratch), 0);
}

// The new files of a render that was killed are removed by the next; one a writer holds
// right now, and those of other files, stay.
void TestZentavoTool::removesWhatKilledRendersLeft()
{
    const QString scratch = dir.filePath(QStringLiteral("abandoned"));
    const QString folder = scratch + QStringLiteral("/ОЦ-2026 118-Лада Веста-А123ВС77/");
    QVERIFY(QDir().mkpath(folder));
    const QStringList left{"contract.txt.part-Ab12Cd", "valuation-report.docx.part-Zz99yY", "notes.txt.part-Qw12Er"};
    for (const QString& name : left) {
        QFile file(folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("partial") == 7);
    }
    const int held = ::open(QFile::encodeName(folder + left.at(1)).constData(), O_RDONLY);
    QVERIFY(held >= 0 && ::flock(held, LOCK_EX | LOCK_NB) == 0);

    const Run run = zentavo({"render", sample, "--templates", templates(), "--out", scratch, "--overwrite"});
    ::close(held);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!QFileInfo::exists(folder + left.at(0)));
    QVERIFY(QFileInfo::exists(folder + left.at(1)));
    QVERIFY(QFileInfo::exists(folder + left.at(2)));
}

void TestZentavoTool::workerFailures_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message"); // in the summary, for the evaluation the worker held
    QTest::newRow("cannot start") << "start" << "the worker process cannot be started: ";
    QTest::newRow("killed") << "SIGKILL" << "the worker process crashed";
    QTest::newRow("stopped") << "SIGTERM" << "interrupted by SIGTERM";
}

// A worker that cannot start, is killed or stops fails the evaluation it held, with its
// own message; every other evaluation is rendered, and the summary hides none. The next
// render removes whatever a killed worker left half written.
void TestZentavoTool::workerFailures()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);
    const QString scratch = rowPath(QStringLiteral("workers/"));
    QVERIFY(QDir().mkpath(scratch));
    const QStringList evaluations = manyEvaluations();
    const QStringList render = QStringList{"render", "--templates", templates(), "--out", scratch + QStringLiteral("/out"),
                                           "--jobs", "2"}
                               + evaluations;
    QProcess process;
    QByteArray said;
    if (failure == QLatin1String("start")) {
        // The program is gone by the time the render starts its workers.
        const QString program = scratch + QStringLiteral("/zentavo");
        QVERIFY(QFile::copy(QStringLiteral(ZENTAVO_TOOL), program));
        start(process, render, {}, program);
        QVERIFY(process.waitForStarted());
        QVERIFY(QFile::remove(program));
    } else {
        start(process, render);
        QVERIFY(waitForFirstDocument(process, said));
        const QList<qint64> workers = childrenOf(process.processId());
        QVERIFY(!workers.isEmpty());
        QCOMPARE(::kill(pid_t(workers.first()), failure == QLatin1String("SIGKILL") ? SIGKILL : SIGTERM), 0);
    }
    const Run run = finished(process, said);

    QCOMPARE(run.exitCode, 1);
    const QStringList lines = run.out.split(QLatin1Char('\n'));
    const QStringList failed = lines.filter(QRegularExpression(QStringLiteral("^FAILED  ")));
    QVERIFY2(!failed.isEmpty(), qPrintable(run.out));
    for (const QString& line : failed)
        QVERIFY2(line.contains(message), qPrintable(line));
    QVERIFY(run.out.contains(QStringLiteral("%1 of %2 evaluation(s) failed").arg(failed.size()).arg(evaluations.size())));
    for (const QString& evaluation : evaluations) // each either rendered or failed
        QVERIFY2(lines.filter(QRegularExpression(QStringLiteral("^(FAILED  )?") + QRegularExpression::escape(evaluation)
                                                  + QStringLiteral("(:| -> )")))
                     .size()
                     >= 1,
                 qPrintable(evaluation));
    for (const QString& document : listedDocuments(run.out))
        QVERIFY2(isWhole(document), qPrintable(document));

    const Run again = zentavo(QStringList{"render", "--templates", templates(), "--out", scratch + QStringLiteral("/out"),
                                          "--overwrite"}
                              + evaluations);
    QCOMPARE(again.exitCode, 0);
    QCOMPARE(temporaryFilesBelow(scratch), QStringList());
}

void TestZentavoTool::oneFolderPerEvaluation_data()
{
    QTest::addColumn<QStringList>("jobs");
    QTest::addColumn<bool>("twin"); // a second evaluation naming the same folder; else the same file twice
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::newRow("twin, one process") << QStringList() << true << 1 << "the folder of " + sample;
    QTest::newRow("twin, workers") << QStringList{"--jobs", "2"} << true << 1 << "the folder of ";
    QTest::newRow("same file twice, workers") << QStringList{"--jobs", "2"} << false << 0 << "is named more than once";
}

// Two evaluations with the same agreement number, vehicle and plate: one folder gets the
// documents of one of them, never a mix, and the summary counts each document once.
void TestZentavoTool::oneFolderPerEvaluation()
{
    QFETCH(QStringList, jobs);
    QFETCH(bool, twin);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    const QString scratch = rowPath(QStringLiteral("folders/"));
    const QString other = twin ? variant(QStringLiteral("twin.zip"), {"VIN=XTAGFK330LY654321"}) : sample;
    const Run run = zentavo(QStringList{"render", sample, other, "--templates", templates(), "--out", scratch} + jobs);

    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.out.contains(QStringLiteral("%1 document(s) written, 0 kept, %2 of 2 evaluation(s) failed").arg(SampleDocuments).arg(exitCode))
                 || run.out.contains(QStringLiteral("%1 document(s) written, 0 kept, 0 of 1 evaluation(s) failed").arg(SampleDocuments)),
             qPrintable(run.out));
    QVERIFY2(run.out.contains(said) || run.errLines.join(QLatin1Char('\n')).contains(said), qPrintable(run.out));
    const QString folder = scratch + QStringLiteral("/ОЦ-2026 118-Лада Веста-А123ВС77");
    QCOMPARE(filesBelow(scratch), SampleDocuments);
    const QString act = folder + QStringLiteral("/examination-act.docx");
    const bool fromSample = WordPackage::textOf(contentOf(act, QStringLiteral("word/document.xml")))
                                .contains(QLatin1String("XTAGFK330LY123456"));
    const QString vin = fromSample ? QStringLiteral("XTAGFK330LY123456") : QStringLiteral("XTAGFK330LY654321");
    QVERIFY(QString::fromUtf8(readFile(folder + QStringLiteral("/contract.txt"))).contains(vin));
    const QString report = folder + QStringLiteral("/valuation-report.docx");
    QVERIFY(WordPackage::textOf(contentOf(report, QStringLiteral("word/document.xml"))).contains(vin));
}

void TestZentavoTool::speaksTheUsersLanguage_data()
{
    QTest::addColumn<QStringList>("arguments"); // %D scratch
    QTest::addColumn<QString>("lang");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("line"); // how the one line on standard error begins

    const QStringList render{"render", "--templates", "%D", "--out", "%D"};
    const QStringList missing{"tags", "%D/нет.zip"};
    const QStringList unreachable{"catalog", "update", "banks", "--server", "https://127.0.0.1:9"};
    const QString english = QStringLiteral("en_US.UTF-8"), russian = QStringLiteral("ru_RU.UTF-8");
    QTest::newRow("usage, English") << render << english << 2 << "zentavo: no evaluation named; usage: zentavo render ";
    QTest::newRow("usage, Russian") << render << russian << 2
                                    << "zentavo: не указано ни одной оценки; использование: zentavo render ";
    QTest::newRow("no such file, C") << missing << QStringLiteral("C.UTF-8") << 1 << "zentavo: %D/нет.zip: no such file";
    QTest::newRow("no such file, Russian") << missing << russian << 1 << "zentavo: %D/нет.zip: файл не найден";
    // The library's own failure texts, as the tool shows them.
    QTest::newRow("catalog failure, English") << unreachable << english << 1
                                              << "zentavo: Catalog \"Banks\" loading is failed: cannot connect to ";
    QTest::newRow("catalog failure, Russian") << unreachable << russian << 1
                                              << "zentavo: Справочник «Банки» загрузить не удалось: не удаётся "
                                                 "подключиться к ";
}

// A failing command says its one line in the user's language: Russian under a Russian
// locale, English under any other.
void TestZentavoTool::speaksTheUsersLanguage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lang);
    QFETCH(int, exitCode);
    QFETCH(QString, line);
#ifndef ZENTAVO_TOOL_TRANSLATED
    if (lang.startsWith(QLatin1String("ru")))
        QSKIP("the tool was built without its Russian translation (lrelease, Debian's qt6-l10n-tools, was missing)");
#endif
    const QString scratch = rowPath(QStringLiteral("language/"));
    QVERIFY(QDir().mkpath(scratch));
    arguments.replaceInStrings(QStringLiteral("%D"), scratch);
    line.replace(QLatin1String("%D"), scratch);

    const Run run = zentavo(arguments, -1, language(lang));
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.errLines.size(), 1);
    QVERIFY2(run.errLines.first().startsWith(line), qPrintable(run.errLines.first()));
}

// Three machines given the same evaluations, each in an order of its own (one by
// relative paths), render every document once between them; their summaries add up to
// what is on the disk, the evaluation that fails included.
void TestZentavoTool::sharesRenderEachEvaluationOnce()
{
    const QString scratch = dir.filePath(QStringLiteral("shares"));
    QVERIFY(QDir().mkpath(scratch));
    const QStringList evaluations = manyEvaluations(50) << notAnEvaluation;
    QStringList relative, reversed;
    for (const QString& path : evaluations) {
        relative.append(QDir(dir.path()).relativeFilePath(path));
        reversed.prepend(path);
    }
    const QList<QStringList> given{evaluations, reversed, relative};
    constexpr int shares = 3;
    QProcess processes[shares];
    for (int share = 0; share < shares; ++share) {
        processes[share].setWorkingDirectory(dir.path());
        start(processes[share], QStringList{"render", "--templates", templates(), "--only", "contract.txt", "--out",
                                            scratch + QStringLiteral("/out"), "--shard", QStringLiteral("%1/%2").arg(share).arg(shares),
                                            "--summary-json", scratch + QStringLiteral("/%1.json").arg(share)}
                                    + given.at(share));
    }
    QSet<QString> rendered, written;
    int failed = 0;
    for (int share = 0; share < shares; ++share) {
        const Run run = finished(processes[share]);
        const QJsonObject summary = jsonOf(scratch + QStringLiteral("/%1.json").arg(share));
        QCOMPARE(summary.value(QStringLiteral("exitCode")).toInt(), run.exitCode);
        QCOMPARE(summary.value(QStringLiteral("shard")).toObject().value(QStringLiteral("count")).toInt(), shares);
        int writtenHere = 0;
        bool failedHere = false;
        for (const QJsonValue& value : summary.value(QStringLiteral("evaluations")).toArray()) {
            const QJsonObject evaluation = value.toObject();
            const QString path = QFileInfo(QDir(dir.path()), evaluation.value(QStringLiteral("path")).toString()).absoluteFilePath();
            QVERIFY2(!rendered.contains(path), qPrintable(path + QStringLiteral(" is in two shares")));
            rendered.insert(path);
            if (evaluation.value(QStringLiteral("state")).toString() == QLatin1String("failed")) {
                ++failed;
                failedHere = true;
                QVERIFY(!evaluation.value(QStringLiteral("error")).toString().isEmpty());
                continue;
            }
            QCOMPARE(evaluation.value(QStringLiteral("state")).toString(), QStringLiteral("done"));
            for (const QJsonValue& document : evaluation.value(QStringLiteral("written")).toArray())
                written.insert(QFileInfo(QDir(dir.path()), document.toString()).absoluteFilePath());
            writtenHere += int(evaluation.value(QStringLiteral("written")).toArray().size());
        }
        QCOMPARE(summary.value(QStringLiteral("totals")).toObject().value(QStringLiteral("written")).toInt(), writtenHere);
        QCOMPARE(run.exitCode, failedHere ? 1 : 0);
    }
    QCOMPARE(failed, 1);
    QCOMPARE(rendered.size(), evaluations.size());
    QCOMPARE(written.size(), evaluations.size() - 1);
    QCOMPARE(filesBelow(scratch + QStringLiteral("/out")), evaluations.size() - 1);
    for (const QString& document : written)
        QVERIFY2(QFileInfo::exists(document), qPrintable(document));
}

QTEST_GUILESS_MAIN(TestZentavoTool)
#include "tst_zentavotool.moc"
