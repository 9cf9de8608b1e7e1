#include "catalog/vehiclebodytypecatalog.h"

#include "runtime/singletonregistry.h"

VehicleBodyTypeCatalog* VehicleBodyTypeCatalog::getInstance()
{
    return SingletonRegistry::instance<VehicleBodyTypeCatalog>();
}

VehicleBodyTypeCatalog::VehicleBodyTypeCatalog()
    : FilteredCatalog({QStringLiteral("vehiclebodytype"), QStringLiteral("id_vbt"), QStringLiteral("id_vt")})
{
}
