#ifndef ZENTAVO_VEHICLE_H
#define ZENTAVO_VEHICLE_H

#include "evaluation/tagsection.h"
#include "values/money.h"
#include "values/real.h"

#include <QDate>
#include <QString>

// The vehicle being valued: its identification (type, brand, model, body, VIN and
// numbers), registration papers, technical data, the inspection and its book value.
// Type, brand, body type, model and transmission are pick-list entries of the
// vehicle catalogs; an identifier of -1 means "not chosen" or "not in the catalog".
// Integer fields read -1 when empty or not a number.
class ZENTAVO_EXPORT Vehicle : public TagSection
{
public:

    virtual int getVehicleTypeId() = 0;
    // The catalog's name of the type: a null string when the type is not in the catalog.
    virtual QString& getVehicleType(QString& type) = 0;
    virtual void setVehicleType(int id) = 0;
    virtual int getBodyTypeId() = 0;
    virtual QString& getBodyType(QString& bodyType) = 0;
    virtual void setBodyType(const QString& bodyType) = 0;
    // Brands are looked up among the brands of the vehicle's type.
    virtual int getBrandId() = 0;
    virtual QString& getBrand(QString& brand) = 0;
    virtual void setBrand(const QString& brand) = 0;
    // Models are looked up among the models of the vehicle's brand.
    virtual int getModelId() = 0;
    virtual QString& getModel(QString& model) = 0;
    virtual void setModel(const QString& model) = 0;
    virtual int getTransmissionId() = 0;
    virtual void setTransmissionId(int id) = 0;

    virtual QString& getTrim(QString& trim) = 0;
    virtual void setTrim(const QString& trim) = 0;
    virtual QString& getRegistrationCertificate(QString& certificate) = 0;
    virtual void setRegistrationCertificate(const QString& certificate) = 0;
    virtual QDate& getRegistrationCertificateDate(QDate& date) = 0;
    virtual void setRegistrationCertificateDate(const QDate& date) = 0;
    // The vehicle passport (PTS).
    virtual QString& getPassport(QString& passport) = 0;
    virtual void setPassport(const QString& passport) = 0;
    virtual QDate& getPassportDate(QDate& date) = 0;
    virtual void setPassportDate(const QDate& date) = 0;
    virtual bool isPassportDuplicate() = 0;
    virtual void setPassportDuplicate(bool duplicate) = 0;
    virtual QString& getRegistrationPlate(QString& plate) = 0;
    virtual void setRegistrationPlate(const QString& plate) = 0;
    virtual QDate& getManufactureDate(QDate& date) = 0;
    virtual void setManufactureDate(const QDate& date) = 0;
    virtual QString& getVin(QString& vin) = 0;
    virtual void setVin(const QString& vin) = 0;
    virtual QString& getEngineNumber(QString& number) = 0;
    virtual void setEngineNumber(const QString& number) = 0;
    virtual QString& getChassisNumber(QString& number) = 0;
    virtual void setChassisNumber(const QString& number) = 0;
    virtual QString& getEngineModel(QString& model) = 0;
    virtual void setEngineModel(const QString& model) = 0;
    virtual QString& getBodyNumber(QString& number) = 0;
    virtual void setBodyNumber(const QString& number) = 0;
    virtual QString& getBodyColor(QString& color) = 0;
    virtual void setBodyColor(const QString& color) = 0;
    virtual QString& getLocation(QString& location) = 0;
    virtual void setLocation(const QString& location) = 0;
    // Engine displacement in cubic centimetres.
    virtual int getDisplacement() = 0;
    virtual void setDisplacement(int displacement) = 0;
    virtual Real& getPowerKw(Real& power) = 0;
    virtual void setPowerKw(const Real& power) = 0;
    virtual int getMileageKm() = 0;
    virtual void setMileageKm(int mileage) = 0;
    virtual Real& getPowerHp(Real& power) = 0;
    virtual void setPowerHp(const Real& power) = 0;
    virtual int getMileageMiles() = 0;
    virtual void setMileageMiles(int mileage) = 0;
    virtual QString& getInspectionActNumber(QString& number) = 0;
    virtual void setInspectionActNumber(const QString& number) = 0;
    virtual QDate& getInspectionActDate(QDate& date) = 0;
    virtual void setInspectionActDate(const QDate& date) = 0;
    virtual QString& getInspectionFindings(QString& findings) = 0;
    virtual void setInspectionFindings(const QString& findings) = 0;
    virtual QString& getCondition(QString& condition) = 0;
    virtual void setCondition(const QString& condition) = 0;
    virtual QString& getCurrentUse(QString& use) = 0;
    virtual void setCurrentUse(const QString& use) = 0;
    virtual QString& getEncumbrances(QString& encumbrances) = 0;
    virtual void setEncumbrances(const QString& encumbrances) = 0;
    virtual QString& getInventoryNumber(QString& number) = 0;
    virtual void setInventoryNumber(const QString& number) = 0;
    virtual Money& getBookValue(Money& value) = 0;
    virtual void setBookValue(const Money& value) = 0;
    virtual QString& getBookValueBasis(QString& basis) = 0;
    virtual void setBookValueBasis(const QString& basis) = 0;
    virtual QDate& getBookValueDate(QDate& date) = 0;
    virtual void setBookValueDate(const QDate& date) = 0;
    virtual QString& getOtherFactors(QString& factors) = 0;
    virtual void setOtherFactors(const QString& factors) = 0;
};

#endif
