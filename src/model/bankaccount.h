#ifndef ZENTAVO_BANKACCOUNT_H
#define ZENTAVO_BANKACCOUNT_H

#include "model/partypart.h"

// The bank account of a legal entity or a sole proprietor. Its tag names carry the
// kind and role of the party it belongs to; each field also answers an older, shorter
// name that templates still use. The values live in the evaluation's tags when a
// storage is given, otherwise in memory.
class ZENTAVO_EXPORT BankAccount : public PartyPart
{
public:
    // Also the order in which the fields are written.
    enum field_t { BANK_NAME = 0, ACCOUNT = 1, CORRESPONDENT_ACCOUNT = 2, BIC = 3 };
    static constexpr int FieldCount = 4;

    BankAccount(customertype_t type, customerrole_t role, EvaluationStorage* storage);

    // Every name it answers, aliases included.
    static QStringList tagNames(customertype_t type, customerrole_t role);
};

#endif
