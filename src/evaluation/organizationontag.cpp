#include "evaluation/organizationontag.h"

OrganizationOnTag::OrganizationOnTag(customerrole_t role, EvaluationStorage* storage)
    : Organization(role, storage)
    , account(CUSTOMER_LEGAL_ENTITY, role, storage)
{
}

BankAccount* OrganizationOnTag::getBankAccount()
{
    return &account;
}
