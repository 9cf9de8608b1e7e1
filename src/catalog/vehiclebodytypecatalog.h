#ifndef ZENTAVO_VEHICLEBODYTYPECATALOG_H
#define ZENTAVO_VEHICLEBODYTYPECATALOG_H

#include "catalog/simplecatalog.h"

// Body types of one vehicle type; empty until the type is set.
class ZENTAVO_EXPORT VehicleBodyTypeCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    static VehicleBodyTypeCatalog* getInstance();

    void load() override;
    void save() override {}

    // Reloads on every call, also for the current type.
    void setVehicleType(int vehicleType);
    int getVehicleType() const { return vehicleType; }

private:
    friend class SingletonRegistry;
    VehicleBodyTypeCatalog() = default;

    int vehicleType = -1;
};

#endif
