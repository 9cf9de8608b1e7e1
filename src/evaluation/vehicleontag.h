#ifndef ZENTAVO_VEHICLEONTAG_H
#define ZENTAVO_VEHICLEONTAG_H

#include "model/evaluationstorage.h"
#include "evaluation/vehicle.h"

#include <QByteArray>
#include <QStringList>

class SimpleCatalog;

// The vehicle over the evaluation's tags: every field is one tag, read and written
// on each call, so the section itself holds no values.
class ZENTAVO_EXPORT VehicleOnTag : public Vehicle
{
public:
    explicit VehicleOnTag(EvaluationStorage* storage);

    void save(QIODevice& out) override;

    int getVehicleTypeId() override;
    QString& getVehicleType(QString& type) override;
    void setVehicleType(int id) override;
    int getBodyTypeId() override;
    QString& getBodyType(QString& bodyType) override { return get(BodyType, bodyType); }
    void setBodyType(const QString& bodyType) override { set(BodyType, bodyType); }
    int getBrandId() override;
    QString& getBrand(QString& brand) override { return get(Brand, brand); }
    void setBrand(const QString& brand) override { setLogged(Brand, brand); }
    int getModelId() override;
    QString& getModel(QString& model) override { return get(Model, model); }
    void setModel(const QString& model) override { setLogged(Model, model); }
    int getTransmissionId() override;
    void setTransmissionId(int id) override;

    QString& getTrim(QString& v) override { return get(Trim, v); }
    void setTrim(const QString& v) override { set(Trim, v); }
    QString& getRegistrationCertificate(QString& v) override { return get(RegistrationCertificate, v); }
    void setRegistrationCertificate(const QString& v) override { set(RegistrationCertificate, v); }
    QDate& getRegistrationCertificateDate(QDate& v) override { return get(RegistrationCertificateDate, v); }
    void setRegistrationCertificateDate(const QDate& v) override { set(RegistrationCertificateDate, v); }
    QString& getPassport(QString& v) override { return get(Passport, v); }
    void setPassport(const QString& v) override { set(Passport, v); }
    QDate& getPassportDate(QDate& v) override { return get(PassportDate, v); }
    void setPassportDate(const QDate& v) override { set(PassportDate, v); }
    bool isPassportDuplicate() override { return getScalar<bool>(PassportDuplicate); }
    void setPassportDuplicate(bool v) override { set(PassportDuplicate, v); }
    QString& getRegistrationPlate(QString& v) override { return get(RegistrationPlate, v); }
    void setRegistrationPlate(const QString& v) override { set(RegistrationPlate, v); }
    QDate& getManufactureDate(QDate& v) override { return get(ManufactureDate, v); }
    void setManufactureDate(const QDate& v) override { set(ManufactureDate, v); }
    QString& getVin(QString& v) override { return get(Vin, v); }
    void setVin(const QString& v) override { set(Vin, v); }
    QString& getEngineNumber(QString& v) override { return get(EngineNumber, v); }
    void setEngineNumber(const QString& v) override { set(EngineNumber, v); }
    QString& getChassisNumber(QString& v) override { return get(ChassisNumber, v); }
    void setChassisNumber(const QString& v) override { set(ChassisNumber, v); }
    QString& getEngineModel(QString& v) override { return get(EngineModel, v); }
    void setEngineModel(const QString& v) override { set(EngineModel, v); }
    QString& getBodyNumber(QString& v) override { return get(BodyNumber, v); }
    void setBodyNumber(const QString& v) override { set(BodyNumber, v); }
    QString& getBodyColor(QString& v) override { return get(BodyColor, v); }
    void setBodyColor(const QString& v) override { set(BodyColor, v); }
    QString& getLocation(QString& v) override { return get(Location, v); }
    void setLocation(const QString& v) override { set(Location, v); }
    int getDisplacement() override { return getScalar<int>(Displacement); }
    void setDisplacement(int v) override { set(Displacement, v); }
    Real& getPowerKw(Real& v) override { return get(PowerKw, v); }
    void setPowerKw(const Real& v) override { set(PowerKw, v); }
    int getMileageKm() override { return getScalar<int>(MileageKm); }
    void setMileageKm(int v) override { set(MileageKm, v); }
    Real& getPowerHp(Real& v) override { return get(PowerHp, v); }
    void setPowerHp(const Real& v) override { set(PowerHp, v); }
    int getMileageMiles() override { return getScalar<int>(MileageMiles); }
    void setMileageMiles(int v) override { set(MileageMiles, v); }
    QString& getInspectionActNumber(QString& v) override { return get(InspectionActNumber, v); }
    void setInspectionActNumber(const QString& v) override { set(InspectionActNumber, v); }
    QDate& getInspectionActDate(QDate& v) override { return get(InspectionActDate, v); }
    void setInspectionActDate(const QDate& v) override { set(InspectionActDate, v); }
    QString& getInspectionFindings(QString& v) override { return get(InspectionFindings, v); }
    void setInspectionFindings(const QString& v) override { set(InspectionFindings, v); }
    QString& getCondition(QString& v) override { return get(Condition, v); }
    void setCondition(const QString& v) override { set(Condition, v); }
    QString& getCurrentUse(QString& v) override { return get(CurrentUse, v); }
    void setCurrentUse(const QString& v) override { set(CurrentUse, v); }
    QString& getEncumbrances(QString& v) override { return get(Encumbrances, v); }
    void setEncumbrances(const QString& v) override { set(Encumbrances, v); }
    QString& getInventoryNumber(QString& v) override { return get(InventoryNumber, v); }
    void setInventoryNumber(const QString& v) override { set(InventoryNumber, v); }
    Money& getBookValue(Money& v) override { return get(BookValue, v); }
    void setBookValue(const Money& v) override { set(BookValue, v); }
    QString& getBookValueBasis(QString& v) override { return get(BookValueBasis, v); }
    void setBookValueBasis(const QString& v) override { set(BookValueBasis, v); }
    QDate& getBookValueDate(QDate& v) override { return get(BookValueDate, v); }
    void setBookValueDate(const QDate& v) override { set(BookValueDate, v); }
    QString& getOtherFactors(QString& v) override { return get(OtherFactors, v); }
    void setOtherFactors(const QString& v) override { set(OtherFactors, v); }

