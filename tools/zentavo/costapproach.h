#ifndef ZENTAVO_TOOL_COSTAPPROACH_H
#define ZENTAVO_TOOL_COSTAPPROACH_H

#include "hostapproach.h"

// The cost approach ("Затратный подход", key "ЗП"): the price of a new vehicle of the
// same make and equipment, less physical wear, less the cost of the repairs it needs.
//   ЗП_СТОИМОСТЬ_НОВОГО_ТС   price of a new vehicle (input)
//   ЗП_ИЗНОС                 physical wear, percent from 0 to 100 (input)
//   СТОИМОСТЬ_ВОССТ_РЕМОНТА  repair cost (the vehicle's own tag)
//   ЗП_СТОИМОСТЬ             = new price × (1 − wear / 100) − repair cost, whole rubles
// The price of a new vehicle is also the full cost of the analogue. A wear outside 0 to 100
// gives no cost at all, never a negative or inflated one.
class CostApproach : public HostApproach
{
public:
    explicit CostApproach(EvaluationTagStorage& storage);

    Money& getAnalogFullCost(Money& cost) override;
    Money& getCost(Money& cost) override;

protected:
    QStringList storedTags() const override;
    bool computedTag(const QString& name, QString& value, tagflag_t flags) override;
    Kind kindOf(const QString& tag) const override;
    bool allows(const QString& tag, double percent, QString& range) const override;
};

#endif
