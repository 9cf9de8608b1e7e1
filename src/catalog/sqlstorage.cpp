#include "catalog/sqlstorage.h"

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

SQLStorage* instance = nullptr;

const QString& structinfoStatement()
{
    static const QString statement = QStringLiteral("create table structinfo (ver integer, trCount integer)");
    return statement;
}

const QString& lastupdateStatement()
{
    static const QString statement = QStringLiteral(
        "create table lastupdate (name varchar(20) primary key not null,last_success timestamp,"
        "last_failed timestamp, fail_count int)");
    return statement;
}

// The tables after structinfo, in the order they are created.
const QStringList& tableStatements()
{
    static const QStringList statements = {
        QStringLiteral("create table autocompleted (field varchar(50) not null, val varchar(200) not null)"),
        QStringLiteral("create table bank (bic char(9) primary key,raccount char(20),name varchar(200))"),
        QStringLiteral("create table peopleidentdoc (id_ident integer primary key autoincrement,name varchar(200) "
                       "not null,ident_gid integer, loaded integer)"),
        QStringLiteral("create table transmission (id_trans integer primary key autoincrement,name varchar(200) "
                       "not null,trans_gid integer, loaded integer)"),
        QStringLiteral("create table vehicletype (id_vt integer primary key autoincrement,name varchar(200) not "
                       "null,treadminh numeric, vt_gid integer, loaded integer)"),
        QStringLiteral("create table vehiclebodytype(id_vbt integer primary key autoincrement, id_vt integer not "
                       "null, name varchar(200) not null,vbt_gid integer, loaded integer, foreign key (id_vt) "
                       "references vehicletype(id_vt))"),
        QStringLiteral("create table vehiclebrand(id_vb integer primary key autoincrement, id_vt integer not null, "
                       "name varchar(200) not null,vb_gid integer, loaded integer, foreign key (id_vt) references "
                       "vehicletype(id_vt))"),
        QStringLiteral("create table vehiclemodel(id_vm integer primary key autoincrement, id_vb integer not null, "
                       "name varchar(200) not null,vm_gid integer, loaded integer, foreign key (id_vb) references "
                       "vehiclebrand(id_vb))"),
        QStringLiteral("create table appraisalcompany(id_apprcomp integer primary key autoincrement, companytype "
                       "integer not null,police_number varchar(20), police_date date,police_insurer varchar(50), "
                       "police_limit integer,police_overlimit int, addinfo varchar(400),logo blob)"),
        QStringLiteral("create table org (id_org integer primary key autoincrement not null,id_apprcomp "
                       "integer,name varchar(200), ogrn varchar(20), ogrn_date date, inn varchar(20), kpp "
                       "varchar(20),location varchar(200), phone varchar(20), email varchar(50), usno "
                       "integer,leader varchar(100), leader_post varchar(50), leader_reason "
                       "varchar(100),leader_a varchar(100), leader_post_a varchar(50), legalform "
                       "varchar(50),bux varchar(100), bux_post varchar(50),foreign key (id_apprcomp) references "
                       "appraisalcompany(id_apprcomp))"),
        QStringLiteral("create table businessman (id_bman integer primary key autoincrement not null,id_apprcomp "
                       "integer,firstname varchar(50), lastname varchar(50), middlename varchar(50),ogrn "
                       "varchar(20), ogrn_date date, inn varchar(20),phone varchar(20), email varchar(50), usno "
                       "integer,bux varchar(100), bux_post varchar(50),idoctype varchar(50), idocnumber "
                       "varchar(20), idocserial varchar(20), idocdate date,idocorg varchar(200), address "
                       "varchar(200),foreign key (idoctype) references identdoctype(idoctype),foreign key "
                       "(id_apprcomp) references appraisalcompany(id_apprcomp))"),
        QStringLiteral("create table bankaccount (id_ba integer primary key autoincrement not null,bic varchar(9), "
                       "bankname varchar(200), raccount char(20), account char(20))"),
        QStringLiteral("create table bankaccount2org(id_ba integer not null, id_org integer not null,foreign key "
                       "(id_ba) references bankaccount(id_ba),foreign key (id_org) references org(id_org))"),
        QStringLiteral("create table bankaccount2bman(id_ba integer not null, id_bman integer not null,foreign key "
                       "(id_ba) references bankaccount(id_ba),foreign key (id_bman) references "
                       "businessman(id_bman))"),
        QStringLiteral("create table specialist (id_spec integer primary key autoincrement not null,firstname "
                       "varchar(50), lastname varchar(50), middlename varchar(50),addinfo varchar(400), location "
                       "varchar(100))"),
        QStringLiteral("create table appraiser (id_appr integer primary key not null,sro_number varchar(20), "
                       "sro_info varchar(50), sro_location varchar(100),diplom_number "
                       "varchar(20),diplom_serial varchar(20),diplom_date date, diplom_org "
                       "varchar(50),insur_number varchar(20), insur_date date, insur_org varchar(50), insur_limit "
                       "integer,age integer, category varchar(20),foreign key (id_appr) references "
                       "specialist(id_spec))"),
        lastupdateStatement(),
    };
    return statements;
}

