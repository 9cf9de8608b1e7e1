#include "catalog/peopleidentdoccatalog.h"

#include "catalog/sqlstorage.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>

PeopleIdentDocCatalog* PeopleIdentDocCatalog::getInstance()
{
    return SingletonRegistry::instance<PeopleIdentDocCatalog>([](PeopleIdentDocCatalog* catalog) { catalog->load(); });
}

void PeopleIdentDocCatalog::load()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select id_ident,name from peopleidentdoc order by name"));
    loadNames(query);
}
