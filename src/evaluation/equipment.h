#ifndef ZENTAVO_EQUIPMENT_H
#define ZENTAVO_EQUIPMENT_H

#include "evaluation/tagsection.h"
#include "values/money.h"

#include <QString>

class EquipmentTable;

// The equipment of the vehicle: the cost of restoration repair with the software
// (and its licence) that computed it, and the three tables of equipment changes,
// whose report tags it answers too.
class ZENTAVO_EXPORT Equipment : public TagSection
{
public:
    // Zero when no cost was entered.
    virtual Money& getRepairCost(Money& cost) = 0;
    virtual void setRepairCost(const Money& cost) = 0;
    virtual QString& getRepairSoftware(QString& software) = 0;
    virtual void setRepairSoftware(const QString& software) = 0;
    virtual QString& getRepairSoftwareLicence(QString& licence) = 0;
    virtual void setRepairSoftwareLicence(const QString& licence) = 0;
    // The tables are owned by the equipment and live as long as it does.
    virtual EquipmentTable* getCompletionTable() = 0;
    virtual EquipmentTable* getRemovalTable() = 0;
    virtual EquipmentTable* getConversionTable() = 0;
};

#endif