    bool getTag(const QString& name, QString& value, long flags) override;
    // One report tag per field, in field order.
    static QStringList tagNames();

private:
    // The fields in the order their tag lines are written.
    enum Field : int {
        VehicleType,
        Brand,
        BodyType,
        Model,
        Transmission,
        Trim,
        RegistrationCertificate,
        RegistrationCertificateDate,
        Passport,
        PassportDate,
        PassportDuplicate,
        RegistrationPlate,
        ManufactureDate,
        Vin,
        EngineNumber,
        ChassisNumber,
        EngineModel,
        BodyNumber,
        BodyColor,
        Location,
        Displacement,
        PowerKw,
        PowerHp,
        MileageKm,
        MileageMiles,
        InspectionActNumber,
        InspectionActDate,
        InspectionFindings,
        Condition,
        CurrentUse,
        Encumbrances,
        InventoryNumber,
        BookValue,
        BookValueBasis,
        BookValueDate,
        OtherFactors,
        FieldCount
    };

    // How a field's tag text is read, answered and written.
    enum class Kind { Text, Date, Flag, Integer, Number, Amount };
    struct FieldInfo
    {
        QString tag;
        Kind kind;
    };
    static const FieldInfo& info(Field field);
    static const QString& tagName(Field field) { return info(field).tag; }

    template <typename T>
    T& get(Field field, T& value) const
    {
        return storage->getTag(tagName(field), value);
    }
    template <typename T>
    T getScalar(Field field) const
    {
        T value{};
        return get(field, value);
    }
    template <typename T>
    void set(Field field, const T& value)
    {
        storage->setTag(tagName(field), value);
    }
    void setLogged(Field field, const QString& value);

    // -1 when the field's tag is empty or its text is not in the catalog.
    int idIn(const SimpleCatalog& catalog, Field field) const;
    SimpleCatalog& namingCatalog(Field field) const;
    void setByCatalogId(Field field, int id);

    bool answer(Field field, const QString& name, long flags, QString& value) const;
    QString& valueText(Field field, long flags, QString& value) const;
    QByteArray& tagLine(Field field, QByteArray& line) const;

    EvaluationStorage* storage;
};

#endif
