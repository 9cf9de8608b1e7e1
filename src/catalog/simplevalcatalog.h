#ifndef ZENTAVO_SIMPLEVALCATALOG_H
#define ZENTAVO_SIMPLEVALCATALOG_H

#include "zentavo_export.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>

// A list of names with a value each, in ascending name order.
class ZENTAVO_EXPORT SimpleValCatalog
{
public:
    virtual ~SimpleValCatalog() = default;

    bool add(const QString& name, const QVariant& value);
    QStringList getNames() const;
    // The first name, in name order, whose value equals this one; null when none.
    QString searchName(const QVariant& value) const;
    // An invalid value for a name that is not in the list.
    QVariant getValue(const QString& name) const;

private:
    QMap<QString, QVariant> values;
};

#endif
