#ifndef ZENTAVO_PERSON_H
#define ZENTAVO_PERSON_H

#include "model/partypart.h"

class IdentDocument;

// A natural person with an identity document: a party of its own, or the personal
// part of a sole proprietor (the kind passed in gives the kind part of the tag names).
// The values live in the evaluation's tags when a storage is given, otherwise in memory.
class ZENTAVO_EXPORT Person : public PartyPart
{
public:
    // Also the order in which the fields are written.
    enum field_t { FIRST_NAME = 0, MIDDLE_NAME = 1, LAST_NAME = 2, LOCATION = 3, INN = 4, EMAIL = 5, PHONE = 6 };
    static constexpr int FieldCount = 7;

    Person(customertype_t type, customerrole_t role, EvaluationStorage* storage);

    virtual IdentDocument* getIdentDocument() = 0;

    // The person's fields, then its identity document. The flag S shortens the first
    // name and the patronymic to their initials.
    bool getTag(const QString& name, QString& value, long flags) override;
    void save(QIODevice& out, int index = TagUtils::NoIndex) override;

    QString& getFirstName(QString& value) const { return getText(FIRST_NAME, value); }
    void setFirstName(const QString& value) { setText(FIRST_NAME, value); }
    QString& getMiddleName(QString& value) const { return getText(MIDDLE_NAME, value); }
    void setMiddleName(const QString& value) { setText(MIDDLE_NAME, value); }
    QString& getLastName(QString& value) const { return getText(LAST_NAME, value); }
    void setLastName(const QString& value) { setText(LAST_NAME, value); }
    // The registered address.
    QString& getLocation(QString& value) const { return getText(LOCATION, value); }
    void setLocation(const QString& value) { setText(LOCATION, value); }
    QString& getInn(QString& value) const { return getText(INN, value); }
    void setInn(const QString& value) { setText(INN, value); }
    QString& getEmail(QString& value) const { return getText(EMAIL, value); }
    void setEmail(const QString& value) { setText(EMAIL, value); }
    QString& getPhone(QString& value) const { return getText(PHONE, value); }
    void setPhone(const QString& value) { setText(PHONE, value); }

    // Surname, first name and patronymic joined by single spaces, empty parts kept,
    // so the text equals the full name the appraisal company list builds.
    QString& getFIO(QString& fio) const;

    // Its fields in field order, then its identity document's.
    static QStringList tagNames(customertype_t type, customerrole_t role);
};

#endif
