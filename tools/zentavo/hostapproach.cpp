#include "hostapproach.h"

#include "evaluation/evaluationstorage.h"
#include "values/real.h"
#include "values/tagutils.h"

#include <quazip/quazipfile.h>

#include <cmath>

HostApproach::HostApproach(EvaluationStorage& storage, QString name, QString key)
    : storage(storage), name(std::move(name)), key(std::move(key))
{
}

bool HostApproach::getTag(const QString& tag, QString& value, tagflag_t flags)
{
    if (computedTag(tag, value, flags))
        return true;
    if (!tag.startsWith(key + QLatin1Char('_')) || !storedTags().contains(tag))
        return false;
    value = text(tag);
    bool isAmount = false;
    Money amount;
    TagUtils::parseMoney(value, &isAmount, amount);
    if (isAmount && flags != 0)
        answerMoney(amount, value, flags);
    return true;
}

void HostApproach::save(QuaZipFile& file)
{
    QByteArray line;
    for (const QString& tag : storedTags()) {
        QString value = text(tag);
        file.write(TagUtils::mkTagLine(tag, value, line));
    }
}

QString& HostApproach::getName(QString& out)
{
    out = name;
    return out;
}

QString& HostApproach::getTagKey(QString& out)
{
    out = key;
    return out;
}

Money& HostApproach::getAnalogFullCost(Money& cost)
{
    cost = Money();
    return cost;
}

QPixmap& HostApproach::getImage(int, QPixmap& image)
{
    image = QPixmap();
    return image;
}

QString HostApproach::text(const QString& tag) const
{
    QString value;
    return storage.getTag(tag, value);
}

Money HostApproach::money(const QString& tag) const
{
    Money amount;
    return storage.getTag(tag, amount);
}

double HostApproach::percent(const QString& tag) const
{
    Real value;
    storage.getTag(tag, value);
    return value.isNull() ? 0.0 : value.getVal();
}

Money HostApproach::wholeRubles(double rubles)
{
    Money amount;
    amount.let(std::round(rubles));
    return amount;
}

QString& HostApproach::answerMoney(const Money& amount, QString& value, tagflag_t flags)
{
    return TagUtils::condProcessFlagMONEY(flags, amount, value);
}
