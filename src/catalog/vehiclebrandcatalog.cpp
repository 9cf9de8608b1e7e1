#include "catalog/vehiclebrandcatalog.h"

#include "catalog/sqlstorage.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
VehicleBrandCatalog* instance = nullptr;
}

VehicleBrandCatalog* VehicleBrandCatalog::getInstance()
{
    return SingletonRegistry::instance(instance);
}

void VehicleBrandCatalog::load()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select id_vb,name from vehiclebrand where id_vt=:vt order by name"));
    query.bindValue(QStringLiteral(":vt"), vehicleType);
    loadNames(query);
}

void VehicleBrandCatalog::setVehicleType(int type)
{
    if (type == vehicleType)
        return;
    vehicleType = type;
    load();
}
