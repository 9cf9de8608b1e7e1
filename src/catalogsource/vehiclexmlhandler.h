#ifndef ZENTAVO_VEHICLEXMLHANDLER_H
#define ZENTAVO_VEHICLEXMLHANDLER_H

#include "catalogsource/catalogxmlhandler.h"

// The vehicle catalog feed: in a "vehicle" container, "type" (attributes "id" and
// "treadminheight"), "body" and "brand" (attributes "id" and "type", the gid of their
// vehicle type), "model" (attributes "id" and "brand", the gid of its brand) and "trans"
// (attribute "id"). A parent must come before its children, since they find it by its
// gid. Transmissions keep their gid when the feed leaves them out.
class VehicleXmlHandler : public CatalogXmlHandler
{
public:
    VehicleXmlHandler();

    // The row id of the vehicle type / brand now carrying the gid; throws
    // AutoEvalException when none does.
    int getVehicleType(int gid);
    int getVehicleBrand(int gid);

protected:
    bool isEntry(const QString& name) const override;
    void mergeEntry(const QString& name) override;
    void prepareStatements() override;

private:
    void mergeType();
    void mergeBody();
    void mergeBrand();
    void mergeModel();
    void mergeTransmission();
    int lookUp(QSqlQuery& query, int gid, const char* parent);

    EntryStatements types;
    EntryStatements bodies;
    EntryStatements brands;
    EntryStatements models;
    EntryStatements transmissions;
    QSqlQuery typeByGid;
    QSqlQuery brandByGid;
};

#endif
