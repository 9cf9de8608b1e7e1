#include "catalogsource/vehiclecatalogsource.h"

#include "catalog/vehiclebodytypecatalog.h"
#include "catalog/vehiclebrandcatalog.h"
#include "catalog/vehiclemodelcatalog.h"
#include "catalog/vehicletransmissioncatalog.h"
#include "catalog/vehicletypecatalog.h"
#include "catalogsource/vehiclexmlhandler.h"

VehicleCatalogSource::VehicleCatalogSource(QObject* parent) : CatalogHttpsSource(parent)
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

QString VehicleCatalogSource::getIdent()
{
    return QStringLiteral("vehicles");
}

QUrl VehicleCatalogSource::getCatalogUrl()
{
    return catalogServerUrl(QStringLiteral("/cgi-bin/vehicleBrands.cgi"));
}

bool VehicleCatalogSource::parseResult(const QByteArray& downloaded)
{
    VehicleXmlHandler handler;
    return importFeed(handler, downloaded);
}
