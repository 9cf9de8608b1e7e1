#include "catalogsource/vehiclecatalogsource.h"

#include "catalog/vehiclebodytypecatalog.h"
#include "catalog/vehiclebrandcatalog.h"
#include "catalog/vehiclemodelcatalog.h"
#include "catalog/vehicletransmissioncatalog.h"
#include "catalog/vehicletypecatalog.h"
#include "catalogsource/vehiclexmlhandler.h"

VehicleCatalogSource::VehicleCatalogSource(QObject* parent)
    : CatalogHttpsSource({QStringLiteral("vehicles"), QStringLiteral("/cgi-bin/vehicleBrands.cgi")}, parent)
{
    const auto reloads = [this](SimpleCatalog* catalog) {
        connect(this, &CatalogSource::done, catalog, &SimpleCatalog::on_catalog_imported);
    };
    reloads(VehicleBrandCatalog::getInstance());
    reloads(VehicleBodyTypeCatalog::getInstance());
    reloads(VehicleModelCatalog::getInstance());
    reloads(VehicleTransmissionCatalog::getInstance());
    reloads(VehicleTypeCatalog::getInstance());
}

QString VehicleCatalogSource::getTitle()
{
    return tr("Vehicles");
}

bool VehicleCatalogSource::parseResult(const QByteArray& downloaded)
{
    VehicleXmlHandler handler;
    return importFeed(handler, downloaded);
}
