#include "evaluation/businessman.h"

#include "evaluation/bankaccount.h"
#include "values/tagutils.h"

#include <QIODevice>

QStringList Businessman::tagNames(customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(CUSTOMER_SOLE_PROPRIETOR, role, suffix);
    QStringList answered = {QStringLiteral("ОГРН"), QStringLiteral("ДАТА_ПРИСВОЕНИЯ"), QStringLiteral("УСНО"),
                            QStringLiteral("ФИО_БУХГАЛТЕРА"), QStringLiteral("ДОЛЖНОСТЬ_БУХГАЛТЕРА")};
    for (QString& name : answered)
        name += suffix;
    return answered + Person::tagNames(CUSTOMER_SOLE_PROPRIETOR, role)
        + BankAccount::tagNames(CUSTOMER_SOLE_PROPRIETOR, role);
}

Businessman::Businessman(customerrole_t role)
    : Person(CUSTOMER_SOLE_PROPRIETOR, role)
{
    const QStringList answered = tagNames(role);
    for (int i = 0; i < DetailCount; ++i)
        detailNames[i] = answered.at(i);
}

Businessman::~Businessman() = default;

bool Businessman::getTag(const QString& name, QString& value, long flags)
{
    return getDetailTag(name, value, flags) || Person::getTag(name, value, flags)
        || getBankAccount()->getTag(name, value, flags);
}

bool Businessman::getDetailTag(const QString& name, QString& value, long flags)
{
    if (name == detailNames[OGRN]) {
        getOgrn(value);
    } else if (name == detailNames[REGISTRATION_DATE]) {
        QDate date;
        TagUtils::condProcessFlagDATE(flags, getRegistrationDate(date), value);
    } else if (name == detailNames[SIMPLIFIED_TAXATION]) {
        TagUtils::processBool(isSimplifiedTaxation(), value);
    } else if (name == detailNames[ACCOUNTANT]) {
        getAccountant(value);
    } else if (name == detailNames[ACCOUNTANT_POST]) {
        getAccountantPost(value);
    } else {
        return false;
    }
    return true;
}

void Businessman::save(QIODevice& out, int index)
{
    saveDetails(out, index);
    Person::save(out, index);
    getBankAccount()->save(out, index);
}

void Businessman::saveDetails(QIODevice& out, int index)
{
    QByteArray line;
    QString text;
    QDate date;
    QString name;
    const auto nameOf = [&](detail_t detail) -> QString& {
        return TagUtils::appendIndexIfAny(detailNames[detail], index, name);
    };
    out.write(TagUtils::mkTagLine(nameOf(OGRN), getOgrn(text), line));
    out.write(TagUtils::mkTagLine(nameOf(REGISTRATION_DATE), getRegistrationDate(date), line));
    out.write(TagUtils::mkTagLine(nameOf(SIMPLIFIED_TAXATION), isSimplifiedTaxation(), line));
    out.write(TagUtils::mkTagLine(nameOf(ACCOUNTANT), getAccountant(text), line));
    out.write(TagUtils::mkTagLine(nameOf(ACCOUNTANT_POST), getAccountantPost(text), line));
}
