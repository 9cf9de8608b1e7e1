// Imports a vehicle catalog feed of 100 types, 2 000 brands and 50 000 models, served by
// an HTTPS server on 127.0.0.1, into an empty catalog database and again into the full
// one; then a bank directory of 3 000 banks into an empty bank table and again. Each
// vehicle figure is given whole (request to done()) and for the merge alone (from the
// end of the download to done()). Goals on the project's 2-core machine: each vehicle
// import under 2 s, the bank import under 0.3 s.
//   bench_catalog_import [rounds]

#include "catalog/sqlstorage.h"
#include "catalogfeeds.h"
#include "catalogsource/bankcatalogsourcerbc.h"
#include "catalogsource/vehiclecatalogsource.h"
#include "localhttpsserver.h"
#include "runtime/config.h"
#include "testenvironment.h"
#include "../tests/runtime/testonlyclientcertificate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSqlQuery>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Timing
{
    std::vector<double> whole;
    std::vector<double> merge;
};

void execute(const QString& statement)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(statement);
}

int count(const char* table)
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.exec(QStringLiteral("select count(*) from %1").arg(QLatin1String(table)));
    return query.next() ? query.value(0).toInt() : -1;
}

void emptyCatalogs()
{
    for (const char* table : {"vehicletype", "vehiclebodytype", "vehiclebrand", "vehiclemodel", "transmission", "bank"})
        execute(QStringLiteral("delete from %1").arg(QLatin1String(table)));
}

bool loadVehicles(Timing& timing)
{
    VehicleCatalogSource source;
    QElapsedTimer whole;
    QElapsedTimer merge;
    QEventLoop wait;
    QObject::connect(&source, &CatalogSource::progress, &wait, [&](int percent) {
        if (percent == CatalogHttpSource::MERGING_PERCENT)
            merge.start();
    });
    QObject::connect(&source, &CatalogSource::done, &wait, &QEventLoop::quit);
    whole.start();
    source.startLoad();
    wait.exec();
    timing.whole.push_back(whole.nsecsElapsed() / 1e6);
    timing.merge.push_back(merge.nsecsElapsed() / 1e6);
    return source.isLoaded();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char* what, const std::vector<double>& values)
{
    std::printf("%-44s median %8.1f ms   min %8.1f ms   max %8.1f ms\n", what, median(values),
                *std::min_element(values.begin(), values.end()), *std::max_element(values.begin(), values.end()));
}

bool prepareServer(LocalHttpsServer& server)
{
    QDir::setCurrent(TestEnvironment::root());
    QFile certificate(QStringLiteral("Zentavo.crt"));
    if (!certificate.open(QIODevice::WriteOnly))
        return false;
    certificate.write(TestOnlyClientCertificate::certificatePem);
    certificate.write(TestOnlyClientCertificate::rsaPrivateKeyPem);
    certificate.close();
    if (!server.start(QSslCertificate(QByteArray(TestOnlyClientCertificate::certificatePem), QSsl::Pem)))
        return false;
    Config::getInstance()->setCatalogServerUrl(server.url());
    Config::getInstance()->setCaCertificatesFile(LocalHttpsServer::authorityFile());
    return true;
}

QString writeBankArchive()
{
    const QString path = TestEnvironment::root() + QStringLiteral("/bnk.zip");
    QuaZip zip(path);
    zip.open(QuaZip::mdCreate);
    QuaZipFile entry(&zip);
    entry.open(QIODevice::WriteOnly, QuaZipNewInfo(QStringLiteral("bnkseek.txt")));
    entry.write(CatalogFeeds::bankLines(3000));
    entry.close();
    zip.close();
    return path;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int rounds = std::max(1, argc > 1 ? QByteArray(argv[1]).toInt() : 3);
    LocalHttpsServer server;
    if (!prepareServer(server)) {
        std::fprintf(stderr, "cannot start the local HTTPS server\n");
        return 1;
    }
    const QByteArray feed = CatalogFeeds::vehicleFeed(100, 2000, 50000);
    server.respond(QStringLiteral("/cgi-bin/vehicleBrands.cgi"), 200, feed);
    std::printf("vehicle feed: %.1f MB, %d rounds\n", feed.size() / 1e6, rounds);

    Timing empty;
    Timing full;
    for (int round = 0; round < rounds; ++round) {
        emptyCatalogs();
        if (!loadVehicles(empty) || !loadVehicles(full)) {
            std::fprintf(stderr, "vehicle import failed\n");
            return 1;
        }
    }
    std::printf("rows: %d types, %d body types, %d brands, %d models\n", count("vehicletype"), count("vehiclebodytype"),
                count("vehiclebrand"), count("vehiclemodel"));
    report("vehicles into an empty database, whole", empty.whole);
    report("vehicles into an empty database, merge", empty.merge);
    report("vehicles into a full database, whole", full.whole);
    report("vehicles into a full database, merge", full.merge);

    const QString archive = writeBankArchive();
    std::vector<double> banksEmpty;
    std::vector<double> banksFull;
    for (int round = 0; round < rounds; ++round) {
        execute(QStringLiteral("delete from bank"));
        for (std::vector<double>* times : {&banksEmpty, &banksFull}) {
            BankCatalogSourceRBC source;
            QElapsedTimer timer;
            timer.start();
            if (!source.readZip(archive)) {
                std::fprintf(stderr, "bank import failed\n");
                return 1;
            }
            times->push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::printf("rows: %d banks\n", count("bank"));
    report("3 000 banks into an empty table", banksEmpty);
    report("3 000 banks again (all present)", banksFull);
    return 0;
}
