#ifndef ZENTAVO_ORGANIZATIONONTAG_H
#define ZENTAVO_ORGANIZATIONONTAG_H

#include "evaluation/bankaccountontag.h"
#include "evaluation/organization.h"

class EvaluationStorage;

// A legal entity kept in the evaluation's tags, with its bank account.
class ZENTAVO_EXPORT OrganizationOnTag : public Organization
{
public:
    OrganizationOnTag(customerrole_t role, EvaluationStorage* storage);

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;
    QDate& getOgrnDate(QDate& date) override;
    void setOgrnDate(const QDate& date) override;
    bool isSimplifiedTaxation() override;
    void setSimplifiedTaxation(bool value) override;
    BankAccount* getBankAccount() override;

private:
    EvaluationStorage* storage;
    BankAccountOnTag account;
};

#endif
