#include "costapproach.h"

#include "toolconsole.h"

#include "evaluation/evaluationtagstorage.h"

#include <cmath>

namespace {

const QString newPriceTag = QStringLiteral("ЗП_СТОИМОСТЬ_НОВОГО_ТС");
const QString wearTag = QStringLiteral("ЗП_ИЗНОС");
const QString costTag = QStringLiteral("ЗП_СТОИМОСТЬ");
const QString repairTag = QStringLiteral("СТОИМОСТЬ_ВОССТ_РЕМОНТА");

} // namespace

CostApproach::CostApproach(EvaluationTagStorage& storage)
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
    const double wear = percent(wearTag);
    QString range;
    if (newPrice.isNull() || std::isnan(wear) || !allows(wearTag, wear, range)) {
        cost = Money();
        return cost;
    }
    Money repair;
    storage.getTag(repairTag, repair);
    const double repairRubles = repair.isNull() ? 0.0 : repair.getRubles();
    cost = wholeRubles(newPrice.getRubles() * (1.0 - wear / 100.0) - repairRubles);
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

HostApproach::Kind CostApproach::kindOf(const QString& tag) const
{
    if (tag == newPriceTag)
        return Kind::Amount;
    return tag == wearTag ? Kind::Percent : Kind::None;
}

bool CostApproach::allows(const QString&, double percent, QString& range) const
{
    range = ToolConsole::tr("from 0 to 100");
    return percent >= 0.0 && percent <= 100.0;
}
