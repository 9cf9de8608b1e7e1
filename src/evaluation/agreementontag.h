#ifndef ZENTAVO_AGREEMENTONTAG_H
#define ZENTAVO_AGREEMENTONTAG_H

#include "evaluation/agreement.h"
#include "evaluation/tagtable.h"

#include <memory>

class BankGuaranteeOnTag;

// The agreement kept in the evaluation's tags. It owns the bank guarantee part,
// which lives over the same storage.
class ZENTAVO_EXPORT AgreementOnTag : public Agreement
{
public:
    explicit AgreementOnTag(EvaluationStorage* storage);
    ~AgreementOnTag() override;

    void save(QIODevice& out) override;
    QString& getNumber(QString& number) override { return tags.get(Number, number); }
    void setNumber(const QString& number) override { tags.set(Number, number); }
    QDate& getDate(QDate& date) override { return tags.get(Date, date); }
    void setDate(const QDate& date) override { tags.set(Date, date); }
    // Stored in the money text form ("1000", "1000.50"); a null price as a null text.
    Money& getPrice(Money& price) override { return tags.get(Price, price); }
    void setPrice(const Money& price) override { tags.set(Price, price); }
    QString& getPlace(QString& place) override { return tags.get(Place, place); }
    void setPlace(const QString& place) override { tags.set(Place, place); }
    BankGuarantee* getBankGuarantee() override;

    bool getTag(const QString& name, QString& value, long flags) override;
    // The report tags it answers itself; the bank guarantee answers its own.
    static const QStringList& tagNames();
    // The tag of the agreement's date, which the term of the work counts from.
    static const QString& dateTagName() { return fields().at(Date).name; }

    // The value added tax charged on top of the price; null when there is no price.
    Money& getPriceVat(Money& vat);

    // The rate of the value added tax, in percent.
    static constexpr double VatPercent = 18.0;

private:
    enum Field : int { Number, Date, Price, Place, PriceVat };
    static const TagTable::Fields& fields();

    TagTable tags;
    std::unique_ptr<BankGuaranteeOnTag> bankGuarantee;
};

#endif
