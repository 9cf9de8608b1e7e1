#include "catalogsource/catalogsource.h"

#include "catalog/sqlstorage.h"
#include "runtime/logger.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

CatalogSource::CatalogSource(QObject* parent) : QObject(parent)
{
}

CatalogSource::~CatalogSource() = default;

QDateTime CatalogSource::getLastUpdate()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select last_success from lastupdate where name=?"));
    query.addBindValue(getIdent());
    if (!SQLStorage::exec(query) || !query.next())
        return QDateTime();
    QDateTime when = query.value(0).toDateTime();
    when.setTimeSpec(Qt::UTC);
    return when;
}

void CatalogSource::fixateLastUpdate()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QSqlDatabase& database = SQLStorage::getInstance()->getCatalogDatabase();
    QSqlQuery query(database);
    query.prepare(QStringLiteral("select count(*) from lastupdate where name=?"));
    query.addBindValue(getIdent());
    if (!SQLStorage::exec(query) || !query.next())
        return;
    const int count = query.value(0).toInt();
    query.finish();
    database.transaction();
    query.prepare(count == 0 ? QStringLiteral("insert into lastupdate (last_success,name) values (?,?)")
                             : QStringLiteral("update lastupdate set last_success=? where name=?"));
    query.addBindValue(now);
    query.addBindValue(getIdent());
    SQLStorage::exec(query);
    if (!database.commit())
        LOG_WARNING() << "commit failed" << database.lastError().text();
}
