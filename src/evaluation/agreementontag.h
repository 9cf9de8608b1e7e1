#ifndef ZENTAVO_AGREEMENTONTAG_H
#define ZENTAVO_AGREEMENTONTAG_H

#include "evaluation/agreement.h"

#include <memory>

#include <QStringList>

class BankGuaranteeOnTag;
class EvaluationStorage;

// The agreement kept in the evaluation's tags. It owns the bank guarantee part,
// which lives over the same storage.
class ZENTAVO_EXPORT AgreementOnTag : public Agreement
{
public:
    explicit AgreementOnTag(EvaluationStorage* storage);
    ~AgreementOnTag() override;

    void save(QIODevice& out) override;
    QString& getNumber(QString& number) override;
    void setNumber(const QString& number) override;
    QDate& getDate(QDate& date) override;
    void setDate(const QDate& date) override;
    Money& getPrice(Money& price) override;
    void setPrice(const Money& price) override;
    QString& getPlace(QString& place) override;
    void setPlace(const QString& place) override;
    BankGuarantee* getBankGuarantee() override;

    bool getTag(const QString& name, QString& value, long flags) override;
    // The report tags it answers itself; the bank guarantee answers its own.
    static const QStringList& tagNames();

    // The value added tax charged on top of the price; null when there is no price.
    Money& getPriceVat(Money& vat);

    // The rate of the value added tax, in percent.
    static constexpr double VatPercent = 18.0;

private:
    EvaluationStorage* storage;
    const QString numberTag;
    const QString dateTag;
    const QString priceTag;
    const QString placeTag;
    const QString priceVatTag;
    std::unique_ptr<BankGuaranteeOnTag> bankGuarantee;
};

#endif
