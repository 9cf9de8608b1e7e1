// Peak resident memory of the tool on evaluations heavy with photos: 60 camera photos
// of about 4 MB each, and 10 000 small ones. Each file is made once by the library,
// then `zentavo tags` (a load), `zentavo set` (load and save) and `zentavo render` (the
// sample templates, which place photos) run on it as child processes, whose peak is
// read from the kernel when they end.
//   bench_evaluation_memory TOOL TEMPLATES_DIR [WORK_DIR]

#include "evaluation/evaluationtagstorage.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Noise does not compress, so a photo costs in the file what it costs in memory.
QByteArray noiseJpeg(int width, int height, int seed)
{
    QRandomGenerator random(quint32(seed + 1));
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = random.generate() | 0xff000000u;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 92);
    return buffer.data();
}

bool makeEvaluation(const QString& path, int photos, int width, int height, int distinct)
{
    EvaluationTagStorage storage;
    storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"), QStringLiteral("ОЦ-2026 118"));
    QList<QByteArray> pictures;
    for (int i = 0; i < distinct; ++i)
        pictures << noiseJpeg(width, height, i);
    for (int i = 0; i < photos; ++i) {
        // A camera writes its own header; varying one byte of it keeps photos distinct.
        QByteArray picture = pictures.at(i % distinct);
        picture[20] = char(i);
        if (!storage.addPhotoData(picture))
            return false;
    }
    return storage.save(path);
}

struct Run
{
    int exitCode = -1;
    double seconds = 0;
    double peakMiB = 0;
};

Run runTool(const QByteArray& tool, const QList<QByteArray>& arguments)
{
    QList<QByteArray> all = {tool};
    all += arguments;
    std::vector<char*> argv;
    for (QByteArray& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        freopen("/dev/null", "w", stdout);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    Run run;
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.peakMiB = double(usage.ru_maxrss) / 1024.0;
    return run;
}

void report(const char* what, double fileMiB, const Run& run)
{
    std::printf("  %-8s exit %d  %7.2f s  peak %7.1f MiB  (%.2f x the file)\n", what, run.exitCode, run.seconds,
                run.peakMiB, run.peakMiB / fileMiB);
}

void measure(const QByteArray& tool, const QString& templates, const QString& file, const QString& out)
{
    const double fileMiB = double(QFileInfo(file).size()) / (1024.0 * 1024.0);
    std::printf("%s: %.1f MiB\n", qPrintable(QFileInfo(file).fileName()), fileMiB);
    const QByteArray path = QFile::encodeName(file);
    report("tags", fileMiB, runTool(tool, {"tags", path}));
    report("set", fileMiB, runTool(tool, {"set", path, "ЦЕЛЬ_ОЦЕНКИ=Определение рыночной стоимости"}));
    report("render", fileMiB,
           runTool(tool, {"render", path, "--templates", QFile::encodeName(templates), "--out",
                          QFile::encodeName(out), "--overwrite"}));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_evaluation_memory TOOL TEMPLATES_DIR [WORK_DIR]\n");
        return 2;
    }
    QTemporaryDir scratch;
    const QString work = argc > 3 ? QString::fromLocal8Bit(argv[3]) : scratch.path();
    QDir().mkpath(work);
    // The tool's catalog database stays in the work folder.
    qputenv("XDG_DATA_HOME", QFile::encodeName(work + QStringLiteral("/data")));
    const QString large = work + QStringLiteral("/60-photos-of-4MB.zip");
    const QString many = work + QStringLiteral("/10000-small-photos.zip");
    if (!QFileInfo::exists(large) && !makeEvaluation(large, 60, 2600, 1950, 4))
        return 1;
    if (!QFileInfo::exists(many) && !makeEvaluation(many, 10000, 160, 120, 50))
        return 1;
    const QByteArray tool = argv[1];
    const QString templates = QString::fromLocal8Bit(argv[2]);
    measure(tool, templates, large, work + QStringLiteral("/out-large"));
    measure(tool, templates, many, work + QStringLiteral("/out-many"));
    return 0;
}
