#ifndef ZENTAVO_ORGANIZATION_H
#define ZENTAVO_ORGANIZATION_H

#include "zentavo_export.h"

#include "values/tagtypes.h"
#include "values/tagutils.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QStringList>

class BankAccount;
class QIODevice;

// The details of a legal entity, each field known by its code. Several fields also
// answer an older, shorter tag name that templates still use; the file always uses
// the primary name. Where the values live is the implementation's choice.
class ZENTAVO_EXPORT Organization
{
public:
    enum field_t {
        LEGAL_FORM = 0,               // "Общество с ограниченной ответственностью"; flag A gives "ООО"
        NAME = 1,
        ADDRESS = 2,
        INN = 3,
        OGRN = 4,
        OGRN_DATE = 5,                // a date: getOgrnDate / setOgrnDate
        KPP = 6,
        HEAD = 7,
        HEAD_GENITIVE = 8,            // the head's name in the genitive case
        HEAD_POST = 9,
        HEAD_POST_GENITIVE = 10,
        HEAD_AUTHORITY = 11,          // the document that empowers the head
        ACCOUNTANT = 12,
        ACCOUNTANT_POST = 13,
        SIMPLIFIED_TAXATION = 14,     // a flag: isSimplifiedTaxation / setSimplifiedTaxation
        PHONE = 15,
        EMAIL = 16
    };
    static constexpr int FieldCount = 17;

    explicit Organization(customerrole_t role);
    virtual ~Organization();
    Organization(const Organization&) = delete;
    Organization& operator=(const Organization&) = delete;

    // The text fields: every code but OGRN_DATE and SIMPLIFIED_TAXATION.
    virtual QString& getText(field_t field, QString& value) = 0;
    virtual void setText(field_t field, const QString& value) = 0;
    virtual QDate& getOgrnDate(QDate& date) = 0;
    virtual void setOgrnDate(const QDate& date) = 0;
    virtual bool isSimplifiedTaxation() = 0;
    virtual void setSimplifiedTaxation(bool value) = 0;
    virtual BankAccount* getBankAccount() = 0;

    // A name that is no field of the organisation is passed to its bank account.
    bool getTag(const QString& name, QString& value, long flags);
    // The fields in the order 0-5, 14, 6-13, 15, 16, then the bank account; names
    // carry the index if one is given.
    void save(QIODevice& out, int index = TagUtils::NoIndex);

    const QString& tagName(field_t field) const { return names[field]; }
    // Every name it answers, aliases and the bank account's included.
    static QStringList tagNames(customerrole_t role);

private:
    QString& fieldValue(field_t field, long flags, QString& value);
    void saveField(field_t field, int index, QIODevice& out);

    QString names[FieldCount];
    QHash<QString, field_t> fieldsByName;
};

#endif
