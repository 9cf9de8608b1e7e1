#ifndef ZENTAVO_BANKGUARANTEE_H
#define ZENTAVO_BANKGUARANTEE_H

#include "zentavo_export.h"

#include "values/money.h"

#include <QDate>
#include <QString>

class QIODevice;

// The bank guarantee that may secure the valuation agreement: its number, date and
// amount, the guarantor bank with its BIC, and whether there is a guarantee at all.
class ZENTAVO_EXPORT BankGuarantee
{
public:
    BankGuarantee() = default;
    virtual ~BankGuarantee() = default;
    BankGuarantee(const BankGuarantee&) = delete;
    BankGuarantee& operator=(const BankGuarantee&) = delete;

    virtual void save(QIODevice& out) = 0;
    virtual QString& getNumber(QString& number) = 0;
    virtual void setNumber(const QString& number) = 0;
    virtual QDate& getDate(QDate& date) = 0;
    virtual void setDate(const QDate& date) = 0;
    virtual Money& getAmount(Money& amount) = 0;
    virtual void setAmount(const Money& amount) = 0;
    virtual QString& getBankName(QString& name) = 0;
    virtual void setBankName(const QString& name) = 0;
    virtual QString& getBic(QString& bic) = 0;
    virtual void setBic(const QString& bic) = 0;
    virtual bool isGuaranteed() = 0;
    virtual void setGuaranteed(bool guaranteed) = 0;

    // Answers the guarantee's report tags; false for any other name.
    virtual bool getTag(const QString& name, QString& value, long flags) = 0;
};

#endif
