#include "catalog/vehiclemodelcatalog.h"

#include "catalog/sqlstorage.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

VehicleModelCatalog* VehicleModelCatalog::getInstance()
{
    return SingletonRegistry::instance<VehicleModelCatalog>();
}

VehicleModelCatalog::VehicleModelCatalog()
    : FilteredCatalog({QStringLiteral("vehiclemodel"), QStringLiteral("id_vm"), QStringLiteral("id_vb")})
{
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
