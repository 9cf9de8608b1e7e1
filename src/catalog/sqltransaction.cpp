#include "catalog/sqltransaction.h"

#include "catalog/sqlstorage.h"
#include "runtime/logger.h"

#include <QSqlError>

namespace {

void rollBack(QSqlDatabase& database, const std::function<void()>& undo)
{
    if (!database.rollback())
        LOG_WARNING() << "rollback failed:" << database.lastError().text();
    undo();
}

} // namespace

bool SqlTransaction::run(const std::function<bool()>& work, const std::function<void()>& undo)
{
    QSqlDatabase& database = SQLStorage::getInstance()->getCatalogDatabase();
    if (!database.transaction()) {
        LOG_WARNING() << "cannot start a transaction:" << database.lastError().text();
        return false;
    }
    bool done = false;
    try {
        done = work();
    } catch (...) {
        rollBack(database, undo);
        throw;
    }
    if (!done) {
        LOG_WARNING() << "save failed, nothing of it is kept";
        rollBack(database, undo);
        return false;
    }
    if (database.commit())
        return true;
    LOG_WARNING() << "commit failed, rolled back:" << database.lastError().text();
    rollBack(database, undo);
    return false;
}
