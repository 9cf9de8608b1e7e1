#ifndef ZENTAVO_BUSINESSMAN_H
#define ZENTAVO_BUSINESSMAN_H

#include "model/person.h"

#include <QDate>

class BankAccount;

// A sole proprietor: a natural person registered for business, with the registration
// number and its date, the taxation flag, an accountant and a bank account. All tag
// names carry the kind part "_ИП" and the role given at construction.
class ZENTAVO_EXPORT Businessman : public Person
{
public:
    // The proprietor's own fields, in the order in which they are written.
    enum detail_t { OGRN = 0, REGISTRATION_DATE = 1, SIMPLIFIED_TAXATION = 2, ACCOUNTANT = 3, ACCOUNTANT_POST = 4 };
    static constexpr int DetailCount = 5;

    Businessman(customerrole_t role, EvaluationStorage* storage);

    QString& getOgrn(QString& value) const { return details.text(OGRN, value); }
    void setOgrn(const QString& value) { details.setText(OGRN, value); }
    // The date the registration number was assigned.
    QDate& getRegistrationDate(QDate& date) const { return date = details.value(REGISTRATION_DATE).toDate(); }
    void setRegistrationDate(const QDate& date) { details.setValue(REGISTRATION_DATE, date); }
    bool isSimplifiedTaxation() const { return details.value(SIMPLIFIED_TAXATION).toBool(); }
    void setSimplifiedTaxation(bool value) { details.setValue(SIMPLIFIED_TAXATION, value); }
    QString& getAccountant(QString& value) const { return details.text(ACCOUNTANT, value); }
    void setAccountant(const QString& value) { details.setText(ACCOUNTANT, value); }
    QString& getAccountantPost(QString& value) const { return details.text(ACCOUNTANT_POST, value); }
    void setAccountantPost(const QString& value) { details.setText(ACCOUNTANT_POST, value); }
    virtual BankAccount* getBankAccount() = 0;

    // The proprietor's own fields, then the personal part, then the bank account.
    bool getTag(const QString& name, QString& value, long flags) override;
    void save(QIODevice& out, int index = TagUtils::NoIndex) override;

    using Person::tagName;
    const QString& tagName(detail_t detail) const { return details.tagName(detail); }
    // Its own fields in detail order, the personal part's, then the bank account's.
    static QStringList tagNames(customerrole_t role);

protected:
    PartyFields details;
};

#endif
