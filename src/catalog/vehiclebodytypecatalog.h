#ifndef ZENTAVO_VEHICLEBODYTYPECATALOG_H
#define ZENTAVO_VEHICLEBODYTYPECATALOG_H

#include "catalog/filteredcatalog.h"

// Body types of one vehicle type; empty until the type is set.
class ZENTAVO_EXPORT VehicleBodyTypeCatalog : public FilteredCatalog
{
    Q_OBJECT

public:
    static VehicleBodyTypeCatalog* getInstance();

    // Reloads on every call, also for the current type.
    void setVehicleType(int vehicleType) { setFilter(vehicleType, true); }
    int getVehicleType() const { return getFilter(); }

private:
    friend class SingletonRegistry;
    VehicleBodyTypeCatalog();
};

#endif
