#include "evaluation/equipmentontag.h"

#include "evaluation/equipmenttableontag.h"

const TagTable::Fields& EquipmentOnTag::fields()
{
    using Kind = TagTable::Kind;
    static const TagTable::Fields described = {
        {QStringLiteral("СТОИМОСТЬ_ВОССТ_РЕМОНТА"), Kind::Money, TagTable::Mode::Computed},
        {QStringLiteral("ПП_ДЛЯ_РАСЧ_СТОИМ_РЕМ"), Kind::Text},
        {QStringLiteral("ЛИЦ_ПП_ДЛЯ_РАСЧ_СТОИМ_РЕМ"), Kind::Text},
    };
    return described;
}

// The repair cost is the one value computed: zero rather than null when empty.
EquipmentOnTag::EquipmentOnTag(EvaluationStorage* storage)
    : storage(storage), tags(storage, fields(), [this](int) -> TagTable::Value {
          Money cost;
          return getRepairCost(cost);
      })
{
}

EquipmentOnTag::~EquipmentOnTag() = default;

const QStringList& EquipmentOnTag::tagNames()
{
    static const QStringList names = TagTable::reportedNames(fields());
    return names;
}

Money& EquipmentOnTag::getRepairCost(Money& cost)
{
    QString text;
    if (tags.get(RepairCost, text).isEmpty()) {
        cost = Money(0, 0);
        return cost;
    }
    return tags.get(RepairCost, cost);
}

EquipmentTable* EquipmentOnTag::getCompletionTable()
{
    return &table(EquipmentTable::Completion);
}

EquipmentTable* EquipmentOnTag::getRemovalTable()
{
    return &table(EquipmentTable::Removal);
}

EquipmentTable* EquipmentOnTag::getConversionTable()
{
    return &table(EquipmentTable::Conversion);
}

EquipmentTableOnTag& EquipmentOnTag::table(int kind)
{
    if (!tables[kind])
        tables[kind] = std::make_unique<EquipmentTableOnTag>(kind, storage);
    return *tables[kind];
}

bool EquipmentOnTag::getTag(const QString& name, QString& value, long flags)
{
    if (tags.getTag(name, value, flags))
        return true;
    for (int kind = 0; kind < TableCount; ++kind) {
        if (table(kind).getTag(name, value, flags))
            return true;
    }
    return false;
}

// Tables that were never asked for are created here, so rows loaded from a file
// are written back even when nobody looked at them.
void EquipmentOnTag::save(QIODevice& out)
{
    tags.save(out);
    for (int kind = 0; kind < TableCount; ++kind)
        table(kind).save(out);
}
