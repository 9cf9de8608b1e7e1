#ifndef ZENTAVO_CATALOGFAILURE_H
#define ZENTAVO_CATALOGFAILURE_H

#include "catalog/sqlstorage.h"

#include <QSqlError>
#include <QString>

// What a failure of the catalog database means: how usable the file is after it, and
// one line for the user that names the file, what is wrong with it and what to do.
class CatalogFailure
{
public:
    static SQLStorage::health_t healthAfter(const QSqlError& error);
    static QString describe(const QString& path, const QSqlError& error);
    // A file that is not a catalog, naming the newest backup beside it when there is one.
    static QString damaged(const QString& path, const QString& cause);
    // SQLite's generic error: a statement that does not fit the schema ("no such table"),
    // not a file that cannot be used.
    static bool isSchemaMismatch(const QSqlError& error);

private:
    // SQLite's primary result code, from the code the driver reports.
    static int primaryCode(const QSqlError& error);
    // The newest "Zentavo.db.bak-…" beside the database; the stamps sort by time.
    static QString newestBackup(const QString& path);
};

#endif
