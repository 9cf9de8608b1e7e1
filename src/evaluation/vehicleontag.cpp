#include "evaluation/vehicleontag.h"

#include "catalog/vehiclebodytypecatalog.h"
#include "catalog/vehiclebrandcatalog.h"
#include "catalog/vehiclemodelcatalog.h"
#include "catalog/vehicletransmissioncatalog.h"
#include "catalog/vehicletypecatalog.h"
#include "runtime/logger.h"
#include "values/tagutils.h"

#include <QIODevice>

#include <iterator>

VehicleOnTag::VehicleOnTag(EvaluationStorage* storage) : storage(storage) {}

const VehicleOnTag::FieldInfo& VehicleOnTag::info(Field field)
{
    static const FieldInfo table[] = {
        {QStringLiteral("ТИП_ТС"), Kind::Text},
        {QStringLiteral("МАРКА_ТС"), Kind::Text},
        {QStringLiteral("ТИП_КУЗОВА"), Kind::Text},
        {QStringLiteral("МОДЕЛЬ_ТС"), Kind::Text},
        {QStringLiteral("ТИП_КПП"), Kind::Text},
        {QStringLiteral("КОМПЛЕКТАЦИЯ_ТС"), Kind::Text},
        {QStringLiteral("СВИДЕТЕЛЬСТВО_О_РЕГИСТРАЦИИ"), Kind::Text},
        {QStringLiteral("ДАТА_СВИДЕТЕЛЬСТВА_О_РЕГИСТРАЦИИ"), Kind::Date},
        {QStringLiteral("ПТС"), Kind::Text},
        {QStringLiteral("ДАТА_ПТС"), Kind::Date},
        {QStringLiteral("ПТС_ДУБЛИКАТ"), Kind::Flag},
        {QStringLiteral("РЕГИСТРАЦИОННЫЙ_ЗНАК"), Kind::Text},
        {QStringLiteral("ДАТА_ВЫПУСКА_ТС"), Kind::Date},
        {QStringLiteral("VIN"), Kind::Text},
        {QStringLiteral("НОМЕР_ДВИГАТЕЛЯ"), Kind::Text},
        {QStringLiteral("НОМЕР_ШАССИ"), Kind::Text},
        {QStringLiteral("МОДЕЛЬ_ДВИГАТЕЛЯ"), Kind::Text},
        {QStringLiteral("НОМЕР_КУЗОВА"), Kind::Text},
        {QStringLiteral("ЦВЕТ_КУЗОВА"), Kind::Text},
        {QStringLiteral("МЕСТО_НАХОЖДЕНИЯ_ТС"), Kind::Text},
        {QStringLiteral("РАБОЧИЙ_ОБЪЕМ"), Kind::Integer},
        {QStringLiteral("МОЩНОСТЬ_КВТ"), Kind::Number},
        {QStringLiteral("МОЩНОСТЬ_ЛС"), Kind::Number},
        {QStringLiteral("ПРОБЕГ_КМ"), Kind::Integer},
        {QStringLiteral("ПРОБЕГ_МИЛЬ"), Kind::Integer},
        {QStringLiteral("НОМЕР_АКТА_ОСМОТРА"), Kind::Text},
        {QStringLiteral("ДАТА_АКТА_ОСМОТРА"), Kind::Date},
        {QStringLiteral("ПРИ_ОСМОТРЕ_ТС_ОБНАРУЖЕНО"), Kind::Text},
        {QStringLiteral("СОСТОЯНИЕ_ТС"), Kind::Text},
        {QStringLiteral("ТЕКУЩЕЕ_ИСПОЛЬЗОВАНИЕ_ТС"), Kind::Text},
        {QStringLiteral("ОБРЕМЕНЕНИЯ_ТС"), Kind::Text},
        {QStringLiteral("ИНВЕНТАРНЫЙ_НОМЕР_ТС"), Kind::Text},
        {QStringLiteral("БАЛАНСОВАЯ_СТОИМОСТЬ_ТС"), Kind::Amount},
        {QStringLiteral("ОСНОВАНИЕ_БАЛАНСОВОЙ_СТОИМОСТИ_ТС"), Kind::Text},
        {QStringLiteral("ДАТА_БАЛАНСОВОЙ_СТОИМОСТИ_ТС"), Kind::Date},
        {QStringLiteral("ДРУГИЕ_ФАКТОРЫ_ТС"), Kind::Text},
    };
    static_assert(std::size(table) == FieldCount, "one tag per field, in field order");
    return table[field];
}

QStringList VehicleOnTag::tagNames()
{
    QStringList names;
    for (int field = 0; field < FieldCount; ++field)
        names << tagName(Field(field));
    return names;
}

