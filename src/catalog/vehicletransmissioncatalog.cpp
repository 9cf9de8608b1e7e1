#include "catalog/vehicletransmissioncatalog.h"

#include "runtime/singletonregistry.h"

VehicleTransmissionCatalog* VehicleTransmissionCatalog::getInstance()
{
    return SingletonRegistry::instance<VehicleTransmissionCatalog>(
        [](VehicleTransmissionCatalog* catalog) { catalog->load(); });
}

void VehicleTransmissionCatalog::load()
{
    names.insert(1, QStringLiteral("Ручная механическая"));
    names.insert(2, QStringLiteral("Автоматическая"));
    names.insert(3, QStringLiteral("Вариатор"));
    names.insert(4, QStringLiteral("Робот. с одним сцеплением"));
    names.insert(5, QStringLiteral("Робот. с двумя сцеплениями"));
}
