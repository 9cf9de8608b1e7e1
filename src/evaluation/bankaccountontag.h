#ifndef ZENTAVO_BANKACCOUNTONTAG_H
#define ZENTAVO_BANKACCOUNTONTAG_H

#include "evaluation/bankaccount.h"

class EvaluationStorage;

// A bank account kept in the evaluation's tags.
class ZENTAVO_EXPORT BankAccountOnTag : public BankAccount
{
public:
    BankAccountOnTag(customertype_t type, customerrole_t role, EvaluationStorage* storage);

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;

private:
    EvaluationStorage* storage;
};

#endif
