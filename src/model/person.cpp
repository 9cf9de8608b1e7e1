#include "model/person.h"

#include "model/identdocument.h"

namespace {

// Acts and contracts sign a party as "Иванов И. И.", as they sign appraisers. The
// columns are those of a sole proprietor's row in the catalog table "businessman".
constexpr PartyFields::Field fieldTable[] = {
    {Person::FIRST_NAME, "ИМЯ", nullptr, FieldKind::Name, "firstname"},
    {Person::MIDDLE_NAME, "ОТЧЕСТВО", nullptr, FieldKind::Name, "middlename"},
    {Person::LAST_NAME, "ФАМИЛИЯ", nullptr, FieldKind::Text, "lastname"},
    {Person::LOCATION, "МЕСТО_РЕГИСТРАЦИИ", nullptr, FieldKind::Text, "address"},
    {Person::INN, "ИНН", nullptr, FieldKind::Text, "inn"},
    {Person::EMAIL, "ЭЛЕКТРОННАЯ_ПОЧТА", nullptr, FieldKind::Text, "email"},
    {Person::PHONE, "ТЕЛЕФОН", nullptr, FieldKind::Text, "phone"},
};

} // namespace

QStringList Person::tagNames(customertype_t type, customerrole_t role)
{
    return PartyFields::tagNames(fieldTable, type, role) + IdentDocument::tagNames(type, role);
}

Person::Person(customertype_t type, customerrole_t role, EvaluationStorage* storage)
    : PartyPart(fieldTable, type, role, storage)
{
}

bool Person::getTag(const QString& name, QString& value, long flags)
{
    return PartyPart::getTag(name, value, flags) || getIdentDocument()->getTag(name, value, flags);
}

void Person::save(QIODevice& out, int index)
{
    PartyPart::save(out, index);
    getIdentDocument()->save(out, index);
}

QString& Person::getFIO(QString& fio) const
{
    QString first;
    QString middle;
    getLastName(fio);
    fio += QLatin1Char(' ') + getFirstName(first) + QLatin1Char(' ') + getMiddleName(middle);
    return fio;
}
