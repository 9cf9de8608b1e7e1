// Hostile inputs against the bounds every one of them must keep: no crash, an answer
// within 10 s and at most 512 MiB of memory. Each input is made first, then handed to a
// child process of its own (this program again), whose wall time and peak resident
// memory (getrusage of the child) are measured; the child says what the library made of
// the input. Zip bombs unpack into 1 GiB of zeros, more than the memory bound.
//   bench_hostile_inputs              every case, a line each, then the verdict
//   bench_hostile_inputs CASE FILE    one case in this process (what a child runs)
// Build with -DCMAKE_BUILD_TYPE=Release and without sanitizers: their shadow memory and
// quarantine would count against the bound.

#include "catalogsource/bankcatalogsourcerbc.h"
#include "catalogsource/vehiclexmlhandler.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "report/templatetodocx.h"
#include "report/templatetotxt.h"
#include "zipfixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <cstdio>
#include <functional>
#include <map>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 BoundBytes = 512 * MiB;
constexpr double BoundSeconds = 10.0;
constexpr qint64 BombBytes = 1024 * MiB;

const QString templatesDir = QStringLiteral(ZENTAVO_TESTS_DIR "/report/data/");

struct Case
{
    const char* name;
    // Makes the input file in the folder; answers its path.
    std::function<QString(const QDir&)> make;
    // Feeds the input to the library; answers what came of it.
    std::function<QString(const QString&)> run;
};

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A zip whose entries are small, except `bomb`, which holds `bombBytes` of zeros deflated
// piece by piece (about 1 MiB on disk), so making it costs no memory either.
QString bombZip(const QString& path, const QList<ZipEntry>& small, const QString& bomb, qint64 bombBytes)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return {};
    for (const ZipEntry& entry : small) {
        QuaZipFile file(&zip);
        file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.name));
        file.write(entry.content);
        file.close();
    }
    QuaZipFile file(&zip);
    file.open(QIODevice::WriteOnly, QuaZipNewInfo(bomb), nullptr, 0, Z_DEFLATED, Z_BEST_SPEED);
    const QByteArray zeros(MiB, '\0');
    for (qint64 written = 0; written < bombBytes; written += zeros.size())
        file.write(zeros);
    file.close();
    zip.close();
    return zip.getZipError() == UNZ_OK ? path : QString();
}

QString withLie(const QString& path, const QByteArray& entry, quint32 declared)
{
    return writeFile(path, withDeclaredSize(readFile(path), entry, declared)) ? path : QString();
}

// photos.docx with its document.xml replaced.
QString docxWithDocument(const QString& path, const QByteArray& document)
{
    QList<ZipEntry> entries = readZip(templatesDir + QStringLiteral("photos.docx"));
    for (ZipEntry& entry : entries)
        if (entry.name == QLatin1String("word/document.xml"))
            entry.content = document;
    return writeZip(path, entries) ? path : QString();
}

QList<ZipEntry> docxWithout(const QString& name)
{
    QList<ZipEntry> entries = readZip(templatesDir + QStringLiteral("photos.docx"));
    entries.removeIf([&](const ZipEntry& entry) { return entry.name == name; });
    return entries;
}

QByteArray body(const QByteArray& inner)
{
    return "<w:document xmlns:w='w'><w:body>" + inner + "</w:body></w:document>";
}

QByteArray entityBomb(const QByteArray& root, const QByteArray& inner)
{
    QByteArray entities = "<!ENTITY a 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'>";
    for (char level = 'b'; level <= 'j'; ++level)
        entities += "<!ENTITY " + QByteArray(1, level) + " '"
                    + QByteArray("&" + QByteArray(1, char(level - 1)) + ";").repeated(10) + "'>";
    return "<!DOCTYPE " + root + " [" + entities + "]>" + inner;
}

const QByteArray tagParagraph = "<w:p><w:r><w:t>&lt;#НОМЕР_ДОГОВОРА#&gt;</w:t></w:r></w:p>";
const QByteArray tagRow = "<w:tr><w:tc><w:p><w:r><w:t>&lt;#НОМЕР_ДОГОВОРА#&gt;</w:t></w:r></w:p></w:tc></w:tr>";

QString loadEvaluation(const QString& path)
{
    EvaluationTagStorage storage;
    return storage.load(path) ? QStringLiteral("loaded, %1 photos").arg(storage.getPhotoCount())
                              : QStringLiteral("refused");
}

QString render(TemplateToDocument& generator, const QString& path, const QString& contractNumber)
{
    EvaluationTagStorage storage;
    storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), contractNumber);
    AutoEvaluation evaluation(storage);
    generator.use(evaluation);
    const QString output = QFileInfo(path).absolutePath() + QStringLiteral("/out-") + QFileInfo(path).fileName();
    QEventLoop wait;
    QObject::connect(&generator, &TemplateToDocument::done, &wait, &QEventLoop::quit);
    if (!generator.make(path, output))
        return QStringLiteral("not started");
    if (generator.isMaking())
        wait.exec();
    const ErrorInfo& error = generator.getErrorInfo();
    if (error.code() != ErrorInfo::ErrNone)
        return QStringLiteral("refused: %1").arg(error.message());
    return QStringLiteral("made, %1 KiB").arg(QFileInfo(output).size() / 1024);
}

