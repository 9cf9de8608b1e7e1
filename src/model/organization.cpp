#include "model/organization.h"

#include "model/bankaccount.h"

namespace {

// In the order of the file: the taxation flag follows the registration date. The
// columns are those of the catalog table "org".
constexpr PartyFields::Field fieldTable[] = {
    {Organization::LEGAL_FORM, "ОРГАНИЗАЦИОННО-ПРАВОВАЯ_ФОРМА", "ПРАВОВАЯ_ФОРМА", FieldKind::LegalForm, "legalform"},
    {Organization::NAME, "НАИМЕНОВАНИЕ_КОМПАНИИ", "НАИМЕНОВАНИЕ", FieldKind::Text, "name"},
    {Organization::ADDRESS, "АДРЕС_КОМПАНИИ", "МЕСТО_РЕГИСТРАЦИИ", FieldKind::Text, "location"},
    {Organization::INN, "ИНН", nullptr, FieldKind::Text, "inn"},
    {Organization::OGRN, "ОГРН", nullptr, FieldKind::Text, "ogrn"},
    {Organization::OGRN_DATE, "ДАТА_ПРИСВОЕНИЯ_ОГРН", "ДАТА_ОГРН", FieldKind::Date, "ogrn_date"},
    {Organization::SIMPLIFIED_TAXATION, "УСНО", nullptr, FieldKind::Flag, "usno"},
    {Organization::KPP, "КПП", nullptr, FieldKind::Text, "kpp"},
    {Organization::HEAD, "ФИО_РУКОВОДИТЕЛЯ", nullptr, FieldKind::Text, "leader"},
    {Organization::HEAD_GENITIVE, "ФИО_РУКОВОДИТЕЛЯ_РП", nullptr, FieldKind::Text, "leader_a"},
    {Organization::HEAD_POST, "ДОЛЖНОСТЬ_РУКОВОДИТЕЛЯ", nullptr, FieldKind::Text, "leader_post"},
    {Organization::HEAD_POST_GENITIVE, "ДОЛЖНОСТЬ_РУКОВОДИТЕЛЯ_РП", nullptr, FieldKind::Text, "leader_post_a"},
    {Organization::HEAD_AUTHORITY, "ОСНОВАНИЕ_РУКОВОДИТЕЛЯ", "ДОКУМЕНТ_РУКОВОДИТЕЛЯ", FieldKind::Text, "leader_reason"},
    {Organization::ACCOUNTANT, "ФИО_БУХГАЛТЕРА", nullptr, FieldKind::Text, "bux"},
    {Organization::ACCOUNTANT_POST, "ДОЛЖНОСТЬ_БУХГАЛТЕРА", nullptr, FieldKind::Text, "bux_post"},
    {Organization::PHONE, "ТЕЛЕФОН", nullptr, FieldKind::Text, "phone"},
    {Organization::EMAIL, "ЭЛ_АДРЕС", nullptr, FieldKind::Text, "email"},
};

} // namespace

Organization::Organization(customerrole_t role, EvaluationStorage* storage)
    : PartyPart(fieldTable, CUSTOMER_LEGAL_ENTITY, role, storage)
{
}

QStringList Organization::tagNames(customerrole_t role)
{
    return PartyFields::tagNames(fieldTable, CUSTOMER_LEGAL_ENTITY, role)
        + BankAccount::tagNames(CUSTOMER_LEGAL_ENTITY, role);
}

bool Organization::getTag(const QString& name, QString& value, long flags)
{
    return PartyPart::getTag(name, value, flags) || getBankAccount()->getTag(name, value, flags);
}

void Organization::save(QIODevice& out, int index)
{
    PartyPart::save(out, index);
    getBankAccount()->save(out, index);
}
