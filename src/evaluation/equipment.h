#ifndef ZENTAVO_EQUIPMENT_H
#define ZENTAVO_EQUIPMENT_H

#include "zentavo_export.h"

#include "values/money.h"

#include <QString>

class EquipmentTable;
class QIODevice;

// The equipment of the vehicle: the cost of restoration repair with the software
// (and its licence) that computed it, and the three tables of equipment changes.
class ZENTAVO_EXPORT Equipment
{
public:
    Equipment() = default;
    virtual ~Equipment() = default;
    Equipment(const Equipment&) = delete;
    Equipment& operator=(const Equipment&) = delete;

    virtual void save(QIODevice& out) = 0;
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

    // Answers the equipment's report tags and those of its tables (name upper-cased);
    // false for other names.
    virtual bool getTag(const QString& name, QString& value, long flags) = 0;
};

#endif
