#include "evaluation/bankaccountontag.h"

#include "evaluation/evaluationstorage.h"

BankAccountOnTag::BankAccountOnTag(customertype_t type, customerrole_t role, EvaluationStorage* storage)
    : BankAccount(type, role)
    , storage(storage)
{
}

QString& BankAccountOnTag::getText(field_t field, QString& value)
{
    return storage->getTag(tagName(field), value);
}

void BankAccountOnTag::setText(field_t field, const QString& value)
{
    storage->setTag(tagName(field), value);
}
