#include "evaluation/businessmanontag.h"

BusinessmanOnTag::BusinessmanOnTag(customerrole_t role, EvaluationStorage* storage)
    : Businessman(role, storage)
    , document(CUSTOMER_SOLE_PROPRIETOR, role, storage)
    , account(CUSTOMER_SOLE_PROPRIETOR, role, storage)
{
}

IdentDocument* BusinessmanOnTag::getIdentDocument()
{
    return &document;
}

BankAccount* BusinessmanOnTag::getBankAccount()
{
    return &account;
}
