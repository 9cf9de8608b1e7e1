#include "catalog/vehicletypecatalog.h"

#include "catalog/sqlstorage.h"
#include "runtime/logger.h"
#include "runtime/singletonregistry.h"

#include <QSqlQuery>
#include <QVariant>

VehicleTypeCatalog* VehicleTypeCatalog::getInstance()
{
    return SingletonRegistry::instance<VehicleTypeCatalog>([](VehicleTypeCatalog* catalog) { catalog->load(); });
}

void VehicleTypeCatalog::load()
{
    QSqlQuery query(SQLStorage::getInstance()->getCatalogDatabase());
    query.prepare(QStringLiteral("select id_vt,name,treadminh from vehicletype order by name"));
    treadHeights.clear();
    loadNames(query, [this](const QSqlQuery& row) {
        bool numeric = false;
        const double height = row.value(2).toDouble(&numeric);
        if (numeric && !row.isNull(2))
            treadHeights.insert(row.value(0).toInt(), Real(height));
    });
}

bool VehicleTypeCatalog::getTreadMinHeight(int id, Real& height) const
{
    const bool found = treadHeights.contains(id);
    if (found)
        height = treadHeights.value(id);
    else
        height.letNull();
    LOG_TRACE() << "H=" << height << found;
    return found;
}
