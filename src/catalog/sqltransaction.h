#ifndef ZENTAVO_SQLTRANSACTION_H
#define ZENTAVO_SQLTRANSACTION_H

#include "zentavo_export.h"

#include <functional>

class QSqlQuery;

// One save of a catalog record as one transaction of the catalog database. The work
// answers whether all its statements succeeded; it stops at the first that fails, and
// what succeeded before it is committed all the same (the record keeps the identifiers
// of the rows it did insert). Only a thrown exception or a failed commit rolls the
// transaction back; undo then gives back the row identifiers the work took in memory,
// so the record still describes what the database holds, and an exception travels on.
class ZENTAVO_EXPORT SqlTransaction
{
public:
    static bool run(const std::function<bool()>& work, const std::function<void()>& undo);
    // The row id of an executed insert; false, id untouched, when the driver gives none.
    static bool takeInsertedId(const QSqlQuery& query, int& id);
};

#endif