// Lookups of the catalog feed imports, which match rows by name within their parent
// and by feed identifier. Without them every import is quadratic in the catalog size.
const QStringList& indexStatements()
{
    static const QStringList statements = {
        QStringLiteral("create index if not exists vehicletype_name on vehicletype (name)"),
        QStringLiteral("create index if not exists vehicletype_gid on vehicletype (vt_gid)"),
        QStringLiteral("create index if not exists vehiclebodytype_name on vehiclebodytype (name, id_vt)"),
        QStringLiteral("create index if not exists vehiclebrand_name on vehiclebrand (name, id_vt)"),
        QStringLiteral("create index if not exists vehiclebrand_gid on vehiclebrand (vb_gid)"),
        QStringLiteral("create index if not exists vehiclemodel_name on vehiclemodel (name, id_vb)"),
        QStringLiteral("create index if not exists transmission_name on transmission (name)"),
        QStringLiteral("create index if not exists peopleidentdoc_name on peopleidentdoc (name)"),
    };
    return statements;
}

// SQLite's primary result codes, as the driver reports them in nativeErrorCode().
enum sqliteCode_t {
    SQLITE_GENERIC_ERROR = 1,
    SQLITE_NO_PERMISSION = 3,
    SQLITE_DATABASE_BUSY = 5,
    SQLITE_TABLE_LOCKED = 6,
    SQLITE_READ_ONLY = 8,
    SQLITE_IO_ERROR = 10,
    SQLITE_MALFORMED = 11,
    SQLITE_DISK_FULL = 13,
    SQLITE_CANNOT_OPEN = 14,
    SQLITE_NOT_AUTHORIZED = 23,
    SQLITE_NOT_A_DATABASE = 26,
};

int primaryCode(const QSqlError& error)
{
    bool isNumber = false;
    const int code = error.nativeErrorCode().toInt(&isNumber);
    return isNumber ? code & 0xff : 0;
}

SQLStorage::health_t healthAfter(const QSqlError& error)
{
    switch (primaryCode(error)) {
    case SQLITE_DATABASE_BUSY:
    case SQLITE_TABLE_LOCKED:
        return SQLStorage::LOCKED;
    case SQLITE_NOT_A_DATABASE:
    case SQLITE_MALFORMED:
        return SQLStorage::DAMAGED;
    default:
        return SQLStorage::INACCESSIBLE;
    }
}

QString translated(const char* text)
{
    return QCoreApplication::translate("SQLStorage", text);
}

// The newest "Zentavo.db.bak-…" beside the database; the stamps sort by time.
QString newestBackup(const QString& path)
{
    const QFileInfo database(path);
    const QStringList names =
        database.dir().entryList({database.fileName() + QStringLiteral(".bak-*")}, QDir::Files, QDir::Name);
    return names.isEmpty() ? QString() : database.dir().filePath(names.last());
}

QString damagedReason(const QString& path, const QString& cause)
{
    const QString backup = newestBackup(path);
    if (backup.isEmpty())
        return translated("the catalog database %1 is damaged (%2); restore it from a backup or remove it to start "
                          "an empty catalog")
            .arg(path, cause);
    return translated("the catalog database %1 is damaged (%2); restore it from the backup %3 or remove it to start "
                      "an empty catalog")
        .arg(path, cause, backup);
}

// One line for the user: the file, what is wrong with it, what to do.
QString describe(const QString& path, const QSqlError& error)
{
    const QString cause = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    switch (primaryCode(error)) {
    case SQLITE_DATABASE_BUSY:
    case SQLITE_TABLE_LOCKED:
        return translated("the catalog database %1 is locked by another program; close it and try again").arg(path);
    case SQLITE_NOT_A_DATABASE:
    case SQLITE_MALFORMED:
        return damagedReason(path, cause);
    case SQLITE_DISK_FULL:
        return translated("the catalog database %1 cannot be written: the disk is full; free some space and try again")
            .arg(path);
    case SQLITE_NO_PERMISSION:
    case SQLITE_READ_ONLY:
    case SQLITE_CANNOT_OPEN:
    case SQLITE_NOT_AUTHORIZED:
        return translated("the catalog database %1 cannot be opened for reading and writing (%2); check the "
                          "permissions of the file and its folder")
            .arg(path, cause);
    case SQLITE_IO_ERROR:
        return translated("the catalog database %1 cannot be read or written (%2); check the disk, or restore the "
                          "file from a backup")
            .arg(path, cause);
    default:
        if (cause.trimmed().isEmpty())
            return translated("the catalog database %1 failed without saying why").arg(path);
        return translated("the catalog database %1 failed: %2").arg(path, cause);
    }
}

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
    return SingletonRegistry::instance(instance);
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
        return translated("the catalog database %1 is not open").arg(path);
    return describe(path, error);
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
    QString why = describe(database.databaseName(), error);
    if (!keptBackup.isEmpty())
        why += translated("; the previous catalog is kept as %1").arg(keptBackup);
    refuse(healthAfter(error), why);
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
        if (primaryCode(error) != SQLITE_GENERIC_ERROR) // anything but "no such table"
            return refuseFor(error);
        if (!holdsNoTables())
            return refuse(DAMAGED, damagedReason(database.databaseName(), translated("it holds no catalog")));
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
    else if (primaryCode(lastFailedStatement) != SQLITE_GENERIC_ERROR)
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
    bool created = run(query, structinfoStatement());
    if (created) {
        query.prepare(QStringLiteral("insert into structinfo (ver, trCount) values (?,?)"));
        query.addBindValue(CATALOG_DB_VERSION);
        query.addBindValue(1);
        created = run(query);
    }
    for (const QString& statement : tableStatements()) {
        if (!created)
            break;
        created = run(query, statement);
    }
    return finishTransaction(created);
}

void SQLStorage::createIndexes()
{
    QSqlQuery query(database);
    for (const QString& statement : indexStatements())
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
        refuse(INACCESSIBLE, translated("the catalog database %1 is of an old version and cannot be moved aside to %2 "
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
    return alterInTransaction({lastupdateStatement(), QStringLiteral("update structinfo set ver=6 where ver=5")});
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
