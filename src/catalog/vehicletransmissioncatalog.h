#ifndef ZENTAVO_VEHICLETRANSMISSIONCATALOG_H
#define ZENTAVO_VEHICLETRANSMISSIONCATALOG_H

#include "catalog/simplecatalog.h"

// The five transmission kinds; fixed, the database is not read.
class ZENTAVO_EXPORT VehicleTransmissionCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    static VehicleTransmissionCatalog* getInstance();

    void load() override;
    void save() override {}

private:
    friend class SingletonRegistry;
    VehicleTransmissionCatalog() = default;
};

#endif
