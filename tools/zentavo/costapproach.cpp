#include "costapproach.h"

namespace {

const QString newPriceTag = QStringLiteral("ЗП_СТОИМОСТЬ_НОВОГО_ТС");
const QString wearTag = QStringLiteral("ЗП_ИЗНОС");
const QString costTag = QStringLiteral("ЗП_СТОИМОСТЬ");
const QString repairTag = QStringLiteral("СТОИМОСТЬ_ВОССТ_РЕМОНТА");

} // namespace

CostApproach::CostApproach(EvaluationStorage& storage)
    : HostApproach(storage, QStringLiteral("Затратный подход"), QStringLiteral("ЗП"))
{
}

Money& CostApproach::getAnalogFullCost(Money& cost)
{
    cost = money(newPriceTag);
    return cost;
}

Money& CostApproach::getCost(Money& cost)
{
    const Money newPrice = money(newPriceTag);
    if (newPrice.isNull()) {
        cost = Money();
        return cost;
    }
    const Money repair = money(repairTag);
    const double repairRubles = repair.isNull() ? 0.0 : repair.getRubles();
    cost = wholeRubles(newPrice.getRubles() * (1.0 - percent(wearTag) / 100.0) - repairRubles);
    return cost;
}

QStringList CostApproach::storedTags() const
{
    QStringList names;
    for (const QString& name : {newPriceTag, wearTag})
        if (!text(name).isNull())
            names.append(name);
    return names;
}

bool CostApproach::computedTag(const QString& name, QString& value, tagflag_t flags)
{
    if (name != costTag)
        return false;
    Money cost;
    answerMoney(getCost(cost), value, flags);
    return true;
}
