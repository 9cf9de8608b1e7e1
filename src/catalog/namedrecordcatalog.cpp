#include "catalog/namedrecordcatalog.h"

#include "catalog/sqlstorage.h"

#include <QSqlQuery>
#include <QVariant>

void NamedRecordCatalog::loadNames(const QString& statement, const QString& idColumn,
                                   const std::function<QString(const QSqlQuery&)>& displayName)
{
    names.clear();
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    if (!SQLStorage::exec(query, statement))
        return;
    while (query.next())
        names.insert(query.value(idColumn).toInt(), displayName(query));
}

int NamedRecordCatalog::idOfName(const QString& name) const
{
    for (auto entry = names.cbegin(); entry != names.cend(); ++entry) {
        if (entry.value() == name)
            return entry.key();
    }
    return -1;
}
