#ifndef ZENTAVO_BUSINESSMANONTAG_H
#define ZENTAVO_BUSINESSMANONTAG_H

#include "model/bankaccount.h"
#include "model/businessman.h"
#include "model/identdocument.h"

// A sole proprietor kept in the evaluation's tags, with identity document and bank account.
class ZENTAVO_EXPORT BusinessmanOnTag : public Businessman
{
public:
    BusinessmanOnTag(customerrole_t role, EvaluationStorage* storage);

    IdentDocument* getIdentDocument() override;
    BankAccount* getBankAccount() override;

private:
    IdentDocument document;
    BankAccount account;
};

#endif
