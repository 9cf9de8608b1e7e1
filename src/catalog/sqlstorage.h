#ifndef ZENTAVO_SQLSTORAGE_H
#define ZENTAVO_SQLSTORAGE_H

#include "zentavo_export.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QCoreApplication>
#include <QString>

class QSqlQuery;

// The one connection to the local catalog database "Zentavo.db" in the user's data
// folder. The first use creates the file with the current schema, or brings an older
// schema up to date, and adds the lookup indexes the feed imports rely on.
//
// A file that cannot serve as the catalog (damaged, locked by another program, not
// readable or writable) is left exactly as it is: the connection stays closed, catalog
// queries fail and come out empty, and failure() tells the user in one line what is
// wrong and what to do. Only an empty file, or none, is given a new schema.
class ZENTAVO_EXPORT SQLStorage
{
    Q_DECLARE_TR_FUNCTIONS(SQLStorage)

public:
    static const int CATALOG_DB_VERSION = 7;
    // How long a statement waits for a lock that another connection or program holds
    // before it fails with "database is locked".
    static const int BUSY_TIMEOUT_MS = 3000;
    // For this long after a database was found locked, opening it again does not wait for
    // the lock: a run with many catalog lookups waits once, not once per lookup, and
    // still finds the database as soon as the other program lets go.
    static const int LOCKED_NO_WAIT_MS = 10000;

    // What the last attempt to open the database found.
    enum health_t {
        HEALTH_UNCHECKED, // not opened yet
        HEALTHY,
        DAMAGED,      // not a database, malformed, or a database that holds no catalog
        LOCKED,       // another program held its lock beyond the busy timeout
        INACCESSIBLE, // cannot be opened, read or written: permissions, a full disk, I/O errors
    };

    static SQLStorage* getInstance();
    ~SQLStorage();
    Q_DISABLE_COPY(SQLStorage)

    // The open connection; opens and verifies it on first use. A database that cannot
    // be used gives the closed connection, and the next call tries again.
    QSqlDatabase& getCatalogDatabase();
    // The full path of the database file; creates its folder.
    static QString getCatalogDatabaseName();

    // Opens the database when needed; whether it is open and usable.
    bool isHealthy();
    health_t getHealth() const { return health; }
    // Why the database cannot be used: one line for the user that names the file, what
    // is wrong with it and what to do. Empty while it is healthy or not opened yet.
    // Logged once, at warning level, when it is found.
    QString failure() const { return reason; }
    // The same kind of line for a statement on the catalog database that failed.
    QString reasonFor(const QSqlError& error) const;
    // Opens a further connection to the catalog file under the given name, with the same
    // busy timeout, for work that must not share a transaction open on the main one.
    // The caller closes it and removes it from QSqlDatabase.
    static QSqlDatabase addConnection(const QString& name);

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

    void openAndVerify();
    bool holdsNoTables();
    void createIndexes();
    bool migrateFrom(int version);
    bool alterInTransaction(const QStringList& statements);
    // Commits when the work succeeded, otherwise rolls it back.
    bool finishTransaction(bool succeeded);
    // exec() that keeps the error of a failed statement for refuseFor().
    bool run(QSqlQuery& query, const QString& statement);
    bool run(QSqlQuery& query);
    // Marks the database unusable; the first refusal of an attempt to open it stands.
    void refuse(health_t kind, const QString& why);
    void refuseFor(const QSqlError& error);

    QSqlDatabase database;
    health_t health = HEALTH_UNCHECKED;
    QString reason;
    QString loggedReason;
    QElapsedTimer lockedSince;
    QSqlError lastFailedStatement;
    QString keptBackup; // the old file moved aside by this attempt, if any
};

#endif
