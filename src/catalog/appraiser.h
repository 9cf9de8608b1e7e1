#ifndef ZENTAVO_APPRAISER_H
#define ZENTAVO_APPRAISER_H

#include "zentavo_export.h"

#include <QDate>
#include <QMap>
#include <QString>
#include <QStringList>

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
    Appraiser(const Appraiser&) = delete;
    Appraiser& operator=(const Appraiser&) = delete;

    virtual QString& getFirstName(QString& value) { return value = texts[FIRST_NAME]; }
    virtual void setFirstName(const QString& value) { texts[FIRST_NAME] = value; }
    virtual QString& getMiddleName(QString& value) { return value = texts[MIDDLE_NAME]; }
    virtual void setMiddleName(const QString& value) { texts[MIDDLE_NAME] = value; }
    virtual QString& getLastName(QString& value) { return value = texts[LAST_NAME]; }
    virtual void setLastName(const QString& value) { texts[LAST_NAME] = value; }

    int getId() const { return specialistId; }
    int getAppraiserId() const { return appraiserId; }
    // Binds the record to the rows of this identifier (-1: detached) and forgets the keys.
    void init(int id);
    appraisertype_t getType() const { return type; }
    void setType(appraisertype_t newType);

    QString& getAddInfo(QString& value) const { return value = texts[ADD_INFO]; }
    void setAddInfo(const QString& value) { texts[ADD_INFO] = value; }
    QString& getLocation(QString& value) const { return value = texts[LOCATION]; }
    void setLocation(const QString& value) { texts[LOCATION] = value; }
    QString& getCategory(QString& value) const { return value = texts[CATEGORY]; }
    void setCategory(const QString& value) { texts[CATEGORY] = value; }
    // The name of the self-regulatory organisation.
    QString& getSRO(QString& value) const { return value = texts[SRO]; }
    void setSRO(const QString& value) { texts[SRO] = value; }
    // The number in the organisation's registry.
    QString& getSRONumber(QString& value) const { return value = texts[SRO_NUMBER]; }
    void setSRONumber(const QString& value) { texts[SRO_NUMBER] = value; }
    QString& getSROLocation(QString& value) const { return value = texts[SRO_LOCATION]; }
    void setSROLocation(const QString& value) { texts[SRO_LOCATION] = value; }
    QString& getDiplomNumber(QString& value) const { return value = texts[DIPLOM_NUMBER]; }
    void setDiplomNumber(const QString& value) { texts[DIPLOM_NUMBER] = value; }
    QString& getDiplomSerial(QString& value) const { return value = texts[DIPLOM_SERIAL]; }
    void setDiplomSerial(const QString& value) { texts[DIPLOM_SERIAL] = value; }
    QString& getDiplomOrg(QString& value) const { return value = texts[DIPLOM_ORG]; }
    void setDiplomOrg(const QString& value) { texts[DIPLOM_ORG] = value; }
    QDate& getDiplomDate(QDate& value) const { return value = diplomDate; }
    void setDiplomDate(const QDate& value) { diplomDate = value; }
    QString& getInsurNumber(QString& value) const { return value = texts[INSUR_NUMBER]; }
    void setInsurNumber(const QString& value) { texts[INSUR_NUMBER] = value; }
    QString& getInsurOrg(QString& value) const { return value = texts[INSUR_ORG]; }
    void setInsurOrg(const QString& value) { texts[INSUR_ORG] = value; }
    QDate& getInsurDate(QDate& value) const { return value = insurDate; }
    void setInsurDate(const QDate& value) { insurDate = value; }
    // -1: not given.
    int getInsurLimit() const { return insurLimit; }
    void setInsurLimit(int value) { insurLimit = value; }
    // Years of experience; -1: not given.
    int getAge() const { return age; }
    void setAge(int value) { age = value; }
    // The additional-liability flag lives only in the evaluation, not in the catalog.
    bool getAdditionalResponsilbility() const { return additionalResponsibility; }
    void setAdditionalResponcibility(bool value) { additionalResponsibility = value; }

    // Reads the rows of the identifier; nothing changes when there is none.
    void load();
    void load(int id);
    // Stores the person, all or nothing; an appraiser turned specialist loses its
    // appraiser row. A failed statement rolls the whole save back, the identifiers are
    // what they were before it, and the answer is false.
    bool save();
    bool save_appr(QSqlQuery& query);
    void bindSValues(QSqlQuery& query) const;
    void bindAValues(QSqlQuery& query) const;

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
    QString& fieldValue(field_t field, long flags, QString& value) const;
    QByteArray& fieldLine(field_t field, const QString& name, QByteArray& line) const;
    void readField(field_t field, const QString& text);

    int specialistId = -1;
    int appraiserId = -1;
    appraisertype_t type = SPECIALIST;
    QString texts[FieldCount];
    QDate diplomDate;
    QDate insurDate;
    int insurLimit = -1;
    int age = -1;
    bool additionalResponsibility = false;
    QString markerWord;
    QString specialistWord;
    QString typeTag;
    QMap<QString, field_t> keys;
};

#endif
