#ifndef ZENTAVO_VEHICLEONTAG_H
#define ZENTAVO_VEHICLEONTAG_H

#include "evaluation/tagtable.h"
#include "evaluation/vehicle.h"

class SimpleCatalog;

// The vehicle over the evaluation's tags: every field is one tag, read and written
// on each call, so the section itself holds no values.
class ZENTAVO_EXPORT VehicleOnTag : public Vehicle
{
public:
    explicit VehicleOnTag(EvaluationStorage* storage);

    void save(QIODevice& out) override { tags.save(out); }

    int getVehicleTypeId() override;
    QString& getVehicleType(QString& type) override;
    void setVehicleType(int id) override;
    int getBodyTypeId() override;
    QString& getBodyType(QString& bodyType) override { return tags.get(BodyType, bodyType); }
    void setBodyType(const QString& bodyType) override { tags.set(BodyType, bodyType); }
    int getBrandId() override;
    QString& getBrand(QString& brand) override { return tags.get(Brand, brand); }
    void setBrand(const QString& brand) override { setLogged(Brand, brand); }
    int getModelId() override;
    QString& getModel(QString& model) override { return tags.get(Model, model); }
    void setModel(const QString& model) override { setLogged(Model, model); }
    int getTransmissionId() override;
    void setTransmissionId(int id) override;

    QString& getTrim(QString& v) override { return tags.get(Trim, v); }
    void setTrim(const QString& v) override { tags.set(Trim, v); }
    QString& getRegistrationCertificate(QString& v) override { return tags.get(RegistrationCertificate, v); }
    void setRegistrationCertificate(const QString& v) override { tags.set(RegistrationCertificate, v); }
    QDate& getRegistrationCertificateDate(QDate& v) override { return tags.get(RegistrationCertificateDate, v); }
    void setRegistrationCertificateDate(const QDate& v) override { tags.set(RegistrationCertificateDate, v); }
    QString& getPassport(QString& v) override { return tags.get(Passport, v); }
    void setPassport(const QString& v) override { tags.set(Passport, v); }
    QDate& getPassportDate(QDate& v) override { return tags.get(PassportDate, v); }
    void setPassportDate(const QDate& v) override { tags.set(PassportDate, v); }
    bool isPassportDuplicate() override { return tags.get<bool>(PassportDuplicate); }
    void setPassportDuplicate(bool v) override { tags.set(PassportDuplicate, v); }
    QString& getRegistrationPlate(QString& v) override { return tags.get(RegistrationPlate, v); }
    void setRegistrationPlate(const QString& v) override { tags.set(RegistrationPlate, v); }
    QDate& getManufactureDate(QDate& v) override { return tags.get(ManufactureDate, v); }
    void setManufactureDate(const QDate& v) override { tags.set(ManufactureDate, v); }
    QString& getVin(QString& v) override { return tags.get(Vin, v); }
    void setVin(const QString& v) override { tags.set(Vin, v); }
    QString& getEngineNumber(QString& v) override { return tags.get(EngineNumber, v); }
    void setEngineNumber(const QString& v) override { tags.set(EngineNumber, v); }
    QString& getChassisNumber(QString& v) override { return tags.get(ChassisNumber, v); }
    void setChassisNumber(const QString& v) override { tags.set(ChassisNumber, v); }
    QString& getEngineModel(QString& v) override { return tags.get(EngineModel, v); }
    void setEngineModel(const QString& v) override { tags.set(EngineModel, v); }
    QString& getBodyNumber(QString& v) override { return tags.get(BodyNumber, v); }
    void setBodyNumber(const QString& v) override { tags.set(BodyNumber, v); }
    QString& getBodyColor(QString& v) override { return tags.get(BodyColor, v); }
    void setBodyColor(const QString& v) override { tags.set(BodyColor, v); }
    QString& getLocation(QString& v) override { return tags.get(Location, v); }
    void setLocation(const QString& v) override { tags.set(Location, v); }
    int getDisplacement() override { return tags.get<int>(Displacement); }
    void setDisplacement(int v) override { tags.set(Displacement, v); }
    Real& getPowerKw(Real& v) override { return tags.get(PowerKw, v); }
    void setPowerKw(const Real& v) override { tags.set(PowerKw, v); }
    int getMileageKm() override { return tags.get<int>(MileageKm); }
    void setMileageKm(int v) override { tags.set(MileageKm, v); }
    Real& getPowerHp(Real& v) override { return tags.get(PowerHp, v); }
    void setPowerHp(const Real& v) override { tags.set(PowerHp, v); }
    int getMileageMiles() override { return tags.get<int>(MileageMiles); }
    void setMileageMiles(int v) override { tags.set(MileageMiles, v); }
    QString& getInspectionActNumber(QString& v) override { return tags.get(InspectionActNumber, v); }
    void setInspectionActNumber(const QString& v) override { tags.set(InspectionActNumber, v); }
    QDate& getInspectionActDate(QDate& v) override { return tags.get(InspectionActDate, v); }
    void setInspectionActDate(const QDate& v) override { tags.set(InspectionActDate, v); }
    QString& getInspectionFindings(QString& v) override { return tags.get(InspectionFindings, v); }
    void setInspectionFindings(const QString& v) override { tags.set(InspectionFindings, v); }
    QString& getCondition(QString& v) override { return tags.get(Condition, v); }
    void setCondition(const QString& v) override { tags.set(Condition, v); }
    QString& getCurrentUse(QString& v) override { return tags.get(CurrentUse, v); }
    void setCurrentUse(const QString& v) override { tags.set(CurrentUse, v); }
    QString& getEncumbrances(QString& v) override { return tags.get(Encumbrances, v); }
    void setEncumbrances(const QString& v) override { tags.set(Encumbrances, v); }
    QString& getInventoryNumber(QString& v) override { return tags.get(InventoryNumber, v); }
    void setInventoryNumber(const QString& v) override { tags.set(InventoryNumber, v); }
    Money& getBookValue(Money& v) override { return tags.get(BookValue, v); }
    void setBookValue(const Money& v) override { tags.set(BookValue, v); }
    QString& getBookValueBasis(QString& v) override { return tags.get(BookValueBasis, v); }
    void setBookValueBasis(const QString& v) override { tags.set(BookValueBasis, v); }
    QDate& getBookValueDate(QDate& v) override { return tags.get(BookValueDate, v); }
    void setBookValueDate(const QDate& v) override { tags.set(BookValueDate, v); }
    QString& getOtherFactors(QString& v) override { return tags.get(OtherFactors, v); }
    void setOtherFactors(const QString& v) override { tags.set(OtherFactors, v); }

    bool getTag(const QString& name, QString& value, long flags) override { return tags.getTag(name, value, flags); }
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

    static const TagTable::Fields& fields();

    void setLogged(Field field, const QString& value);

    // -1 when the field's tag is empty, else what the lookup finds for its text.
    int idOf(Field field, const std::function<int(const QString&)>& lookup) const;
    void setByCatalogId(Field field, const SimpleCatalog& catalog, int id);

    TagTable tags;
};

#endif
