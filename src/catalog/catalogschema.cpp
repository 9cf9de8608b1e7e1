#include "catalog/catalogschema.h"

const QString& CatalogSchema::structinfo()
{
    static const QString statement = QStringLiteral("create table structinfo (ver integer, trCount integer)");
    return statement;
}

const QString& CatalogSchema::lastupdate()
{
    static const QString statement = QStringLiteral(
        "create table lastupdate (name varchar(20) primary key not null,last_success timestamp,"
        "last_failed timestamp, fail_count int)");
    return statement;
}

const QStringList& CatalogSchema::tables()
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
        lastupdate(),
    };
    return statements;
}

const QStringList& CatalogSchema::indexes()
{
    // Index name, table, columns.
    static const char* const lookups[][3] = {
        {"vehicletype_name", "vehicletype", "name"},
        {"vehicletype_gid", "vehicletype", "vt_gid"},
        {"vehiclebodytype_name", "vehiclebodytype", "name, id_vt"},
        {"vehiclebrand_name", "vehiclebrand", "name, id_vt"},
        {"vehiclebrand_gid", "vehiclebrand", "vb_gid"},
        {"vehiclemodel_name", "vehiclemodel", "name, id_vb"},
        {"transmission_name", "transmission", "name"},
        {"peopleidentdoc_name", "peopleidentdoc", "name"},
    };
    static const QStringList statements = [] {
        QStringList all;
        for (const auto& [index, table, columns] : lookups)
            all.append(QStringLiteral("create index if not exists %1 on %2 (%3)")
                           .arg(QLatin1String(index), QLatin1String(table), QLatin1String(columns)));
        return all;
    }();
    return statements;
}
