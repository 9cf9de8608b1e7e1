#include "catalog/vehiclebrandcatalog.h"

#include "runtime/singletonregistry.h"

namespace {
VehicleBrandCatalog* instance = nullptr;
}

VehicleBrandCatalog* VehicleBrandCatalog::getInstance()
{
    return SingletonRegistry::instance(instance);
}

VehicleBrandCatalog::VehicleBrandCatalog()
    : FilteredCatalog({QStringLiteral("vehiclebrand"), QStringLiteral("id_vb"), QStringLiteral("id_vt")})
{
}
