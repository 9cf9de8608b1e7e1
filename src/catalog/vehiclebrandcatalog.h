#ifndef ZENTAVO_VEHICLEBRANDCATALOG_H
#define ZENTAVO_VEHICLEBRANDCATALOG_H

#include "catalog/simplecatalog.h"

// Brands of one vehicle type; empty until the type is set.
class ZENTAVO_EXPORT VehicleBrandCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    static VehicleBrandCatalog* getInstance();

    void load() override;
    void save() override {}

    // Reloads only when the type changes.
    void setVehicleType(int vehicleType);
    int getVehicleType() const { return vehicleType; }

private:
    friend class SingletonRegistry;
    VehicleBrandCatalog() = default;

    int vehicleType = -1;
};

#endif
