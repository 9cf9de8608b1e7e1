#ifndef ZENTAVO_AGREEMENT_H
#define ZENTAVO_AGREEMENT_H

#include "evaluation/tagsection.h"
#include "values/money.h"

#include <QDate>
#include <QString>

class BankGuarantee;

// The valuation agreement: number, date, place and price of the services, with the
// bank guarantee that may secure it. Report tag names the agreement does not know go
// on to the bank guarantee.
class ZENTAVO_EXPORT Agreement : public TagSection
{
public:
    virtual QString& getNumber(QString& number) = 0;
    virtual void setNumber(const QString& number) = 0;
    virtual QDate& getDate(QDate& date) = 0;
    virtual void setDate(const QDate& date) = 0;
    virtual Money& getPrice(Money& price) = 0;
    virtual void setPrice(const Money& price) = 0;
    virtual QString& getPlace(QString& place) = 0;
    virtual void setPlace(const QString& place) = 0;
    virtual BankGuarantee* getBankGuarantee() = 0;
};

#endif
