#ifndef ZENTAVO_VEHICLETYPECATALOG_H
#define ZENTAVO_VEHICLETYPECATALOG_H

#include "catalog/simplecatalog.h"

#include "values/real.h"

// Vehicle types, with the minimum permitted tyre tread height of each.
class ZENTAVO_EXPORT VehicleTypeCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    static VehicleTypeCatalog* getInstance();

    void load() override;
    void save() override {}

    // false, with a null height, when the type has no tread height.
    bool getTreadMinHeight(int id, Real& height) const;

private:
    friend class SingletonRegistry;
    VehicleTypeCatalog() = default;

    QMap<int, Real> treadHeights;
};

#endif
