#ifndef ZENTAVO_SIMPLECATALOG_H
#define ZENTAVO_SIMPLECATALOG_H

#include "zentavo_export.h"

#include <QMap>
#include <QObject>
#include <QString>

#include <functional>

class QSqlQuery;

// A pick list of the evaluation: identifiers and display names, loaded from the
// catalog database. Adding and deleting change only the list in memory.
class ZENTAVO_EXPORT SimpleCatalog : public QObject
{
    Q_OBJECT

public:
    explicit SimpleCatalog(QObject* parent = nullptr);

    virtual void load() = 0;
    virtual void save() = 0;

    // Sets the name of id, inserting or replacing it.
    void add(int id, const QString& name);
    // Stores the name under one more than the largest identifier (1 when empty).
    int add(const QString& name);
    void del(int id);
    // The smallest identifier whose name is exactly this one; -1 when none is.
    int find(const QString& name) const;
    // A null string for an identifier that is not in the list.
    QString& getName(int id, QString& name) const;
    void getNames(QMap<int, QString>& out) const;

signals:
    void updated();

public slots:
    void on_catalog_imported();

protected:
    // Runs the prepared query and replaces the list with its rows: identifier in
    // column 0, name in column 1. eachRow sees every row for further columns. A
    // failed query leaves the list empty.
    void loadNames(QSqlQuery& query, const std::function<void(const QSqlQuery&)>& eachRow = {});

    QMap<int, QString> names;
};

#endif
