#ifndef ZENTAVO_NAMEDRECORDCATALOG_H
#define ZENTAVO_NAMEDRECORDCATALOG_H

#include "zentavo_export.h"

#include <QMap>
#include <QString>

#include <functional>

class QSqlQuery;

// Stored records offered for selection: each record's identifier under the name it is
// shown by.
class ZENTAVO_EXPORT NamedRecordCatalog
{
public:
    QMap<int, QString> getNames() const { return names; }

protected:
    // Replaces the names with one per row the statement selects; none when it fails.
    void loadNames(const QString& statement, const QString& idColumn,
                   const std::function<QString(const QSqlQuery&)>& displayName);
    // The identifier of the record shown under this name, or -1.
    int idOfName(const QString& name) const;

private:
    QMap<int, QString> names;
};

#endif
