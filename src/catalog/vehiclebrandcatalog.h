#ifndef ZENTAVO_VEHICLEBRANDCATALOG_H
#define ZENTAVO_VEHICLEBRANDCATALOG_H

#include "catalog/filteredcatalog.h"

// Brands of one vehicle type; empty until the type is set.
class ZENTAVO_EXPORT VehicleBrandCatalog : public FilteredCatalog
{
    Q_OBJECT

public:
    static VehicleBrandCatalog* getInstance();

    // Reloads only when the type changes.
    void setVehicleType(int vehicleType) { setFilter(vehicleType, false); }
    int getVehicleType() const { return getFilter(); }

private:
    friend class SingletonRegistry;
    VehicleBrandCatalog();
};

#endif