QString renderDocx(const QString& path, const QString& contractNumber = QStringLiteral("17/2026"))
{
    TemplateToDocx generator;
    return render(generator, path, contractNumber);
}

QString importVehicles(const QString& path)
{
    VehicleXmlHandler handler;
    return handler.import(readFile(path)) ? QStringLiteral("imported")
                                          : QStringLiteral("refused: %1").arg(handler.rejectionReason());
}

QString importBanks(const QString& path)
{
    BankCatalogSourceRBC source;
    return source.readZip(path) ? QStringLiteral("imported") : QStringLiteral("refused: %1").arg(source.getErrorString());
}

const QString tagList = QStringLiteral("tag_list.txt");
const QString document = QStringLiteral("word/document.xml");

std::vector<Case> cases()
{
    const ZipEntry tags{tagList, "VERSION=1.1\nEDITION=AUTO\nНОМЕР_ДОГОВОРА=17/2026\n"};
    const QString megabytes = QStringLiteral("Ж").repeated(3 * MiB);
    return {
        {"evaluation: photo unpacking to 1 GiB",
         [=](const QDir& d) { return bombZip(d.filePath("e1.zip"), {tags}, "photo/photo1.jpg", BombBytes); },
         loadEvaluation},
        {"evaluation: tag list unpacking to 1 GiB",
         [](const QDir& d) { return bombZip(d.filePath("e2.zip"), {}, tagList, BombBytes); }, loadEvaluation},
        {"evaluation: photo of 1 GiB declaring 1 000 bytes",
         [=](const QDir& d) {
             return withLie(bombZip(d.filePath("e3.zip"), {tags}, "photo/photo1.jpg", BombBytes), "photo/photo1.jpg", 1000);
         },
         loadEvaluation},
        {"evaluation: tag list of 1 GiB declaring 100 bytes",
         [](const QDir& d) { return withLie(bombZip(d.filePath("e4.zip"), {}, tagList, BombBytes), "tag_list.txt", 100); },
         loadEvaluation},
        {"evaluation: tag value of 15 MiB",
         [](const QDir& d) {
             const QString path = d.filePath("e5.zip");
             return writeZip(path, {{tagList, "A=" + QByteArray(15 * MiB, 'x') + "\n"}}) ? path : QString();
         },
         loadEvaluation},
        {"evaluation: 3 million tags of one letter",
         [](const QDir& d) {
             QByteArray lines;
             for (int i = 0; lines.size() < 16 * MiB - 16; ++i)
                 lines += QByteArray::number(i, 36) + "=\n";
             const QString path = d.filePath("e6.zip");
             return writeZip(path, {{tagList, lines}}) ? path : QString();
         },
         loadEvaluation},
        {"docx: document.xml unpacking to 1 GiB",
         [](const QDir& d) { return bombZip(d.filePath("d1.docx"), docxWithout(document), document, BombBytes); },
         [](const QString& p) { return renderDocx(p); }},
        {"docx: document.xml of 1 GiB declaring 1 000 bytes",
         [](const QDir& d) {
             return withLie(bombZip(d.filePath("d2.docx"), docxWithout(document), document, BombBytes),
                            "word/document.xml", 1000);
         },
         [](const QString& p) { return renderDocx(p); }},
        {"docx: document.xml declaring 4 GB",
         [](const QDir& d) {
             return withLie(docxWithDocument(d.filePath("d3.docx"), body(tagParagraph)), "word/document.xml", 0xFFFFFFF0u);
         },
         [](const QString& p) { return renderDocx(p); }},
        {"docx: 100 000 nested elements",
         [](const QDir& d) {
             return docxWithDocument(d.filePath("d4.docx"), body(QByteArray("<w:sdt>").repeated(100000) + tagParagraph
                                                                 + QByteArray("</w:sdt>").repeated(100000)));
         },
         [](const QString& p) { return renderDocx(p); }},
        {"docx: entity bomb of 10^9 letters",
         [](const QDir& d) {
             return docxWithDocument(d.filePath("d5.docx"),
                                     entityBomb("w:document", body("<w:p><w:r><w:t>&j;</w:t></w:r></w:p>")));
         },
         [](const QString& p) { return renderDocx(p); }},
        {"docx: part in Windows-1251",
         [](const QDir& d) {
             return docxWithDocument(d.filePath("d6.docx"), body("<w:p><w:r><w:t>\xcf\xf0\xe8\xe2\xe5\xf2</w:t></w:r></w:p>"));
         },
         [](const QString& p) { return renderDocx(p); }},
        {"docx: 10 000 repeated rows",
         [](const QDir& d) { return docxWithDocument(d.filePath("d7.docx"), body("<w:tbl>" + tagRow.repeated(10000) + "</w:tbl>")); },
         [](const QString& p) { return renderDocx(p); }},
        {"docx: tag value of 3 MiB, 3 times",
         [](const QDir& d) { return docxWithDocument(d.filePath("d8.docx"), body(tagParagraph.repeated(3))); },
         [=](const QString& p) { return renderDocx(p, megabytes); }},
        {"docx: tag value of 3 MiB, 200 times",
         [](const QDir& d) { return docxWithDocument(d.filePath("d9.docx"), body(tagParagraph.repeated(200))); },
         [=](const QString& p) { return renderDocx(p, megabytes); }},
        {"text template of 100 MiB",
         [](const QDir& d) {
             const QString path = d.filePath("t1.txt");
             QFile file(path);
             file.open(QIODevice::WriteOnly);
             const QByteArray line = QByteArray("<#НОМЕР_ДОГОВОРА#> ").repeated(1024 * 1024 / 24) + '\n';
             for (int i = 0; i < 100; ++i)
                 file.write(line);
             return path;
         },
         [](const QString& p) {
             TemplateToTxt generator;
             return render(generator, p, QStringLiteral("17/2026"));
         }},
        {"text template beside 100 MiB of meta tags",
         [](const QDir& d) {
             d.mkpath("m");
             QFile tags(d.filePath("m/metatags.txt"));
             tags.open(QIODevice::WriteOnly);
             QByteArray lines;
             for (int i = 0; i < 5 * 1024 * 1024; ++i) {
                 lines += "<%M" + QByteArray::number(i, 36) + "%>=значение\n";
                 if (lines.size() > int(MiB)) {
                     tags.write(lines);
                     lines.clear();
                 }
             }
             tags.write(lines);
             const QString path = d.filePath("m/t.txt");
             return writeFile(path, "<%M0%> <#НОМЕР_ДОГОВОРА#>") ? path : QString();
         },
         [](const QString& p) {
             TemplateToTxt generator;
             return render(generator, p, QStringLiteral("17/2026"));
         }},
        {"vehicle feed: entity bomb",
         [](const QDir& d) {
             const QString path = d.filePath("v1.xml");
             return writeFile(path, entityBomb("vehicle", "<vehicle><trans id='1'>&j;</trans></vehicle>")) ? path : QString();
         },
         importVehicles},
        {"vehicle feed: 100 000 nested elements",
         [](const QDir& d) {
             const QString path = d.filePath("v2.xml");
             return writeFile(path, "<vehicle>" + QByteArray("<x>").repeated(100000)) ? path : QString();
         },
         importVehicles},
        {"bank archive: list unpacking to 1 GiB",
         [](const QDir& d) { return bombZip(d.filePath("b1.zip"), {}, "bnkseek.txt", BombBytes); }, importBanks},
    };
}

