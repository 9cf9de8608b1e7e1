#ifndef ZENTAVO_CATALOGTABLE_H
#define ZENTAVO_CATALOGTABLE_H

#include "zentavo_export.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>

class QSqlQuery;

// The statements a catalog record stores and reads itself with, built from the record's
// row: its values by column name. Every value is bound by name (":column") and results
// are read back by column name, so a statement and its values cannot drift apart.
// Failures are logged by SQLStorage::exec.
class ZENTAVO_EXPORT CatalogTable
{
public:
    // "insert into table (a,b) values (:a,:b)"; id, when given, receives the new row's
    // id, and the insert fails, id untouched, when the driver gives none.
    static bool insert(const QString& table, const QVariantMap& row, int* id = nullptr);
    // "update table set a=:a,b=:b where key=:key": the row holds the key's value too.
    static bool update(const QString& table, const QVariantMap& row, const QString& key);
    static bool remove(const QString& table, const QString& key, const QVariant& value);
    // "select a,b from source where k=:k and ... order": the rows whose columns hold the
    // values of where.
    static bool select(QSqlQuery& query, const QStringList& columns, const QString& source,
                       const QVariantMap& where, const QString& order = QString());
    // The values of the current row of a query, by column name.
    static std::function<QVariant(const QString& column)> reader(const QSqlQuery& query);
    // The integer in a column, -1 for NULL or anything else.
    static int idOf(const QVariant& stored);
};

#endif
