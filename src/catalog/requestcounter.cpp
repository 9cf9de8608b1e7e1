#include "catalog/requestcounter.h"

#include "catalog/sqlstorage.h"
#include "runtime/config.h"
#include "runtime/logger.h"
#include "runtime/singletonregistry.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

namespace {

const QString ownConnectionName = QStringLiteral("zentavo-request-counter");

// Null, and logged, when the database cannot be used.
QSqlDatabase* openCatalogDatabase()
{
    SQLStorage* storage = SQLStorage::getInstance();
    if (storage->isHealthy())
        return &storage->getCatalogDatabase();
    LOG_WARNING() << "request counter not available:" << storage->failure();
    return nullptr;
}

// SQLite refuses a second BEGIN on a connection with a transaction open.
bool hasTransactionOpen(QSqlDatabase& database)
{
    if (!database.transaction())
        return true;
    database.rollback();
    return false;
}

// One statement reads and advances the counter, so no other connection or process can
// come between the two. atLeast lifts a counter that a rollback has set back.
std::optional<qulonglong> takeCount(QSqlDatabase& database, qulonglong atLeast)
{
    QSqlQuery query(database);
    query.prepare(QStringLiteral("update structinfo set trCount=max(trCount,?)+1 where typeof(trCount)='integer' "
                                 "returning trCount-1"));
    query.addBindValue(qlonglong(atLeast)); // the driver binds an unsigned value as text
    if (!SQLStorage::exec(query))
        return std::nullopt;
    if (!query.next()) {
        LOG_WARNING() << "unable to get transaction as number";
        return std::nullopt;
    }
    const qulonglong count = query.value(0).toULongLong();
    // Outside a transaction the statement commits when it has run to its end.
    while (query.next()) {
    }
    if (query.lastError().isValid()) {
        LOG_WARNING() << "the request counter was not advanced:" << query.lastError().text();
        return std::nullopt;
    }
    return count;
}

// On a connection of its own, so that no transaction of the caller can take it back.
std::optional<qulonglong> takeCountOnOwnConnection(qulonglong atLeast)
{
    std::optional<qulonglong> count;
    {
        QSqlDatabase own = SQLStorage::addConnection(ownConnectionName);
        if (own.isOpen())
            count = takeCount(own, atLeast);
        own.close();
    }
    QSqlDatabase::removeDatabase(ownConnectionName);
    return count;
}

qulonglong takeNextCount()
{
    return RequestCounter::getInstance()->takeNext();
}

void resetCount()
{
    RequestCounter::getInstance()->reset();
}

// Config sits on the floor below the catalog and cannot reach the database itself: the
// counter is handed to it when the library is loaded, before any code can ask for a count.
[[maybe_unused]] const bool servesConfig = (Config::setRequestCounter(&takeNextCount, &resetCount), true);

} // namespace

RequestCounter* RequestCounter::getInstance()
{
    return SingletonRegistry::instance<RequestCounter>();
}

qulonglong RequestCounter::takeNext()
{
    QSqlDatabase* database = openCatalogDatabase();
    if (!database)
        return 0;
    // A second connection cannot write while the caller's transaction holds the file, so
    // the count is then taken inside it; should the caller roll back, nextAtLeast keeps
    // this process from answering the same value again.
    const std::optional<qulonglong> count = hasTransactionOpen(*database) ? takeCount(*database, nextAtLeast)
                                                                          : takeCountOnOwnConnection(nextAtLeast);
    if (!count)
        return 0;
    nextAtLeast = *count + 1;
    return *count;
}

void RequestCounter::reset()
{
    QSqlDatabase* database = openCatalogDatabase();
    if (!database)
        return;
    QSqlQuery query(*database);
    query.prepare(QStringLiteral("update structinfo set trCount=?"));
    query.addBindValue(1);
    if (SQLStorage::exec(query))
        nextAtLeast = 1;
}
