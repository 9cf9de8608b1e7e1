#ifndef ZENTAVO_EQUIPMENTONTAG_H
#define ZENTAVO_EQUIPMENTONTAG_H

#include "evaluation/equipment.h"

#include <memory>

#include <QStringList>

class EquipmentTableOnTag;
class EvaluationStorage;

// The equipment over the evaluation's tags. Each table reads its rows from the tags
// when it is first asked for and keeps them in memory from then on.
class ZENTAVO_EXPORT EquipmentOnTag : public Equipment
{
public:
    explicit EquipmentOnTag(EvaluationStorage* storage);
    ~EquipmentOnTag() override;

    void save(QIODevice& out) override;
    Money& getRepairCost(Money& cost) override;
    void setRepairCost(const Money& cost) override;
    QString& getRepairSoftware(QString& software) override;
    void setRepairSoftware(const QString& software) override;
    QString& getRepairSoftwareLicence(QString& licence) override;
    void setRepairSoftwareLicence(const QString& licence) override;
    EquipmentTable* getCompletionTable() override;
    EquipmentTable* getRemovalTable() override;
    EquipmentTable* getConversionTable() override;

    bool getTag(const QString& name, QString& value, long flags) override;
    // Its own report tags; the tables answer theirs.
    static const QStringList& tagNames();

private:
    static constexpr int TableCount = 3;

    EquipmentTableOnTag& table(int kind);

    EvaluationStorage* storage;
    const QString repairCostTag;
    const QString softwareTag;
    const QString licenceTag;
    std::unique_ptr<EquipmentTableOnTag> tables[TableCount];
};

#endif
