#include "catalog/vehiclebrandcatalog.h"

#include "runtime/singletonregistry.h"

VehicleBrandCatalog* VehicleBrandCatalog::getInstance()
{
    return SingletonRegistry::instance<VehicleBrandCatalog>();
}

VehicleBrandCatalog::VehicleBrandCatalog()
    : FilteredCatalog({QStringLiteral("vehiclebrand"), QStringLiteral("id_vb"), QStringLiteral("id_vt")})
{
}
