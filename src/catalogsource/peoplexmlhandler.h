#ifndef ZENTAVO_PEOPLEXMLHANDLER_H
#define ZENTAVO_PEOPLEXMLHANDLER_H

#include "catalogsource/catalogxmlhandler.h"

// The identity document feed: "identdoc" entries (attribute "id") in a "people" container.
class PeopleXmlHandler : public CatalogXmlHandler
{
public:
    PeopleXmlHandler();

protected:
    bool isEntry(const QString& name) const override;
    void mergeEntry(const QString& name) override;
    void prepareStatements() override;

private:
    EntryStatements documents;
};

#endif