int VehicleOnTag::getVehicleTypeId()
{
    return idIn(*VehicleTypeCatalog::getInstance(), VehicleType);
}

// The type is kept as stored even when the catalog does not hold it (an empty catalog
// before the first update): the catalog only maps it to an id.
QString& VehicleOnTag::getVehicleType(QString& type)
{
    return get(VehicleType, type);
}

void VehicleOnTag::setVehicleType(int id)
{
    setByCatalogId(VehicleType, id);
}

int VehicleOnTag::getBodyTypeId()
{
    return idIn(*VehicleBodyTypeCatalog::getInstance(), BodyType);
}

int VehicleOnTag::getBrandId()
{
    QString brand;
    if (get(Brand, brand).isEmpty())
        return -1;
    VehicleBrandCatalog* brands = VehicleBrandCatalog::getInstance();
    brands->setVehicleType(getVehicleTypeId());
    return brands->find(brand);
}

int VehicleOnTag::getModelId()
{
    QString model;
    if (get(Model, model).isEmpty())
        return -1;
    VehicleModelCatalog* models = VehicleModelCatalog::getInstance();
    models->setVehicleBrand(getBrandId());
    return models->find(model);
}

int VehicleOnTag::getTransmissionId()
{
    return idIn(*VehicleTransmissionCatalog::getInstance(), Transmission);
}

void VehicleOnTag::setTransmissionId(int id)
{
    setByCatalogId(Transmission, id);
}

void VehicleOnTag::setLogged(Field field, const QString& value)
{
    LOG_TRACE() << tagName(field) << "length" << value.size();
    set(field, value);
}

int VehicleOnTag::idIn(const SimpleCatalog& catalog, Field field) const
{
    QString text;
    return get(field, text).isEmpty() ? -1 : catalog.find(text);
}

SimpleCatalog& VehicleOnTag::namingCatalog(Field field) const
{
    if (field == Transmission)
        return *VehicleTransmissionCatalog::getInstance();
    return *VehicleTypeCatalog::getInstance();
}

void VehicleOnTag::setByCatalogId(Field field, int id)
{
    QString name;
    set(field, namingCatalog(field).getName(id, name));
}

bool VehicleOnTag::getTag(const QString& name, QString& value, long flags)
{
    static const Field identification[] = {VehicleType, Brand, Model, BodyType, Transmission};
    for (Field field : identification) {
        if (answer(field, name, flags, value))
            return true;
    }
    for (int field = Transmission + 1; field < FieldCount; ++field) {
        if (answer(Field(field), name, flags, value))
            return true;
    }
    return false;
}

bool VehicleOnTag::answer(Field field, const QString& name, long flags, QString& value) const
{
    if (name != tagName(field))
        return false;
    valueText(field, flags, value);
    return true;
}

QString& VehicleOnTag::valueText(Field field, long flags, QString& value) const
{
    switch (info(field).kind) {
    case Kind::Text:
        return get(field, value);
    case Kind::Date: {
        QDate date;
        return TagUtils::condProcessFlagDATE(flags, get(field, date), value);
    }
    case Kind::Flag:
        return TagUtils::processBool(getScalar<bool>(field), value);
    case Kind::Integer:
        return TagUtils::processInt(getScalar<int>(field), value);
    case Kind::Number: {
        Real number;
        return TagUtils::processReal(get(field, number), value);
    }
    case Kind::Amount: {
        Money amount;
        return TagUtils::condProcessFlagMONEY(flags, get(field, amount), value);
    }
    }
    return value;
}

void VehicleOnTag::save(QIODevice& out)
{
    QByteArray line;
    for (int field = 0; field < FieldCount; ++field)
        out.write(tagLine(Field(field), line));
}

QByteArray& VehicleOnTag::tagLine(Field field, QByteArray& line) const
{
    const QString& name = tagName(field);
    switch (info(field).kind) {
    case Kind::Text: {
        QString text;
        return TagUtils::mkTagLine(name, get(field, text), line);
    }
    case Kind::Date: {
        QDate date;
        return TagUtils::mkTagLine(name, get(field, date), line);
    }
    case Kind::Flag:
        return TagUtils::mkTagLine(name, getScalar<bool>(field), line);
    case Kind::Integer:
        return TagUtils::mkTagLine(name, getScalar<int>(field), line);
    case Kind::Number: {
        Real number;
        return TagUtils::mkTagLine(name, get(field, number), line);
    }
    case Kind::Amount: {
        Money amount;
        return TagUtils::mkTagLine(name, get(field, amount), line);
    }
    }
    return line;
}
