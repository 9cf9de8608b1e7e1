#include "catalog/sqlstorage.h"

#include "catalog/catalogfailure.h"
#include "catalog/catalogschema.h"

#include "runtime/logger.h"
#include "runtime/singletonregistry.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>

namespace {

QString busyTimeoutOption(int milliseconds = SQLStorage::BUSY_TIMEOUT_MS)
{
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(milliseconds);
}

void logFailure(const QSqlQuery& query, const QString& statement)
{
    LOG_WARNING() << statement << query.lastError().text();
}

// The library's own connection: a host that uses the default connection keeps it.
const QString& connectionName()
{
    static const QString name = QStringLiteral("zentavo-catalog");
    return name;
}

// "Zentavo.db.bak-yyyyMMdd-hhmmss", with a counter when that name is taken already.
QString unusedBackupName(const QString& path)
{
    const QString stamped =
        path + QStringLiteral(".bak-") + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    QString name = stamped;
    for (int n = 1; QFile::exists(name); ++n)
        name = stamped + QLatin1Char('-') + QString::number(n);
    return name;
}

} // namespace

SQLStorage::SQLStorage() : database(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName()))
{
}

SQLStorage::~SQLStorage()
{
    if (database.isOpen())
        database.close();
    const QString connection = database.connectionName();
    database = QSqlDatabase();
    QSqlDatabase::removeDatabase(connection);
}

SQLStorage* SQLStorage::getInstance()
{
    return SingletonRegistry::instance<SQLStorage>();
}

QSqlDatabase& SQLStorage::getCatalogDatabase()
{
    if (!database.isOpen())
        openAndVerify();
    return database;
}

bool SQLStorage::isHealthy()
{
    getCatalogDatabase();
    return health == HEALTHY;
}

void SQLStorage::openAndVerify()
{
    const bool lockedLately = health == LOCKED && !lockedSince.hasExpired(LOCKED_NO_WAIT_MS);
    health = HEALTHY;
    reason.clear();
    keptBackup.clear();
    lastFailedStatement = QSqlError();
    database.setDatabaseName(getCatalogDatabaseName());
    database.setConnectOptions(busyTimeoutOption(lockedLately ? 0 : BUSY_TIMEOUT_MS));
    if (database.open())
        verifyCatalogDatabase();
    else
        refuseFor(database.lastError());
    if (health == HEALTHY) {
        if (lockedLately) // later statements wait as usual
            QSqlQuery(database).exec(QStringLiteral("pragma busy_timeout=%1").arg(BUSY_TIMEOUT_MS));
        loggedReason.clear();
        return;
    }
    database.close();
    if (health == LOCKED && !lockedLately)
        lockedSince.start();
    if (reason != loggedReason)
        LOG_WARNING() << reason;
    loggedReason = reason;
}

QString SQLStorage::reasonFor(const QSqlError& error) const
{
    if (!database.isOpen() && !reason.isEmpty())
        return reason;
    const QString path = database.databaseName().isEmpty() ? getCatalogDatabaseName() : database.databaseName();
    if (!database.isOpen())
        return SQLStorage::tr("the catalog database %1 is not open").arg(path);
    return CatalogFailure::describe(path, error);
}

QSqlDatabase SQLStorage::addConnection(const QString& name)
{
    QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    connection.setDatabaseName(getCatalogDatabaseName());
    connection.setConnectOptions(busyTimeoutOption());
    if (!connection.open())
        LOG_WARNING() << "cannot open" << connection.databaseName() << connection.lastError().text();
    return connection;
}

void SQLStorage::refuse(health_t kind, const QString& why)
{
    if (health != HEALTHY)
        return;
    health = kind;
    reason = why;
}

// A replacement that moved the old file aside says where it is.
void SQLStorage::refuseFor(const QSqlError& error)
{
    QString why = CatalogFailure::describe(database.databaseName(), error);
    if (!keptBackup.isEmpty())
        why += SQLStorage::tr("; the previous catalog is kept as %1").arg(keptBackup);
    refuse(CatalogFailure::healthAfter(error), why);
}

QString SQLStorage::getCatalogDatabaseName()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QStringLiteral("%1/%2").arg(folder, QStringLiteral("Zentavo.db"));
}

bool SQLStorage::exec(QSqlQuery& query, const QString& statement)
{
    const bool done = query.exec(statement);
    if (!done)
        logFailure(query, statement);
    return done;
}

bool SQLStorage::exec(QSqlQuery& query)
{
    const bool done = query.exec();
    if (!done)
        logFailure(query, query.lastQuery());
    return done;
}

