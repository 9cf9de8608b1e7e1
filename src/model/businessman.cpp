#include "model/businessman.h"

#include "model/bankaccount.h"

namespace {

// The columns are those of the proprietor's row in the catalog table "businessman".
constexpr PartyFields::Field detailTable[] = {
    {Businessman::OGRN, "ОГРН", nullptr, FieldKind::Text, "ogrn"},
    {Businessman::REGISTRATION_DATE, "ДАТА_ПРИСВОЕНИЯ", nullptr, FieldKind::Date, "ogrn_date"},
    {Businessman::SIMPLIFIED_TAXATION, "УСНО", nullptr, FieldKind::Flag, "usno"},
    {Businessman::ACCOUNTANT, "ФИО_БУХГАЛТЕРА", nullptr, FieldKind::Text, "bux"},
    {Businessman::ACCOUNTANT_POST, "ДОЛЖНОСТЬ_БУХГАЛТЕРА", nullptr, FieldKind::Text, "bux_post"},
};

} // namespace

QStringList Businessman::tagNames(customerrole_t role)
{
    return PartyFields::tagNames(detailTable, CUSTOMER_SOLE_PROPRIETOR, role)
        + Person::tagNames(CUSTOMER_SOLE_PROPRIETOR, role) + BankAccount::tagNames(CUSTOMER_SOLE_PROPRIETOR, role);
}

Businessman::Businessman(customerrole_t role, EvaluationStorage* storage)
    : Person(CUSTOMER_SOLE_PROPRIETOR, role, storage)
    , details(detailTable, CUSTOMER_SOLE_PROPRIETOR, role, storage)
{
}

bool Businessman::getTag(const QString& name, QString& value, long flags)
{
    return details.getTag(name, value, flags) || Person::getTag(name, value, flags)
        || getBankAccount()->getTag(name, value, flags);
}

void Businessman::save(QIODevice& out, int index)
{
    details.save(out, index);
    Person::save(out, index);
    getBankAccount()->save(out, index);
}
