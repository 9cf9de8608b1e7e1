#include "catalogsource/peoplecatalogsource.h"

#include "catalogsource/peoplexmlhandler.h"

PeopleCatalogSource::PeopleCatalogSource(QObject* parent) : CatalogHttpsSource(parent)
{
}

QString PeopleCatalogSource::getTitle()
{
    return tr("Peoples");
}

QString PeopleCatalogSource::getIdent()
{
    return QStringLiteral("people");
}

QUrl PeopleCatalogSource::getCatalogUrl()
{
    return catalogServerUrl(QStringLiteral("/cgi-bin/PeopleCatalogs.cgi"));
}

bool PeopleCatalogSource::parseResult(const QByteArray& downloaded)
{
    PeopleXmlHandler handler;
    return importFeed(handler, downloaded);
}
