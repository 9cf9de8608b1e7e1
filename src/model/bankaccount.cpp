#include "model/bankaccount.h"

namespace {

// The columns are those of the catalog table "bankaccount".
constexpr PartyFields::Field fieldTable[] = {
    {BankAccount::BANK_NAME, "БАНК", "НАИМЕНОВАНИЕ_БАНКА", FieldKind::Text, "bankname"},
    {BankAccount::ACCOUNT, "РАСЧЕТНЫЙ_СЧЕТ", "РАСЧ_СЧЕТ", FieldKind::Text, "account"},
    {BankAccount::CORRESPONDENT_ACCOUNT, "КОРРЕСПОНДЕНТСКИЙ_СЧЕТ", "КОРР_СЧЕТ", FieldKind::Text, "raccount"},
    {BankAccount::BIC, "БИК", nullptr, FieldKind::Text, "bic"},
};

} // namespace

BankAccount::BankAccount(customertype_t type, customerrole_t role, EvaluationStorage* storage)
    : PartyPart(fieldTable, type, role, storage)
{
}

QStringList BankAccount::tagNames(customertype_t type, customerrole_t role)
{
    return PartyFields::tagNames(fieldTable, type, role);
}
