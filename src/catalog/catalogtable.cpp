#include "catalog/catalogtable.h"

#include "catalog/sqlstorage.h"
#include "runtime/logger.h"

#include <QSqlQuery>

namespace {

QString placeholder(const QString& column)
{
    return QLatin1Char(':') + column;
}

// "a=:a", each column with the value bound under its name, joined by the separator.
QString matched(const QStringList& columns, QLatin1String separator)
{
    QStringList pairs;
    for (const QString& column : columns)
        pairs << column + QLatin1Char('=') + placeholder(column);
    return pairs.join(separator);
}

bool run(QSqlQuery& query, const QString& statement, const QVariantMap& bindings)
{
    query.prepare(statement);
    for (auto value = bindings.cbegin(); value != bindings.cend(); ++value)
        query.bindValue(placeholder(value.key()), value.value());
    return SQLStorage::exec(query);
}

QSqlQuery catalogQuery()
{
    return QSqlQuery(SQLStorage::getInstance()->getCatalogDatabase());
}

} // namespace

bool CatalogTable::insert(const QString& table, const QVariantMap& row, int* id)
{
    QStringList placeholders;
    for (const QString& column : row.keys())
        placeholders << placeholder(column);
    QSqlQuery query = catalogQuery();
    const QString statement = QStringLiteral("insert into %1 (%2) values (%3)")
                                  .arg(table, row.keys().join(QLatin1Char(',')), placeholders.join(QLatin1Char(',')));
    if (!run(query, statement, row))
        return false;
    if (!id)
        return true;
    const int inserted = idOf(query.lastInsertId());
    if (inserted == -1) {
        LOG_WARNING() << "no row id after insert into" << table;
        return false;
    }
    *id = inserted;
    return true;
}

bool CatalogTable::update(const QString& table, const QVariantMap& row, const QString& key)
{
    QStringList columns = row.keys();
    columns.removeOne(key);
    QSqlQuery query = catalogQuery();
    return run(query,
               QStringLiteral("update %1 set %2 where %3")
                   .arg(table, matched(columns, QLatin1String(",")), matched({key}, QLatin1String())),
               row);
}

bool CatalogTable::remove(const QString& table, const QString& key, const QVariant& value)
{
    QSqlQuery query = catalogQuery();
    return run(query, QStringLiteral("delete from %1 where %2").arg(table, matched({key}, QLatin1String())),
               {{key, value}});
}

bool CatalogTable::select(QSqlQuery& query, const QStringList& columns, const QString& source,
                          const QVariantMap& where, const QString& order)
{
    QString statement = QStringLiteral("select %1 from %2 where %3")
                            .arg(columns.join(QLatin1Char(',')), source, matched(where.keys(), QLatin1String(" and ")));
    if (!order.isEmpty())
        statement += QLatin1Char(' ') + order;
    return run(query, statement, where);
}

std::function<QVariant(const QString& column)> CatalogTable::reader(const QSqlQuery& query)
{
    return [&query](const QString& column) { return query.value(column); };
}

int CatalogTable::idOf(const QVariant& stored)
{
    bool isInteger = false;
    const int id = stored.toInt(&isInteger);
    return isInteger ? id : -1;
}
