#ifndef ZENTAVO_SQLTRANSACTION_H
#define ZENTAVO_SQLTRANSACTION_H

#include "zentavo_export.h"

#include <functional>

// One save of a catalog record as one transaction of the catalog database: all of it
// or nothing. The work answers whether all its statements succeeded and stops at the
// first that fails. Then, as on a thrown exception or a failed commit, the transaction
// is rolled back and undo gives back the row identifiers the work took in memory, so
// the record still describes what the database holds: a new record is new again and
// its next save inserts it. An exception travels on after the rollback.
class ZENTAVO_EXPORT SqlTransaction
{
public:
    static bool run(const std::function<bool()>& work, const std::function<void()>& undo);
};

#endif
