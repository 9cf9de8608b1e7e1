#ifndef ZENTAVO_BUSINESSMAN_H
#define ZENTAVO_BUSINESSMAN_H

#include "evaluation/person.h"

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

    explicit Businessman(customerrole_t role);
    ~Businessman() override;

    virtual QString& getOgrn(QString& value) = 0;
    virtual void setOgrn(const QString& value) = 0;
    // The date the registration number was assigned.
    virtual QDate& getRegistrationDate(QDate& date) = 0;
    virtual void setRegistrationDate(const QDate& date) = 0;
    virtual bool isSimplifiedTaxation() = 0;
    virtual void setSimplifiedTaxation(bool value) = 0;
    virtual QString& getAccountant(QString& value) = 0;
    virtual void setAccountant(const QString& value) = 0;
    virtual QString& getAccountantPost(QString& value) = 0;
    virtual void setAccountantPost(const QString& value) = 0;
    virtual BankAccount* getBankAccount() = 0;

    // The proprietor's own fields, then the personal part, then the bank account.
    bool getTag(const QString& name, QString& value, long flags) override;
    void save(QIODevice& out, int index = TagUtils::NoIndex) override;

    using Person::tagName;
    const QString& tagName(detail_t detail) const { return detailNames[detail]; }
    // Its own fields in detail order, the personal part's, then the bank account's.
    static QStringList tagNames(customerrole_t role);

private:
    bool getDetailTag(const QString& name, QString& value, long flags);
    void saveDetails(QIODevice& out, int index);

    QString detailNames[DetailCount];
};

#endif
