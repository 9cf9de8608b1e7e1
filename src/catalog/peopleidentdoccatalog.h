#ifndef ZENTAVO_PEOPLEIDENTDOCCATALOG_H
#define ZENTAVO_PEOPLEIDENTDOCCATALOG_H

#include "catalog/simplecatalog.h"

// Kinds of identity documents.
class ZENTAVO_EXPORT PeopleIdentDocCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    static PeopleIdentDocCatalog* getInstance();

    void load() override;
    void save() override {}

private:
    friend class SingletonRegistry;
    PeopleIdentDocCatalog() = default;
};

#endif