struct Measured
{
    bool exited = false;
    double seconds = 0;
    qint64 peakBytes = 0;
    QString outcome;
};

Measured runChild(const char* program, const Case& c, const QString& input)
{
    int out[2];
    Measured measured;
    if (pipe(out) != 0)
        return measured;
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        execl(program, program, c.name, QFile::encodeName(input).constData(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    QByteArray said;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, n);
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    measured.seconds = timer.nsecsElapsed() / 1e9;
    measured.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    measured.peakBytes = qint64(usage.ru_maxrss) * 1024;
    measured.outcome = QString::fromUtf8(said).trimmed();
    if (!measured.exited)
        measured.outcome = QStringLiteral("CRASHED (status %1) %2").arg(status).arg(measured.outcome);
    return measured;
}

int runOne(const QString& name, const QString& input)
{
    for (const Case& c : cases())
        if (name == QLatin1String(c.name)) {
            alarm(60); // a hang ends the child; the parent reports the time
            std::printf("%s\n", qPrintable(c.run(input).left(100)));
            return 0;
        }
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc == 3)
        return runOne(QString::fromUtf8(argv[1]), QFile::decodeName(argv[2]));
    QTemporaryDir dir;
    bool kept = true;
    std::printf("%-48s %8s %9s  %s\n", "input", "seconds", "peak MiB", "outcome");
    for (const Case& c : cases()) {
        const QString input = c.make(QDir(dir.path()));
        if (input.isEmpty()) {
            std::printf("%-48s  input not made\n", c.name);
            kept = false;
            continue;
        }
        const Measured m = runChild(argv[0], c, input);
        const bool withinBounds = m.exited && m.seconds <= BoundSeconds && m.peakBytes <= BoundBytes;
        kept = kept && withinBounds;
        std::printf("%-48s %8.2f %9.1f  %s%s\n", c.name, m.seconds, double(m.peakBytes) / MiB,
                    withinBounds ? "" : "OUT OF BOUNDS: ", qPrintable(m.outcome));
        std::fflush(stdout);
        QFile::remove(input);
    }
    std::printf("%s: every input within %.0f s and %lld MiB\n", kept ? "kept" : "NOT KEPT", BoundSeconds,
                BoundBytes / MiB);
    return kept ? 0 : 1;
}
