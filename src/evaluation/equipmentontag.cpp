#include "evaluation/equipmentontag.h"

#include "evaluation/equipmenttableontag.h"
#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <QIODevice>

const QStringList& EquipmentOnTag::tagNames()
{
    static const QStringList names = {
        QStringLiteral("СТОИМОСТЬ_ВОССТ_РЕМОНТА"),
        QStringLiteral("ПП_ДЛЯ_РАСЧ_СТОИМ_РЕМ"),
        QStringLiteral("ЛИЦ_ПП_ДЛЯ_РАСЧ_СТОИМ_РЕМ"),
    };
    return names;
}

EquipmentOnTag::EquipmentOnTag(EvaluationStorage* storage)
    : storage(storage),
      repairCostTag(tagNames().at(0)),
      softwareTag(tagNames().at(1)),
      licenceTag(tagNames().at(2))
{
}

EquipmentOnTag::~EquipmentOnTag() = default;

Money& EquipmentOnTag::getRepairCost(Money& cost)
{
    QString text;
    if (storage->getTag(repairCostTag, text).isEmpty()) {
        cost = Money(0, 0);
        return cost;
    }
    return storage->getTag(repairCostTag, cost);
}

void EquipmentOnTag::setRepairCost(const Money& cost)
{
    storage->setTag(repairCostTag, cost);
}

QString& EquipmentOnTag::getRepairSoftware(QString& software)
{
    return storage->getTag(softwareTag, software);
}

void EquipmentOnTag::setRepairSoftware(const QString& software)
{
    storage->setTag(softwareTag, software);
}

QString& EquipmentOnTag::getRepairSoftwareLicence(QString& licence)
{
    return storage->getTag(licenceTag, licence);
}

void EquipmentOnTag::setRepairSoftwareLicence(const QString& licence)
{
    storage->setTag(licenceTag, licence);
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
    if (name == repairCostTag) {
        Money cost;
        TagUtils::condProcessFlagMONEY(flags, getRepairCost(cost), value);
        return true;
    }
    if (name == softwareTag) {
        getRepairSoftware(value);
        return true;
    }
    if (name == licenceTag) {
        getRepairSoftwareLicence(value);
        return true;
    }
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
    QByteArray line;
    Money cost;
    out.write(TagUtils::mkTagLine(repairCostTag, getRepairCost(cost), line));
    QString text;
    out.write(TagUtils::mkTagLine(softwareTag, getRepairSoftware(text), line));
    out.write(TagUtils::mkTagLine(licenceTag, getRepairSoftwareLicence(text), line));
    for (int kind = 0; kind < TableCount; ++kind)
        table(kind).save(out);
}
