#include "catalog/sqlstorage.h"

#include "runtime/logger.h"
#include "runtime/singletonregistry.h"

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
    LOG_TRACE() << statement << query.lastError().text();
}

} // namespace

SQLStorage::SQLStorage() : database(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE")))
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
        LOG_TRACE() << "cannot open" << database.databaseName() << database.lastError().text();
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
        createCatalogDatabase();
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
    migrateFrom(rows == 1 ? version : 1);
    createIndexes();
}

// The chain always runs to its end from the step that fits the version.
void SQLStorage::migrateFrom(int version)
{
    switch (version) {
    case 1:
    case 2:
        convert_1_3();
        [[fallthrough]];
    case 3:
        convert_3_4();
        [[fallthrough]];
    case 4:
        convert_4_5();
        [[fallthrough]];
    case 5:
        convert_5_6();
        [[fallthrough]];
    case 6:
        convert_6_7();
        break;
    default:
        break;
    }
}

void SQLStorage::createCatalogDatabase()
{
    database.transaction();
    QSqlQuery query(database);
    exec(query, structinfoStatement());
    query.prepare(QStringLiteral("insert into structinfo (ver, trCount) values (?,?)"));
    query.addBindValue(CATALOG_DB_VERSION);
    query.addBindValue(1);
    exec(query);
    for (const QString& statement : tableStatements())
        exec(query, statement);
    database.commit();
}

void SQLStorage::createIndexes()
{
    QSqlQuery query(database);
    for (const QString& statement : indexStatements())
        exec(query, statement);
}

// A version 1 or 2 database has no conversion: it is replaced by an empty one.
void SQLStorage::convert_1_3()
{
    const QString path = database.databaseName();
    LOG_TRACE() << "recreate empty database" << path;
    database.close();
    QFile::remove(path);
    database.setDatabaseName(path);
    if (!database.open())
        LOG_TRACE() << "cannot open" << path << database.lastError().text();
    createCatalogDatabase();
}

void SQLStorage::convert_3_4()
{
    alterInTransaction({QStringLiteral("alter table businessman add bux varchar(100)"),
                        QStringLiteral("alter table businessman add bux_post varchar(50)")},
                       QStringLiteral("update structinfo set ver=4 where ver=3"));
}

void SQLStorage::convert_4_5()
{
    alterInTransaction({QStringLiteral("alter table appraiser add sro_location varchar(100)")},
                       QStringLiteral("update structinfo set ver=5 where ver=4"));
}

void SQLStorage::convert_5_6()
{
    QSqlDatabase& db = database;
    db.transaction();
    QSqlQuery query(db);
    exec(query, lastupdateStatement());
    exec(query, QStringLiteral("update structinfo set ver=6 where ver=5"));
    db.commit();
}

void SQLStorage::convert_6_7()
{
    alterInTransaction({QStringLiteral("alter table specialist add location varchar(100)")},
                       QStringLiteral("update structinfo set ver=7"));
}

void SQLStorage::alterInTransaction(const QStringList& alterations, const QString& versionUpdate)
{
    QSqlDatabase& db = database;
    db.transaction();
    QSqlQuery query(db);
    for (const QString& statement : alterations) {
        if (!exec(query, statement)) {
            db.rollback();
            return;
        }
    }
    exec(query, versionUpdate);
    db.commit();
}
