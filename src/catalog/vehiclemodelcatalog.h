#ifndef ZENTAVO_VEHICLEMODELCATALOG_H
#define ZENTAVO_VEHICLEMODELCATALOG_H

#include "catalog/filteredcatalog.h"

#include "values/real.h"

// Models of one brand; empty until the brand is set.
class ZENTAVO_EXPORT VehicleModelCatalog : public FilteredCatalog
{
    Q_OBJECT

public:
    static VehicleModelCatalog* getInstance();

    // Reloads only when the brand changes.
    void setVehicleBrand(int brand) { setFilter(brand, false); }
    int getVehicleBrand() const { return getFilter(); }
    // Model coefficients from columns the current schema does not have: null then.
    Real get_Kt(int id) const;
    Real get_Lt(int id) const;

private:
    friend class SingletonRegistry;
    VehicleModelCatalog();

    Real coefficient(const QString& statement, int id) const;
};

#endif
