#ifndef ZENTAVO_SQLSTORAGE_H
#define ZENTAVO_SQLSTORAGE_H

#include "zentavo_export.h"

#include <QSqlDatabase>
#include <QString>

class QSqlQuery;

// The one connection to the local catalog database "Zentavo.db" in the user's data
// folder. The first use creates the file with the current schema, or brings an older
// schema up to date, and adds the lookup indexes the feed imports rely on.
class ZENTAVO_EXPORT SQLStorage
{
public:
    static const int CATALOG_DB_VERSION = 7;

    static SQLStorage* getInstance();
    ~SQLStorage();
    SQLStorage(const SQLStorage&) = delete;
    SQLStorage& operator=(const SQLStorage&) = delete;

    // The open connection; opens and verifies it on first use. A file that cannot be
    // opened gives the closed connection, and the next call tries again.
    QSqlDatabase& getCatalogDatabase();
    // The full path of the database file; creates its folder.
    static QString getCatalogDatabaseName();

    void verifyCatalogDatabase();
    // Creation and each migration step run in one transaction and tell whether they
    // completed; a failed one is rolled back and logged.
    bool createCatalogDatabase();
    bool convert_1_3();
    bool convert_3_4();
    bool convert_4_5();
    bool convert_5_6();
    bool convert_6_7();

    // Runs a statement; a failure is logged with the statement and the database error.
    static bool exec(QSqlQuery& query, const QString& statement);
    // Runs a prepared statement, logging a failure the same way.
    static bool exec(QSqlQuery& query);

private:
    friend class SingletonRegistry;
    SQLStorage();

    void createIndexes();
    bool migrateFrom(int version);
    bool alterInTransaction(const QStringList& statements);
    // Commits when the work succeeded, otherwise rolls it back.
    bool finishTransaction(bool succeeded);

    QSqlDatabase database;
};

#endif
