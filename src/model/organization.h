#ifndef ZENTAVO_ORGANIZATION_H
#define ZENTAVO_ORGANIZATION_H

#include "model/partypart.h"

#include <QDate>

class BankAccount;

// The details of a legal entity, each field known by its code. Several fields also
// answer an older, shorter tag name that templates still use; the file always uses
// the primary name. The values live in the evaluation's tags when a storage is given,
// otherwise in memory.
class ZENTAVO_EXPORT Organization : public PartyPart
{
public:
    // The text fields are all but OGRN_DATE and SIMPLIFIED_TAXATION.
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

    Organization(customerrole_t role, EvaluationStorage* storage);

    QDate& getOgrnDate(QDate& date) const { return date = fields.value(OGRN_DATE).toDate(); }
    void setOgrnDate(const QDate& date) { fields.setValue(OGRN_DATE, date); }
    bool isSimplifiedTaxation() const { return fields.value(SIMPLIFIED_TAXATION).toBool(); }
    void setSimplifiedTaxation(bool value) { fields.setValue(SIMPLIFIED_TAXATION, value); }
    virtual BankAccount* getBankAccount() = 0;

    // A name that is no field of the organisation is passed to its bank account.
    bool getTag(const QString& name, QString& value, long flags) override;
    // The fields in the order 0-5, 14, 6-13, 15, 16, then the bank account.
    void save(QIODevice& out, int index = TagUtils::NoIndex) override;

    // Every name it answers, aliases and the bank account's included.
    static QStringList tagNames(customerrole_t role);
};

#endif
