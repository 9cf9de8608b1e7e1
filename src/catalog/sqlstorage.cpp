#include "catalog/sqlstorage.h"

#include "runtime/logger.h"
#include "runtime/singletonregistry.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
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
    if (database.isOpen())
        return database;
    database.setDatabaseName(getCatalogDatabaseName());
    if (!database.open())
        LOG_WARNING() << "cannot open" << database.databaseName() << database.lastError().text();
    verifyCatalogDatabase();
    return database;
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

void SQLStorage::verifyCatalogDatabase()
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("select ver,count(*) from structinfo")) || !query.next()) {
        if (createCatalogDatabase())
            createIndexes();
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
    bool created = exec(query, structinfoStatement());
    if (created) {
        query.prepare(QStringLiteral("insert into structinfo (ver, trCount) values (?,?)"));
        query.addBindValue(CATALOG_DB_VERSION);
        query.addBindValue(1);
        created = exec(query);
    }
    for (const QString& statement : tableStatements()) {
        if (!created)
            break;
        created = exec(query, statement);
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
        LOG_ERROR() << "cannot move the old catalog database aside, it is left as it is:" << path << "->" << backup;
        if (!database.open())
            LOG_WARNING() << "cannot open" << path << database.lastError().text();
        return false;
    }
    LOG_WARNING() << "recreate empty database" << path << "old database kept as" << backup;
    database.setDatabaseName(path);
    if (!database.open()) {
        LOG_WARNING() << "cannot open" << path << database.lastError().text();
        return false;
    }
    return createCatalogDatabase();
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
        done = exec(query, statement);
        if (!done)
            break;
    }
    return finishTransaction(done);
}

bool SQLStorage::finishTransaction(bool succeeded)
{
    if (succeeded && database.commit())
        return true;
    if (succeeded)
        LOG_WARNING() << "commit failed" << database.lastError().text();
    database.rollback();
    return false;
}
