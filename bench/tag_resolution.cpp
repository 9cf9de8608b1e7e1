// Resolves every report tag name the sections, the appraisers and the reconciliation
// answer, through AutoEvaluation::getTag on a fully filled evaluation, plain and with
// flags, and names the tags that cost the most. Rates are calls per second of this thread's CPU
// time, so a busy machine does not distort them.
//   bench_tag_resolution [calls]

#include "catalog/sqlstorage.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"
#include "evaluation/tagnameregistry.h"
#include "testapproach.h"

#include <QFile>
#include <QGuiApplication>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// Keeps the catalog database and settings of the run away from the user's own.
void isolate(const QTemporaryDir& home)
{
    for (const char* variable : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"})
        qputenv(variable, QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
}

bool fillVehicleCatalogs()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    for (const char* statement : {"insert into vehicletype (id_vt, name) values (1, 'Легковой автомобиль')",
                                  "insert into vehiclebodytype (id_vbt, id_vt, name) values (4, 1, 'Седан')",
                                  "insert into vehiclebrand (id_vb, id_vt, name) values (7, 1, 'Лада')",
                                  "insert into vehiclemodel (id_vm, id_vb, name) values (9, 7, 'Веста')"}) {
        if (!query.exec(QString::fromUtf8(statement)))
            return false;
    }
    return true;
}

bool writeEvaluation(const QString& path)
{
    QFile tagList(QStringLiteral(ZENTAVO_TESTS_DIR "/evaluation/data/full_evaluation_tag_list.txt"));
    if (!tagList.open(QIODevice::ReadOnly))
        return false;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::WriteOnly, QuaZipNewInfo(QStringLiteral("tag_list.txt"))))
        return false;
    entry.write(tagList.readAll());
    entry.close();
    zip.close();
    return zip.getZipError() == 0;
}

// The people's names under the report numbers the evaluation fills: appraisers 1 and 2,
// specialist 4; every other indexed name with index 0.
QStringList everyName()
{
    QStringList names;
    for (const TagNameRegistry::Entry& entry : TagNameRegistry::entries()) {
        const QList<int> indexes =
            entry.shape == TagNameRegistry::ByAppraiserNumber ? QList<int>{1, 2, 4} : QList<int>{0};
        for (const int index : indexes)
            names << TagNameRegistry::concreteNames(entry, index, {QStringLiteral("ЗП"), QStringLiteral("СП")});
    }
    return names;
}

// CPU time of this thread: the machine may be shared, and the goal is per core.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Calls per second over `calls` resolutions that walk the names round and round.
double callsPerSecond(const AutoEvaluation& facade, const QStringList& names, const QList<long>& flags, int calls)
{
    QString value;
    const double start = threadSeconds();
    for (int i = 0; i < calls; ++i)
        facade.getTag(names.at(i % names.size()), value, flags.at(i % flags.size()));
    return double(calls) / (threadSeconds() - start);
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    isolate(home);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int calls = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;

    const QString file = home.filePath(QStringLiteral("full.zip"));
    EvaluationTagStorage storage;
    AutoEvaluation facade(storage);
    TestApproach cost = TestApproach::cost(storage);
    TestApproach comparative = TestApproach::comparative(storage);
    facade.registerApproach(APPROACH_COST, cost);
    facade.registerApproach(APPROACH_COMPARATIVE, comparative);
    if (!fillVehicleCatalogs() || !writeEvaluation(file) || !facade.load(file)) {
        std::fprintf(stderr, "cannot prepare the evaluation\n");
        return 1;
    }
    const QStringList names = everyName();
    const QList<long> flagged = {TAGFLAG_YEAR, TAGFLAG_WORDS, TAGFLAG_LOWER, TAGFLAG_PERCENT,
                                 TAGFLAG_ABBREVIATION, TAGFLAG_SHORT, TAGFLAG_ROUND_T | TAGFLAG_WORDS};
    callsPerSecond(facade, names, {0}, names.size()); // warms the catalogs and the reconciliation

    std::printf("%lld tag names, %d calls each run\n", qlonglong(names.size()), calls);
    std::printf("plain    %10.0f calls/s\n", callsPerSecond(facade, names, {0}, calls));
    std::printf("flagged  %10.0f calls/s\n", callsPerSecond(facade, names, flagged, calls));

    QList<std::pair<double, QString>> slowest;
    for (const QString& name : names)
        slowest.append({1e9 / callsPerSecond(facade, {name}, {0}, 2000), name});
    std::sort(slowest.begin(), slowest.end(), std::greater<>());
    std::printf("slowest names, ns per plain call:\n");
    for (int i = 0; i < 8 && i < slowest.size(); ++i)
        std::printf("  %8.0f  %s\n", slowest.at(i).first, qPrintable(slowest.at(i).second));
    return 0;
}
