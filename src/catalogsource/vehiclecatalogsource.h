#ifndef ZENTAVO_VEHICLECATALOGSOURCE_H
#define ZENTAVO_VEHICLECATALOGSOURCE_H

#include "catalogsource/cataloghttpssource.h"

// Vehicle types, body types, brands, models and transmissions from the maker's catalog
// server (/cgi-bin/vehicleBrands.cgi). Rows keep their local ids across imports; the
// vehicle catalogs reload when a load ends.
class ZENTAVO_EXPORT VehicleCatalogSource : public CatalogHttpsSource
{
    Q_OBJECT

public:
    explicit VehicleCatalogSource(QObject* parent = nullptr);

    QString getTitle() override;
    bool parseResult(const QByteArray& downloaded) override;
};

#endif
