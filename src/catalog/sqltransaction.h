#ifndef ZENTAVO_SQLTRANSACTION_H
#define ZENTAVO_SQLTRANSACTION_H

#include "zentavo_export.h"

#include <functional>

class QSqlQuery;

// One save of a catalog record as one transaction of the catalog database: either every
// row of the record is written, or none is. The work answers whether all its statements
// succeeded. On a failure, a thrown exception included, the transaction is rolled back
// and undo runs, to give back the row identifiers the work took in memory, so the record
// still describes what the database holds; the exception then travels on.
class ZENTAVO_EXPORT SqlTransaction
{
public:
    static bool run(const std::function<bool()>& work, const std::function<void()>& undo);
    // The row id of an executed insert; false, id untouched, when the driver gives none.
    static bool takeInsertedId(const QSqlQuery& query, int& id);
};

#endif
