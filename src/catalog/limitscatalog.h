#ifndef ZENTAVO_LIMITSCATALOG_H
#define ZENTAVO_LIMITSCATALOG_H

#include "catalog/simplecatalog.h"

#include <QStringList>

class SingletonRegistry;

// Ready-made statements of the limiting conditions and assumptions of a valuation
// report, grouped in sections. The list holds the default texts of the current
// section, numbered from 1; they live in memory only, never in the catalog database.
class ZENTAVO_EXPORT LimitsCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    // Created with section 1 selected and loaded.
    static LimitsCatalog* getInstance();

    // Selects a section and loads its texts; selecting the current one keeps the list as it is.
    void setSection(int section);
    int getSection() const;
    int countSections() const;
    // Index 0 is "no section" and has an empty name; outside the list a null string.
    QString getSectionName(int index) const;
    int count() const;

    // Replaces the list with the default texts of the current section.
    void load() override;
    void save() override;

private:
    friend class SingletonRegistry;
    LimitsCatalog();

    int section = 0;
    QStringList sectionNames;
};

#endif
