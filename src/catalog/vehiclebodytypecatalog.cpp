#include "catalog/vehiclebodytypecatalog.h"

#include "catalog/sqlstorage.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
VehicleBodyTypeCatalog* instance = nullptr;
}

VehicleBodyTypeCatalog* VehicleBodyTypeCatalog::getInstance()
{
    return SingletonRegistry::instance(instance);
}

void VehicleBodyTypeCatalog::load()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select id_vbt,name from vehiclebodytype where id_vt=:vt order by name"));
    query.bindValue(QStringLiteral(":vt"), vehicleType);
    loadNames(query);
}

void VehicleBodyTypeCatalog::setVehicleType(int type)
{
    vehicleType = type;
    load();
}
