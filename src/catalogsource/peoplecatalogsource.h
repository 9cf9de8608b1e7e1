#ifndef ZENTAVO_PEOPLECATALOGSOURCE_H
#define ZENTAVO_PEOPLECATALOGSOURCE_H

#include "catalogsource/cataloghttpssource.h"

// Kinds of identity documents from the maker's catalog server
// (/cgi-bin/PeopleCatalogs.cgi). The host reloads PeopleIdentDocCatalog after done()
// when it wants the new names shown.
class ZENTAVO_EXPORT PeopleCatalogSource : public CatalogHttpsSource
{
    Q_OBJECT

public:
    explicit PeopleCatalogSource(QObject* parent = nullptr);

    QString getTitle() override;
    bool parseResult(const QByteArray& downloaded) override;
};

#endif
