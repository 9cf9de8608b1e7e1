#include "catalog/sqlstorage.h"
#include "filesizelimit.h"
#include "localhttpsserver.h"
#include "wordpackage.h"
#include "zipfixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QStringList errLines;
};

// Starts the built tool as a user would: no display, no runtime folder, no Qt settings.
// Each of variables, "NAME=value", is set for this run (XDG_DATA_HOME holds the tool's
// own data, its catalog database; TMPDIR its temporary files; LC_ALL its locale).
void start(QProcess& process, const QStringList& arguments, const QStringList& variables = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& variable : variables)
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZENTAVO_TOOL), arguments);
}

// The event loop turns meanwhile, so a server of the test can answer the tool.
Run finished(QProcess& process)
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
    run.errLines = QString::fromUtf8(process.readAllStandardError()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return run;
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

} // namespace

// The sample of examples/ made and rendered by the tool, and the tool's answers to bad input.
class TestZentavoTool : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void rendersTheSample();
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

private:
    QString examples() const { return QStringLiteral(ZENTAVO_SOURCE_DIR "/examples"); }
    QString documentFolder() const { return out + QStringLiteral("/ОЦ-2026 118-Лада Веста-А123ВС77"); }

    QTemporaryDir dir;
    QString sample;
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

void TestZentavoTool::rendersTheSample()
{
    const Run run = zentavo({QStringLiteral("render"), sample, notAnEvaluation, QStringLiteral("--templates"),
                             examples() + QStringLiteral("/templates"), QStringLiteral("--out"), out,
                             QStringLiteral("--jobs"), QStringLiteral("2")});

    QCOMPARE(run.exitCode, 1); // one evaluation failed, the other was rendered
    QVERIFY(run.out.contains(QStringLiteral("FAILED  ") + notAnEvaluation));
    QVERIFY(run.out.contains(QStringLiteral("3 document(s) written")));
    // stderr: the progress lines and the one line of the failure; no Qt diagnostics.
    QCOMPARE(run.errLines.filter(QRegularExpression(QStringLiteral("^\\[\\d/\\d\\] "))).size(), 3);
    QCOMPARE(run.errLines.size(), 4);

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
    const QString scratch = dir.filePath(QStringLiteral("findings/") + QString::fromUtf8(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(scratch + QStringLiteral("/templates")));
    QFile flawed(scratch + QStringLiteral("/templates/flawed.txt"));
    QVERIFY(flawed.open(QIODevice::WriteOnly));
    flawed.write(QStringLiteral("<p>VIN: <#VIN#>, <#НЕТ_ТАКОГО#></p>\n<?VIN?>без конца\n").toUtf8());
    flawed.close();

    const Run run = zentavo(QStringList{"render", sample, sample, "--templates", scratch + QStringLiteral("/templates"),
                                        "--out", scratch + QStringLiteral("/out"), "--overwrite"}
                            + options);
    QCOMPARE(run.exitCode, exitCode);
    QStringList expected{"zentavo: warning: flawed.txt:1: unknown tag name \"НЕТ_ТАКОГО\"",
                         "zentavo: warning: flawed.txt:2: condition \"VIN\" has no end"};
    if (!written)
        expected << "zentavo: 2 problem(s) in the templates; with --strict nothing is rendered";
    QCOMPARE(run.errLines.filter(QStringLiteral("zentavo: ")), expected);
    QCOMPARE(filesBelow(scratch + QStringLiteral("/out")), written ? 1 : 0);
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
    QTest::newRow("photo for a missing file") << QStringList{"photo", "add", "%D/typo.zip", "%N"} << 1 << "no such file";
    QTest::newRow("tag file line not a tag") << QStringList{"set", "%D/new.zip", "--from", "%T/contract.txt"} << 2
                                             << "contract.txt:1: not NAME=VALUE";
    QTest::newRow("evaluation being saved") << QStringList{"set", "%L", "ЦЕЛЬ_ОЦЕНКИ=1"} << 1
                                            << "being saved by another program";
}

void TestZentavoTool::badInput()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const QString scratch = dir.filePath(QString::fromUtf8(QTest::currentDataTag()));
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
    const QString base = dir.filePath(QStringLiteral("full-") + QString::fromUtf8(QTest::currentDataTag()));
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
    QTest::newRow("render, damaged") << render << false << 0 << 3;
    QTest::newRow("render, locked") << render << true << 0 << 3;
}

void TestZentavoTool::unusableCatalogDatabase()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, locked);
    QFETCH(int, exitCode);
    QFETCH(int, documents);
    const QString scratch = dir.filePath(QStringLiteral("catalog ") + QString::fromUtf8(QTest::currentDataTag()));
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

QTEST_GUILESS_MAIN(TestZentavoTool)
#include "tst_zentavotool.moc"
