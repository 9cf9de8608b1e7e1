#ifndef ZENTAVO_FILTEREDCATALOG_H
#define ZENTAVO_FILTEREDCATALOG_H

#include "catalog/simplecatalog.h"

// A pick list narrowed to the rows of one vehicle type or one brand, the filter; it is
// empty until the filter is set. A lookup under a given filter asks the database, so
// it never depends on the filter the list shows.
class ZENTAVO_EXPORT FilteredCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    void load() override;
    void save() override {}

    // The smallest identifier of the rows with this name under the filter value
    // given, whatever the list shows; -1 when there is none or the query fails.
    int findUnder(int under, const QString& name) const;

protected:
    // Where the rows live: the table, its identifier column and the column the filter matches.
    struct Table
    {
        QString name;
        QString idColumn;
        QString filterColumn;
    };

    explicit FilteredCatalog(Table table);

    // Reloads when the filter changes, or on every call when alwaysReload is set.
    void setFilter(int value, bool alwaysReload);
    int getFilter() const { return filter; }

private:
    const Table table;
    int filter = -1;
};

#endif
