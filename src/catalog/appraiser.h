#ifndef ZENTAVO_APPRAISER_H
#define ZENTAVO_APPRAISER_H

#include "zentavo_export.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

class EvaluationStorage;
class QIODevice;
class QSqlQuery;

// A person who works on an evaluation. Every such person is a specialist (table
// "specialist"); a certified appraiser also has membership of a self-regulatory
// organisation (SRO), a qualification diploma and liability insurance (table "appraiser",
// sharing the specialist's identifier). An evaluation carries a copy of the person under
// the position of its entry.
class ZENTAVO_EXPORT Appraiser
{
public:
    enum appraisertype_t { SPECIALIST = 1, APPRAISER = 2 };

    Appraiser();
    explicit Appraiser(int id);
    Appraiser(int index, EvaluationStorage& storage);
    virtual ~Appraiser();
    Q_DISABLE_COPY(Appraiser)

    virtual QString& getFirstName(QString& value) { return value = values[FIRST_NAME].toString(); }
    virtual void setFirstName(const QString& value) { values[FIRST_NAME] = value; }
    virtual QString& getMiddleName(QString& value) { return value = values[MIDDLE_NAME].toString(); }
    virtual void setMiddleName(const QString& value) { values[MIDDLE_NAME] = value; }
    virtual QString& getLastName(QString& value) { return value = values[LAST_NAME].toString(); }
    virtual void setLastName(const QString& value) { values[LAST_NAME] = value; }

    int getId() const { return specialistId; }
    int getAppraiserId() const { return appraiserId; }
    // Binds the record to the rows of this identifier (-1: detached) and forgets the keys.
    void init(int id);
    appraisertype_t getType() const { return type; }
    void setType(appraisertype_t newType);

    QString& getAddInfo(QString& value) const { return value = values[ADD_INFO].toString(); }
    void setAddInfo(const QString& value) { values[ADD_INFO] = value; }
    QString& getLocation(QString& value) const { return value = values[LOCATION].toString(); }
    void setLocation(const QString& value) { values[LOCATION] = value; }
    QString& getCategory(QString& value) const { return value = values[CATEGORY].toString(); }
    void setCategory(const QString& value) { values[CATEGORY] = value; }
    // The name of the self-regulatory organisation.
    QString& getSRO(QString& value) const { return value = values[SRO].toString(); }
    void setSRO(const QString& value) { values[SRO] = value; }
    // The number in the organisation's registry.
    QString& getSRONumber(QString& value) const { return value = values[SRO_NUMBER].toString(); }
    void setSRONumber(const QString& value) { values[SRO_NUMBER] = value; }
    QString& getSROLocation(QString& value) const { return value = values[SRO_LOCATION].toString(); }
    void setSROLocation(const QString& value) { values[SRO_LOCATION] = value; }
    QString& getDiplomNumber(QString& value) const { return value = values[DIPLOM_NUMBER].toString(); }
    void setDiplomNumber(const QString& value) { values[DIPLOM_NUMBER] = value; }
    QString& getDiplomSerial(QString& value) const { return value = values[DIPLOM_SERIAL].toString(); }
    void setDiplomSerial(const QString& value) { values[DIPLOM_SERIAL] = value; }
    QString& getDiplomOrg(QString& value) const { return value = values[DIPLOM_ORG].toString(); }
    void setDiplomOrg(const QString& value) { values[DIPLOM_ORG] = value; }
    QDate& getDiplomDate(QDate& value) const { return value = values[DIPLOM_DATE].toDate(); }
    void setDiplomDate(const QDate& value) { values[DIPLOM_DATE] = value; }
    QString& getInsurNumber(QString& value) const { return value = values[INSUR_NUMBER].toString(); }
    void setInsurNumber(const QString& value) { values[INSUR_NUMBER] = value; }
    QString& getInsurOrg(QString& value) const { return value = values[INSUR_ORG].toString(); }
    void setInsurOrg(const QString& value) { values[INSUR_ORG] = value; }
    QDate& getInsurDate(QDate& value) const { return value = values[INSUR_DATE].toDate(); }
    void setInsurDate(const QDate& value) { values[INSUR_DATE] = value; }
    // -1: not given.
    int getInsurLimit() const { return values[INSUR_LIMIT].toInt(); }
    void setInsurLimit(int value) { values[INSUR_LIMIT] = value; }
    // Years of experience; -1: not given.
    int getAge() const { return values[AGE].toInt(); }
    void setAge(int value) { values[AGE] = value; }
    // The additional-liability flag lives only in the evaluation, not in the catalog.
    bool getAdditionalResponsilbility() const { return values[ADDITIONAL_RESPONSIBILITY].toBool(); }
    void setAdditionalResponcibility(bool value) { values[ADDITIONAL_RESPONSIBILITY] = value; }

    // Reads the rows of the identifier; nothing changes when there is none.
    void load();
    void load(int id);
    // Stores the person, all or nothing; an appraiser turned specialist loses its
    // appraiser row. A failed statement rolls the whole save back, the identifiers are
    // what they were before it, and the answer is false.
    bool save();

    // Answers only the tags of the current type.
    bool getTag(const QString& name, QString& value, long flags);
    // The report tags a person of this type answers, without the report number.
    static QStringList tagNames(appraisertype_t type);
    // The marker, the type tag and the tags of the current type, under the position.
    bool save(int index, QIODevice& out);
    void loadFromStorage(int index, EvaluationStorage& storage);

private:
    enum field_t {
        LAST_NAME, FIRST_NAME, MIDDLE_NAME, ADD_INFO, LOCATION, SRO, SRO_NUMBER, SRO_LOCATION,
        ADDITIONAL_RESPONSIBILITY, CATEGORY, DIPLOM_NUMBER, DIPLOM_SERIAL, DIPLOM_DATE, DIPLOM_ORG,
        INSUR_NUMBER, INSUR_DATE, INSUR_ORG, INSUR_LIMIT, AGE, FieldCount
    };

    static QMap<QString, field_t> keysOf(appraisertype_t type);
    void initTags();
    bool saveRows();
    bool saveAppraiserRow();
    // The values of the fields of one table, by column.
    QVariantMap row(bool specialistTable) const;
    void readColumns(bool specialistTable, const QSqlQuery& query);

    int specialistId = -1;
    int appraiserId = -1;
    appraisertype_t type = SPECIALIST;
    QVariant values[FieldCount];
    QString markerWord;
    QString specialistWord;
    QString typeTag;
    QMap<QString, field_t> keys;
};

#endif
