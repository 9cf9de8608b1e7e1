#ifndef ZENTAVO_AGREEMENT_H
#define ZENTAVO_AGREEMENT_H

#include "zentavo_export.h"

#include "values/money.h"

#include <QDate>
#include <QString>

class BankGuarantee;
class QIODevice;

// The valuation agreement: number, date, place and price of the services, with the
// bank guarantee that may secure it.
class ZENTAVO_EXPORT Agreement
{
public:
    Agreement() = default;
    virtual ~Agreement() = default;
    Agreement(const Agreement&) = delete;
    Agreement& operator=(const Agreement&) = delete;

    virtual void save(QIODevice& out) = 0;
    virtual QString& getNumber(QString& number) = 0;
    virtual void setNumber(const QString& number) = 0;
    virtual QDate& getDate(QDate& date) = 0;
    virtual void setDate(const QDate& date) = 0;
    virtual Money& getPrice(Money& price) = 0;
    virtual void setPrice(const Money& price) = 0;
    virtual QString& getPlace(QString& place) = 0;
    virtual void setPlace(const QString& place) = 0;
    virtual BankGuarantee* getBankGuarantee() = 0;

    // Answers the agreement's report tags; other names go to the bank guarantee.
    virtual bool getTag(const QString& name, QString& value, long flags) = 0;
};

#endif
