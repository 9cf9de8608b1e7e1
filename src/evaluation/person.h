#ifndef ZENTAVO_PERSON_H
#define ZENTAVO_PERSON_H

#include "zentavo_export.h"

#include "values/tagtypes.h"
#include "values/tagutils.h"

#include <QHash>
#include <QString>
#include <QStringList>

class IdentDocument;
class QIODevice;

// A natural person with an identity document: a party of its own, or the personal
// part of a sole proprietor (the kind passed in gives the kind part of the tag names).
class ZENTAVO_EXPORT Person
{
public:
    // Also the order in which the fields are written.
    enum field_t { FIRST_NAME = 0, MIDDLE_NAME = 1, LAST_NAME = 2, LOCATION = 3, INN = 4, EMAIL = 5, PHONE = 6 };
    static constexpr int FieldCount = 7;

    Person(customertype_t type, customerrole_t role);
    virtual ~Person();
    Person(const Person&) = delete;
    Person& operator=(const Person&) = delete;

    virtual QString& getText(field_t field, QString& value) = 0;
    virtual void setText(field_t field, const QString& value) = 0;
    virtual IdentDocument* getIdentDocument() = 0;

    // The person's fields, then its identity document. The flag S shortens the first
    // name and the patronymic to their initials.
    virtual bool getTag(const QString& name, QString& value, long flags);
    // Names carry the index if one is given.
    virtual void save(QIODevice& out, int index = TagUtils::NoIndex);

    QString& getFirstName(QString& value) { return getText(FIRST_NAME, value); }
    void setFirstName(const QString& value) { setText(FIRST_NAME, value); }
    QString& getMiddleName(QString& value) { return getText(MIDDLE_NAME, value); }
    void setMiddleName(const QString& value) { setText(MIDDLE_NAME, value); }
    QString& getLastName(QString& value) { return getText(LAST_NAME, value); }
    void setLastName(const QString& value) { setText(LAST_NAME, value); }
    // The registered address.
    QString& getLocation(QString& value) { return getText(LOCATION, value); }
    void setLocation(const QString& value) { setText(LOCATION, value); }
    QString& getInn(QString& value) { return getText(INN, value); }
    void setInn(const QString& value) { setText(INN, value); }
    QString& getEmail(QString& value) { return getText(EMAIL, value); }
    void setEmail(const QString& value) { setText(EMAIL, value); }
    QString& getPhone(QString& value) { return getText(PHONE, value); }
    void setPhone(const QString& value) { setText(PHONE, value); }

    // Surname, first name and patronymic joined by single spaces, empty parts kept,
    // so the text equals the full name the appraisal company list builds.
    QString& getFIO(QString& fio);

    const QString& tagName(field_t field) const { return names[field]; }
    // Its fields in field order, then its identity document's.
    static QStringList tagNames(customertype_t type, customerrole_t role);

private:
    QString names[FieldCount];
    QHash<QString, field_t> fieldsByName;
};

#endif
