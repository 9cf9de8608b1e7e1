#ifndef ZENTAVO_VEHICLEMODELCATALOG_H
#define ZENTAVO_VEHICLEMODELCATALOG_H

#include "catalog/simplecatalog.h"

#include "values/real.h"

// Models of one brand; empty until the brand is set.
class ZENTAVO_EXPORT VehicleModelCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    static VehicleModelCatalog* getInstance();

    void load() override;
    void save() override {}

    // Reloads only when the brand changes.
    void setVehicleBrand(int brand);
    int getVehicleBrand() const { return brand; }
    // Model coefficients from columns the current schema does not have: null then.
    Real get_Kt(int id) const;
    Real get_Lt(int id) const;

private:
    friend class SingletonRegistry;
    VehicleModelCatalog() = default;

    Real coefficient(const QString& statement, int id) const;

    int brand = -1;
};

#endif
