#ifndef ZENTAVO_BANKGUARANTEEONTAG_H
#define ZENTAVO_BANKGUARANTEEONTAG_H

#include "evaluation/bankguarantee.h"

#include <QStringList>

class EvaluationStorage;

// The bank guarantee kept in the evaluation's tags; it holds no values of its own.
class ZENTAVO_EXPORT BankGuaranteeOnTag : public BankGuarantee
{
public:
    explicit BankGuaranteeOnTag(EvaluationStorage* storage);

    void save(QIODevice& out) override;
    QString& getNumber(QString& number) override;
    void setNumber(const QString& number) override;
    QDate& getDate(QDate& date) override;
    void setDate(const QDate& date) override;
    Money& getAmount(Money& amount) override;
    void setAmount(const Money& amount) override;
    QString& getBankName(QString& name) override;
    void setBankName(const QString& name) override;
    QString& getBic(QString& bic) override;
    void setBic(const QString& bic) override;
    bool isGuaranteed() override;
    void setGuaranteed(bool guaranteed) override;

    bool getTag(const QString& name, QString& value, long flags) override;
    // The report tags it answers, the same names it keeps its fields under.
    static const QStringList& tagNames();

private:
    EvaluationStorage* storage;
    const QString numberTag;
    const QString dateTag;
    const QString amountTag;
    const QString bankNameTag;
    const QString bicTag;
    const QString guaranteedTag;
};

#endif
