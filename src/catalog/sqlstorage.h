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
    void createCatalogDatabase();
    void convert_1_3();
    void convert_3_4();
    void convert_4_5();
    void convert_5_6();
    void convert_6_7();

    // Runs a statement; a failure is logged with the statement and the database error.
    static bool exec(QSqlQuery& query, const QString& statement);
    // Runs a prepared statement, logging a failure the same way.
    static bool exec(QSqlQuery& query);

private:
    friend class SingletonRegistry;
    SQLStorage();

    void createIndexes();
    void migrateFrom(int version);
    // Runs the statements in one transaction; stops and rolls back at the first failed
    // alteration, while a failed version update is only logged.
    void alterInTransaction(const QStringList& alterations, const QString& versionUpdate);

    QSqlDatabase database;
};

#endif
