#include "catalogsource/peoplecatalogsource.h"

#include "catalogsource/peoplexmlhandler.h"

PeopleCatalogSource::PeopleCatalogSource(QObject* parent)
    : CatalogHttpsSource({QStringLiteral("people"), QStringLiteral("/cgi-bin/PeopleCatalogs.cgi")}, parent)
{
}

QString PeopleCatalogSource::getTitle()
{
    return tr("Peoples");
}

bool PeopleCatalogSource::parseResult(const QByteArray& downloaded)
{
    PeopleXmlHandler handler;
    return importFeed(handler, downloaded);
}
