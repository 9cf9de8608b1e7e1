#ifndef ZENTAVO_EQUIPMENTONTAG_H
#define ZENTAVO_EQUIPMENTONTAG_H

#include "evaluation/equipment.h"
#include "evaluation/tagtable.h"

#include <memory>

class EquipmentTableOnTag;

// The equipment over the evaluation's tags. Each table reads its rows from the tags
// when it is first asked for and keeps them in memory from then on.
class ZENTAVO_EXPORT EquipmentOnTag : public Equipment
{
public:
    explicit EquipmentOnTag(EvaluationStorage* storage);
    ~EquipmentOnTag() override;

    void save(QIODevice& out) override;
    Money& getRepairCost(Money& cost) override;
    void setRepairCost(const Money& cost) override { tags.set(RepairCost, cost); }
    QString& getRepairSoftware(QString& software) override { return tags.get(Software, software); }
    void setRepairSoftware(const QString& software) override { tags.set(Software, software); }
    QString& getRepairSoftwareLicence(QString& licence) override { return tags.get(Licence, licence); }
    void setRepairSoftwareLicence(const QString& licence) override { tags.set(Licence, licence); }
    EquipmentTable* getCompletionTable() override;
    EquipmentTable* getRemovalTable() override;
    EquipmentTable* getConversionTable() override;

    bool getTag(const QString& name, QString& value, long flags) override;
    // Its own report tags; the tables answer theirs.
    static const QStringList& tagNames();

private:
    static constexpr int TableCount = 3;
    enum Field : int { RepairCost, Software, Licence };
    static const TagTable::Fields& fields();

    EquipmentTableOnTag& table(int kind);

    EvaluationStorage* storage;
    TagTable tags;
    std::unique_ptr<EquipmentTableOnTag> tables[TableCount];
};

#endif
