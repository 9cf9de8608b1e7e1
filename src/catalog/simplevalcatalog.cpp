#include "catalog/simplevalcatalog.h"

bool SimpleValCatalog::add(const QString& name, const QVariant& value)
{
    values.insert(name, value);
    return true;
}

QStringList SimpleValCatalog::getNames() const
{
    return values.keys();
}

QString SimpleValCatalog::searchName(const QVariant& value) const
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (it.value() == value)
            return it.key();
    }
    return QString();
}

QVariant SimpleValCatalog::getValue(const QString& name) const
{
    return values.value(name);
}