// Only a database without any table is given the schema: a file that is not a database,
// is malformed, locked or unreadable, or holds tables of something else, stays as it is.
void SQLStorage::verifyCatalogDatabase()
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("select ver,count(*) from structinfo")) || !query.next()) {
        const QSqlError error = query.lastError();
        query.finish();
        if (!CatalogFailure::isSchemaMismatch(error)) // anything but "no such table"
            return refuseFor(error);
        if (!holdsNoTables())
            return refuse(DAMAGED, CatalogFailure::damaged(database.databaseName(), SQLStorage::tr("it holds no catalog")));
        if (createCatalogDatabase())
            createIndexes();
        else
            refuseFor(lastFailedStatement);
        return;
    }
    const int version = query.value(0).toInt();
    const int rows = query.value(1).toInt();
    query.finish();
    if (rows == 1 && version == CATALOG_DB_VERSION) {
        createIndexes();
        return;
    }
    if (rows == 1 && (version < 1 || version > CATALOG_DB_VERSION))
        return; // a version this library does not know is used as it is
    // Without exactly one version row the database is replaced like a version 1 one.
    if (migrateFrom(rows == 1 ? version : 1))
        createIndexes();
    else if (!CatalogFailure::isSchemaMismatch(lastFailedStatement))
        refuseFor(lastFailedStatement); // a failed step that was not a schema mismatch
}

bool SQLStorage::holdsNoTables()
{
    QSqlQuery query(database);
    if (!run(query, QStringLiteral("select count(*) from sqlite_master")) || !query.next()) {
        refuseFor(lastFailedStatement);
        return false;
    }
    return query.value(0).toInt() == 0;
}

// Runs the steps from the one that fits the version. The chain stops at the first step
// that fails, which leaves the version at the last completed step, and after a
// replacement, which already gives the current schema.
bool SQLStorage::migrateFrom(int version)
{
    switch (version) {
    case 1:
    case 2:
        return convert_1_3();
    case 3:
        return convert_3_4() && convert_4_5() && convert_5_6() && convert_6_7();
    case 4:
        return convert_4_5() && convert_5_6() && convert_6_7();
    case 5:
        return convert_5_6() && convert_6_7();
    case 6:
        return convert_6_7();
    default:
        return false;
    }
}

// The whole schema or nothing: a half-created database would claim the current version.
bool SQLStorage::createCatalogDatabase()
{
    database.transaction();
    QSqlQuery query(database);
    bool created = run(query, CatalogSchema::structinfo());
    if (created) {
        query.prepare(QStringLiteral("insert into structinfo (ver, trCount) values (?,?)"));
        query.addBindValue(CATALOG_DB_VERSION);
        query.addBindValue(1);
        created = run(query);
    }
    for (const QString& statement : CatalogSchema::tables()) {
        if (!created)
            break;
        created = run(query, statement);
    }
    return finishTransaction(created);
}

void SQLStorage::createIndexes()
{
    QSqlQuery query(database);
    for (const QString& statement : CatalogSchema::indexes())
        exec(query, statement);
}

// A version 1 or 2 database has no conversion: it is replaced by an empty one. The old
// file is kept beside the new one, since it may hold the user's companies and appraisers.
bool SQLStorage::convert_1_3()
{
    const QString path = database.databaseName();
    const QString backup = unusedBackupName(path);
    database.close();
    if (!QFile::rename(path, backup)) {
        refuse(INACCESSIBLE, SQLStorage::tr("the catalog database %1 is of an old version and cannot be moved aside to %2 "
                                        "to make a new one; check the permissions of its folder")
                                 .arg(path, backup));
        return false;
    }
    keptBackup = backup;
    LOG_WARNING() << "recreate empty database" << path << "old database kept as" << backup;
    database.setDatabaseName(path);
    if (!database.open()) {
        refuseFor(database.lastError());
        return false;
    }
    if (createCatalogDatabase())
        return true;
    refuseFor(lastFailedStatement);
    return false;
}

bool SQLStorage::convert_3_4()
{
    return alterInTransaction({QStringLiteral("alter table businessman add bux varchar(100)"),
                               QStringLiteral("alter table businessman add bux_post varchar(50)"),
                               QStringLiteral("update structinfo set ver=4 where ver=3")});
}

bool SQLStorage::convert_4_5()
{
    return alterInTransaction({QStringLiteral("alter table appraiser add sro_location varchar(100)"),
                               QStringLiteral("update structinfo set ver=5 where ver=4")});
}

bool SQLStorage::convert_5_6()
{
    return alterInTransaction({CatalogSchema::lastupdate(), QStringLiteral("update structinfo set ver=6 where ver=5")});
}

bool SQLStorage::convert_6_7()
{
    return alterInTransaction(
        {QStringLiteral("alter table specialist add location varchar(100)"), QStringLiteral("update structinfo set ver=7")});
}

// The step's statements, the version update last, in one transaction: all or nothing.
bool SQLStorage::alterInTransaction(const QStringList& statements)
{
    database.transaction();
    QSqlQuery query(database);
    bool done = true;
    for (const QString& statement : statements) {
        done = run(query, statement);
        if (!done)
            break;
    }
    return finishTransaction(done);
}

// The commit as a statement of its own: QSqlDatabase::commit() drops SQLite's error code,
// which tells a full disk from a lock.
bool SQLStorage::finishTransaction(bool succeeded)
{
    QSqlQuery query(database);
    if (succeeded && run(query, QStringLiteral("commit")))
        return true;
    database.rollback();
    return false;
}

bool SQLStorage::run(QSqlQuery& query, const QString& statement)
{
    if (exec(query, statement))
        return true;
    lastFailedStatement = query.lastError();
    return false;
}

bool SQLStorage::run(QSqlQuery& query)
{
    if (exec(query))
        return true;
    lastFailedStatement = query.lastError();
    return false;
}
