#ifndef ZENTAVO_BANKGUARANTEEONTAG_H
#define ZENTAVO_BANKGUARANTEEONTAG_H

#include "evaluation/bankguarantee.h"
#include "evaluation/tagtable.h"

// The bank guarantee kept in the evaluation's tags; it holds no values of its own.
class ZENTAVO_EXPORT BankGuaranteeOnTag : public BankGuarantee
{
public:
    explicit BankGuaranteeOnTag(EvaluationStorage* storage);

    void save(QIODevice& out) override { tags.save(out); }
    QString& getNumber(QString& number) override { return tags.get(Number, number); }
    void setNumber(const QString& number) override { tags.set(Number, number); }
    QDate& getDate(QDate& date) override { return tags.get(Date, date); }
    void setDate(const QDate& date) override { tags.set(Date, date); }
    Money& getAmount(Money& amount) override { return tags.get(Amount, amount); }
    void setAmount(const Money& amount) override { tags.set(Amount, amount); }
    QString& getBankName(QString& name) override { return tags.get(BankName, name); }
    void setBankName(const QString& name) override { tags.set(BankName, name); }
    QString& getBic(QString& bic) override { return tags.get(Bic, bic); }
    void setBic(const QString& bic) override { tags.set(Bic, bic); }
    bool isGuaranteed() override { return tags.get<bool>(Guaranteed); }
    void setGuaranteed(bool guaranteed) override { tags.set(Guaranteed, guaranteed); }

    bool getTag(const QString& name, QString& value, long flags) override { return tags.getTag(name, value, flags); }
    // The report tags it answers, the same names it keeps its fields under.
    static const QStringList& tagNames();

private:
    enum Field : int { Number, Date, Amount, BankName, Bic, Guaranteed };
    static const TagTable::Fields& fields();

    TagTable tags;
};

#endif
