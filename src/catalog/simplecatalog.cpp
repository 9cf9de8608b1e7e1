#include "catalog/simplecatalog.h"

#include "catalog/sqlstorage.h"

#include <QSqlQuery>
#include <QVariant>

SimpleCatalog::SimpleCatalog(QObject* parent) : QObject(parent)
{
}

void SimpleCatalog::add(int id, const QString& name)
{
    names.insert(id, name);
    emit updated();
}

int SimpleCatalog::add(const QString& name)
{
    const int id = names.isEmpty() ? 1 : names.lastKey() + 1;
    add(id, name);
    return id;
}

void SimpleCatalog::del(int id)
{
    names.remove(id);
}

int SimpleCatalog::find(const QString& name) const
{
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        if (it.value() == name)
            return it.key();
    }
    return -1;
}

QString& SimpleCatalog::getName(int id, QString& name) const
{
    name = names.value(id);
    return name;
}

void SimpleCatalog::getNames(QMap<int, QString>& out) const
{
    out = names;
}

void SimpleCatalog::on_catalog_imported()
{
    load();
}

void SimpleCatalog::loadNames(QSqlQuery& query, const std::function<void(const QSqlQuery&)>& eachRow)
{
    const bool done = SQLStorage::exec(query);
    names.clear();
    while (done && query.next()) {
        names.insert(query.value(0).toInt(), query.value(1).toString());
        if (eachRow)
            eachRow(query);
    }
    query.finish();
}
