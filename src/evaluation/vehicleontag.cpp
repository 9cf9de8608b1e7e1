#include "evaluation/vehicleontag.h"

#include "catalog/vehiclebodytypecatalog.h"
#include "catalog/vehiclebrandcatalog.h"
#include "catalog/vehiclemodelcatalog.h"
#include "catalog/vehicletransmissioncatalog.h"
#include "catalog/vehicletypecatalog.h"
#include "runtime/logger.h"

VehicleOnTag::VehicleOnTag(EvaluationStorage* storage) : tags(storage, fields()) {}

const TagTable::Fields& VehicleOnTag::fields()
{
    using Kind = TagTable::Kind;
    static const TagTable::Fields described = {
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
        {QStringLiteral("ПТС_ДУБЛИКАТ"), Kind::Bool},
        {QStringLiteral("РЕГИСТРАЦИОННЫЙ_ЗНАК"), Kind::Text},
        {QStringLiteral("ДАТА_ВЫПУСКА_ТС"), Kind::Date},
        {QStringLiteral("VIN"), Kind::Text},
        {QStringLiteral("НОМЕР_ДВИГАТЕЛЯ"), Kind::Text},
        {QStringLiteral("НОМЕР_ШАССИ"), Kind::Text},
        {QStringLiteral("МОДЕЛЬ_ДВИГАТЕЛЯ"), Kind::Text},
        {QStringLiteral("НОМЕР_КУЗОВА"), Kind::Text},
        {QStringLiteral("ЦВЕТ_КУЗОВА"), Kind::Text},
        {QStringLiteral("МЕСТО_НАХОЖДЕНИЯ_ТС"), Kind::Text},
        {QStringLiteral("РАБОЧИЙ_ОБЪЕМ"), Kind::Int},
        {QStringLiteral("МОЩНОСТЬ_КВТ"), Kind::Real},
        {QStringLiteral("МОЩНОСТЬ_ЛС"), Kind::Real},
        {QStringLiteral("ПРОБЕГ_КМ"), Kind::Int},
        {QStringLiteral("ПРОБЕГ_МИЛЬ"), Kind::Int},
        {QStringLiteral("НОМЕР_АКТА_ОСМОТРА"), Kind::Text},
        {QStringLiteral("ДАТА_АКТА_ОСМОТРА"), Kind::Date},
        {QStringLiteral("ПРИ_ОСМОТРЕ_ТС_ОБНАРУЖЕНО"), Kind::Text},
        {QStringLiteral("СОСТОЯНИЕ_ТС"), Kind::Text},
        {QStringLiteral("ТЕКУЩЕЕ_ИСПОЛЬЗОВАНИЕ_ТС"), Kind::Text},
        {QStringLiteral("ОБРЕМЕНЕНИЯ_ТС"), Kind::Text},
        {QStringLiteral("ИНВЕНТАРНЫЙ_НОМЕР_ТС"), Kind::Text},
        {QStringLiteral("БАЛАНСОВАЯ_СТОИМОСТЬ_ТС"), Kind::Money},
        {QStringLiteral("ОСНОВАНИЕ_БАЛАНСОВОЙ_СТОИМОСТИ_ТС"), Kind::Text},
        {QStringLiteral("ДАТА_БАЛАНСОВОЙ_СТОИМОСТИ_ТС"), Kind::Date},
        {QStringLiteral("ДРУГИЕ_ФАКТОРЫ_ТС"), Kind::Text},
    };
    Q_ASSERT(described.size() == FieldCount);
    return described;
}

QStringList VehicleOnTag::tagNames()
{
    return TagTable::reportedNames(fields());
}

int VehicleOnTag::getVehicleTypeId()
{
    return idOf(VehicleType, [](const QString& type) { return VehicleTypeCatalog::getInstance()->find(type); });
}

// The type is kept as stored even when the catalog does not hold it (an empty catalog
// before the first update): the catalog only maps it to an id.
QString& VehicleOnTag::getVehicleType(QString& type)
{
    return tags.get(VehicleType, type);
}

void VehicleOnTag::setVehicleType(int id)
{
    setByCatalogId(VehicleType, *VehicleTypeCatalog::getInstance(), id);
}

// Body types, brands and models are looked up under this vehicle's own type and brand,
// not through the lists a host shows: two open evaluations may differ in both. A type
// the catalog does not know (an empty catalog before the first update) has no body
// types of its own; its body type is then looked up among those the host shows.
int VehicleOnTag::getBodyTypeId()
{
    return idOf(BodyType, [this](const QString& body) {
        VehicleBodyTypeCatalog* bodyTypes = VehicleBodyTypeCatalog::getInstance();
        const int type = getVehicleTypeId();
        return bodyTypes->findUnder(type != -1 ? type : bodyTypes->getVehicleType(), body);
    });
}

int VehicleOnTag::getBrandId()
{
    return idOf(Brand, [this](const QString& brand) {
        return VehicleBrandCatalog::getInstance()->findUnder(getVehicleTypeId(), brand);
    });
}

int VehicleOnTag::getModelId()
{
    return idOf(Model, [this](const QString& model) {
        return VehicleModelCatalog::getInstance()->findUnder(getBrandId(), model);
    });
}

int VehicleOnTag::getTransmissionId()
{
    return idOf(Transmission,
                [](const QString& name) { return VehicleTransmissionCatalog::getInstance()->find(name); });
}

void VehicleOnTag::setTransmissionId(int id)
{
    setByCatalogId(Transmission, *VehicleTransmissionCatalog::getInstance(), id);
}

void VehicleOnTag::setLogged(Field field, const QString& value)
{
    LOG_TRACE() << tags.name(field) << "length" << value.size();
    tags.set(field, value);
}

int VehicleOnTag::idOf(Field field, const std::function<int(const QString&)>& lookup) const
{
    QString text;
    return tags.get(field, text).isEmpty() ? -1 : lookup(text);
}

void VehicleOnTag::setByCatalogId(Field field, const SimpleCatalog& catalog, int id)
{
    QString name;
    tags.set(field, catalog.getName(id, name));
}
