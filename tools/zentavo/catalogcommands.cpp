#include "catalogcommands.h"
#include "commandline.h"
#include "toolconsole.h"

#include "catalog/sqlstorage.h"
#include "catalogsource/bankcatalogsourcerbc.h"
#include "catalogsource/peoplecatalogsource.h"
#include "catalogsource/vehiclecatalogsource.h"
#include "runtime/config.h"

#include <QEventLoop>
#include <QTextStream>

#include <memory>
#include <vector>

namespace {

QTextStream& out()
{
    return ToolConsole::out();
}

QTextStream& err()
{
    return ToolConsole::err();
}

QUrl onServer(QUrl address, const QUrl& server)
{
    address.setScheme(server.scheme());
    address.setHost(server.host());
    address.setPort(server.port());
    return address;
}

// Points the catalog server and the bank directory at the given server for this run only.
bool useServer(const QString& text)
{
    const QUrl server(text, QUrl::StrictMode);
    if (!server.isValid() || server.host().isEmpty())
        return false;
    Config* config = Config::getInstance();
    config->setCatalogServerUrl(onServer(config->getCatalogServerUrl(), server));
    config->setBankDirectoryUrl(onServer(config->getBankDirectoryUrl(), server));
    return true;
}

void printSummary(const QString& title, const CatalogImportSummary& summary)
{
    out() << ToolConsole::tr("%1: %2 row(s) added, %3 changed").arg(title).arg(summary.added).arg(summary.changed);
    if (summary.withdrawn > 0)
        out() << ToolConsole::tr(", %1 no longer delivered (kept)").arg(summary.withdrawn);
    if (summary.skipped > 0)
        out() << ToolConsole::tr(", %1 line(s) skipped").arg(summary.skipped);
    out() << Qt::endl;
}

bool reportFailure(const QString& failure, const QString& reason)
{
    ToolConsole::fail(reason.isEmpty() || failure.contains(reason) ? failure : failure + QStringLiteral(": ") + reason);
    return false;
}

// Every catalog command writes to the catalog database: one that cannot be used is the
// failure, before anything is downloaded or read.
bool catalogDatabaseUsable()
{
    SQLStorage* storage = SQLStorage::getInstance();
    if (storage->isHealthy())
        return true;
    ToolConsole::fail(storage->failure());
    return false;
}

// A percentage rewritten in place on a terminal; a pipe or a log file gets no progress,
// only the summary or the one line of the failure.
bool update(CatalogHttpSource& source)
{
    const QString title = source.getTitle();
    const bool terminal = ToolConsole::isTerminal(2);
    QString failure;
    int shown = -1;
    QEventLoop wait;
    QObject::connect(&source, &CatalogSource::progress, &wait, [&](int percent) {
        if (percent == shown || !terminal)
            return;
        shown = percent;
        err() << '\r' << title << ": " << percent << '%' << Qt::flush;
    });
    QObject::connect(&source, &CatalogSource::failure, &wait, [&](const QString& text) { failure = text; });
    QObject::connect(&source, &CatalogSource::done, &wait, &QEventLoop::quit);
    source.startLoad();
    wait.exec();
    if (shown >= 0)
        err() << Qt::endl;
    if (!source.isLoaded())
        return reportFailure(failure, source.getErrorString());
    printSummary(title, source.getSummary());
    return true;
}

std::unique_ptr<CatalogHttpSource> sourceNamed(const QString& name)
{
    if (name == QLatin1String("vehicles"))
        return std::make_unique<VehicleCatalogSource>();
    if (name == QLatin1String("people"))
        return std::make_unique<PeopleCatalogSource>();
    if (name == QLatin1String("banks"))
        return std::make_unique<BankCatalogSourceRBC>();
    return nullptr;
}

int updateCatalogs(const QStringList& arguments)
{
    CommandLine line(QStringLiteral("catalog update"), QStringLiteral("[vehicles|people|banks] [--server URL]"),
                     ToolConsole::tr("Refreshes the named catalog (all three when none is named) from the network."));
    const QCommandLineOption serverOption(QStringLiteral("server"),
                                          ToolConsole::tr("sends the requests to another scheme://host:port"),
                                          QStringLiteral("URL"));
    line.addOption(serverOption);
    if (!line.parseAfterWord(arguments, 0, 1))
        return line.exitCode();
    const QString server = line.value(serverOption.names().constFirst());
    if (line.isSet(serverOption.names().constFirst()) && !useServer(server))
        return line.usageError(ToolConsole::tr("not a server URL: \"%1\"").arg(server));
    const QStringList names = line.positional().isEmpty() ? QStringList{"vehicles", "people", "banks"} : line.positional();
    std::vector<std::unique_ptr<CatalogHttpSource>> sources;
    for (const QString& name : names) {
        sources.push_back(sourceNamed(name));
        if (!sources.back())
            return line.usageError(ToolConsole::tr("no catalog \"%1\"").arg(name));
    }
    if (!catalogDatabaseUsable())
        return ToolConsole::Failure;
    bool allDone = true;
    for (const std::unique_ptr<CatalogHttpSource>& source : sources)
        allDone = update(*source) && allDone;
    return allDone ? ToolConsole::Success : ToolConsole::Failure;
}

int importBanks(const QStringList& arguments)
{
    CommandLine line(QStringLiteral("bank import"), QStringLiteral("FILE.zip"),
                     ToolConsole::tr("Imports a bank directory archive (RBC's zipped lists) from disk."));
    if (!line.parseAfterWord(arguments, 1, 1))
        return line.exitCode();
    const QString path = line.positional().at(0);
    if (!catalogDatabaseUsable())
        return ToolConsole::Failure;
    BankCatalogSourceRBC source;
    err() << ToolConsole::tr("Importing %1").arg(path) << Qt::endl;
    if (!source.readZip(path)) {
        reportFailure(ToolConsole::tr("Bank directory \"%1\" refused").arg(path), source.getErrorString());
        return ToolConsole::Failure;
    }
    source.fixateLastUpdate();
    printSummary(source.getTitle(), source.getSummary());
    out() << ToolConsole::tr("Banks in the directory: %1").arg(source.getCount()) << Qt::endl;
    return ToolConsole::Success;
}

} // namespace

int runCatalogCommand(const QStringList& args)
{
    return args.value(0) == QLatin1String("catalog") ? updateCatalogs(args.mid(1)) : importBanks(args.mid(1));
}
