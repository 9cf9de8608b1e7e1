#ifndef ZENTAVO_BANKGUARANTEE_H
#define ZENTAVO_BANKGUARANTEE_H

#include "evaluation/tagsection.h"
#include "values/money.h"

#include <QDate>
#include <QString>

// The bank guarantee that may secure the valuation agreement: its number, date and
// amount, the guarantor bank with its BIC, and whether there is a guarantee at all.
class ZENTAVO_EXPORT BankGuarantee : public TagSection
{
public:
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
};

#endif
