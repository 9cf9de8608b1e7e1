#include "catalog/vehiclemodelcatalog.h"

#include "catalog/sqlstorage.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

namespace {
VehicleModelCatalog* instance = nullptr;
}

VehicleModelCatalog* VehicleModelCatalog::getInstance()
{
    return SingletonRegistry::instance(instance);
}

void VehicleModelCatalog::load()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select id_vm,name from vehiclemodel where id_vb=:vb order by name"));
    query.bindValue(QStringLiteral(":vb"), brand);
    loadNames(query);
}

void VehicleModelCatalog::setVehicleBrand(int newBrand)
{
    if (newBrand == brand)
        return;
    brand = newBrand;
    load();
}

Real VehicleModelCatalog::get_Kt(int id) const
{
    return coefficient(QStringLiteral("select Kt from vehiclemodel where id_vm=?"), id);
}

Real VehicleModelCatalog::get_Lt(int id) const
{
    return coefficient(QStringLiteral("select Lt from vehiclemodel where id_vm=?"), id);
}

Real VehicleModelCatalog::coefficient(const QString& statement, int id) const
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(statement);
    query.addBindValue(id);
    Real value;
    bool numeric = false;
    if (SQLStorage::exec(query) && query.next()) {
        const double number = query.value(0).toDouble(&numeric);
        if (numeric && !query.isNull(0))
            value = number;
    }
    return value;
}
