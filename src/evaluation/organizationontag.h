#ifndef ZENTAVO_ORGANIZATIONONTAG_H
#define ZENTAVO_ORGANIZATIONONTAG_H

#include "model/bankaccount.h"
#include "model/organization.h"

// A legal entity kept in the evaluation's tags, with its bank account.
class ZENTAVO_EXPORT OrganizationOnTag : public Organization
{
public:
    OrganizationOnTag(customerrole_t role, EvaluationStorage* storage);

    BankAccount* getBankAccount() override;

private:
    BankAccount account;
};

#endif
