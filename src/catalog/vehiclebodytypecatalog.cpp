#include "catalog/vehiclebodytypecatalog.h"

#include "runtime/singletonregistry.h"

namespace {
VehicleBodyTypeCatalog* instance = nullptr;
}

VehicleBodyTypeCatalog* VehicleBodyTypeCatalog::getInstance()
{
    return SingletonRegistry::instance(instance);
}

VehicleBodyTypeCatalog::VehicleBodyTypeCatalog()
    : FilteredCatalog({QStringLiteral("vehiclebodytype"), QStringLiteral("id_vbt"), QStringLiteral("id_vt")})
{
}
