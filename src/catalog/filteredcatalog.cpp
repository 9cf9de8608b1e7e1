#include "catalog/filteredcatalog.h"

#include "catalog/sqlstorage.h"

#include <QSqlQuery>
#include <QVariant>

FilteredCatalog::FilteredCatalog(Table table) : table(std::move(table))
{
}

void FilteredCatalog::load()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select %1,name from %2 where %3=? order by name")
                      .arg(table.idColumn, table.name, table.filterColumn));
    query.addBindValue(filter);
    loadNames(query);
}

void FilteredCatalog::setFilter(int value, bool alwaysReload)
{
    if (value == filter && !alwaysReload)
        return;
    filter = value;
    load();
}

int FilteredCatalog::findUnder(int under, const QString& name) const
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select min(%1) from %2 where %3=? and name=?")
                      .arg(table.idColumn, table.name, table.filterColumn));
    query.addBindValue(under);
    query.addBindValue(name);
    if (!SQLStorage::exec(query) || !query.next() || query.isNull(0))
        return -1;
    return query.value(0).toInt();
}
