#include "fuzzharness.h"

#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

void FuzzHarness::ensureApplication()
{
    static int argc = 1;
    static char name[] = "zentavo-fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

AutoEvaluation& FuzzHarness::evaluation()
{
    // An appraiser's company carries its logo as a pixmap, which needs the application.
    ensureApplication();
    static EvaluationTagStorage storage;
    static AutoEvaluation evaluation(storage);
    static const bool filled = [] {
        storage.setTag(QStringLiteral("НОМЕР_ДОГОВОРА"),
                       QStringLiteral("17/2026 <w:t> & <#НОМЕР_ДОГОВОРА#> &lt;#НОМЕР_ДОГОВОРА#&gt;"));
        storage.setTag(QStringLiteral("ОЦЕНЩИК_0"), QStringLiteral("Петров"));
        storage.setTag(QStringLiteral("ОЦЕНЩИК_1"), QStringLiteral("Сидоров"));
        return true;
    }();
    Q_UNUSED(filled);
    return evaluation;
}

QString FuzzHarness::inputFile(const uint8_t* data, size_t size, const QString& name)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
        return {};
    return path;
}
