#ifndef ZENTAVO_BUSINESSMANONTAG_H
#define ZENTAVO_BUSINESSMANONTAG_H

#include "evaluation/bankaccountontag.h"
#include "evaluation/businessman.h"
#include "evaluation/identdocumentontag.h"

class EvaluationStorage;

// A sole proprietor kept in the evaluation's tags, with identity document and bank account.
class ZENTAVO_EXPORT BusinessmanOnTag : public Businessman
{
public:
    BusinessmanOnTag(customerrole_t role, EvaluationStorage* storage);

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;
    IdentDocument* getIdentDocument() override;

    QString& getOgrn(QString& value) override;
    void setOgrn(const QString& value) override;
    QDate& getRegistrationDate(QDate& date) override;
    void setRegistrationDate(const QDate& date) override;
    bool isSimplifiedTaxation() override;
    void setSimplifiedTaxation(bool value) override;
    QString& getAccountant(QString& value) override;
    void setAccountant(const QString& value) override;
    QString& getAccountantPost(QString& value) override;
    void setAccountantPost(const QString& value) override;
    BankAccount* getBankAccount() override;

private:
    EvaluationStorage* storage;
    IdentDocumentOnTag document;
    BankAccountOnTag account;
};

#endif
