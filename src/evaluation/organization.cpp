#include "evaluation/organization.h"

#include "evaluation/bankaccount.h"
#include "values/tagutils.h"

#include <QIODevice>
#include <QList>

namespace {

struct FieldWords
{
    Organization::field_t field;
    QString word;
    QString alias;
};

const QList<FieldWords>& fieldWords()
{
    static const QList<FieldWords> words = {
        {Organization::LEGAL_FORM, QStringLiteral("ОРГАНИЗАЦИОННО-ПРАВОВАЯ_ФОРМА"), QStringLiteral("ПРАВОВАЯ_ФОРМА")},
        {Organization::NAME, QStringLiteral("НАИМЕНОВАНИЕ_КОМПАНИИ"), QStringLiteral("НАИМЕНОВАНИЕ")},
        {Organization::ADDRESS, QStringLiteral("АДРЕС_КОМПАНИИ"), QStringLiteral("МЕСТО_РЕГИСТРАЦИИ")},
        {Organization::INN, QStringLiteral("ИНН"), QString()},
        {Organization::OGRN, QStringLiteral("ОГРН"), QString()},
        {Organization::OGRN_DATE, QStringLiteral("ДАТА_ПРИСВОЕНИЯ_ОГРН"), QStringLiteral("ДАТА_ОГРН")},
        {Organization::KPP, QStringLiteral("КПП"), QString()},
        {Organization::HEAD, QStringLiteral("ФИО_РУКОВОДИТЕЛЯ"), QString()},
        {Organization::HEAD_GENITIVE, QStringLiteral("ФИО_РУКОВОДИТЕЛЯ_РП"), QString()},
        {Organization::HEAD_POST, QStringLiteral("ДОЛЖНОСТЬ_РУКОВОДИТЕЛЯ"), QString()},
        {Organization::HEAD_POST_GENITIVE, QStringLiteral("ДОЛЖНОСТЬ_РУКОВОДИТЕЛЯ_РП"), QString()},
        {Organization::HEAD_AUTHORITY, QStringLiteral("ОСНОВАНИЕ_РУКОВОДИТЕЛЯ"), QStringLiteral("ДОКУМЕНТ_РУКОВОДИТЕЛЯ")},
        {Organization::ACCOUNTANT, QStringLiteral("ФИО_БУХГАЛТЕРА"), QString()},
        {Organization::ACCOUNTANT_POST, QStringLiteral("ДОЛЖНОСТЬ_БУХГАЛТЕРА"), QString()},
        {Organization::SIMPLIFIED_TAXATION, QStringLiteral("УСНО"), QString()},
        {Organization::PHONE, QStringLiteral("ТЕЛЕФОН"), QString()},
        {Organization::EMAIL, QStringLiteral("ЭЛ_АДРЕС"), QString()},
    };
    return words;
}

// The taxation flag follows the registration date in the file.
constexpr Organization::field_t saveOrder[Organization::FieldCount] = {
    Organization::LEGAL_FORM, Organization::NAME, Organization::ADDRESS, Organization::INN,
    Organization::OGRN, Organization::OGRN_DATE, Organization::SIMPLIFIED_TAXATION, Organization::KPP,
    Organization::HEAD, Organization::HEAD_GENITIVE, Organization::HEAD_POST,
    Organization::HEAD_POST_GENITIVE, Organization::HEAD_AUTHORITY, Organization::ACCOUNTANT,
    Organization::ACCOUNTANT_POST, Organization::PHONE, Organization::EMAIL};

} // namespace

Organization::Organization(customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(CUSTOMER_LEGAL_ENTITY, role, suffix);
    for (const FieldWords& words : fieldWords()) {
        names[words.field] = words.word + suffix;
        fieldsByName.insert(names[words.field], words.field);
        if (!words.alias.isEmpty())
            fieldsByName.insert(words.alias + suffix, words.field);
    }
}

Organization::~Organization() = default;

QStringList Organization::tagNames(customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(CUSTOMER_LEGAL_ENTITY, role, suffix);
    QStringList answered;
    for (const FieldWords& words : fieldWords()) {
        answered << words.word + suffix;
        if (!words.alias.isEmpty())
            answered << words.alias + suffix;
    }
    return answered + BankAccount::tagNames(CUSTOMER_LEGAL_ENTITY, role);
}

bool Organization::getTag(const QString& name, QString& value, long flags)
{
    const auto found = fieldsByName.constFind(name);
    if (found == fieldsByName.cend())
        return getBankAccount()->getTag(name, value, flags);
    fieldValue(*found, flags, value);
    return true;
}

QString& Organization::fieldValue(field_t field, long flags, QString& value)
{
    switch (field) {
    case OGRN_DATE: {
        QDate date;
        return TagUtils::condProcessFlagDATE(flags, getOgrnDate(date), value);
    }
    case SIMPLIFIED_TAXATION:
        return TagUtils::processBool(isSimplifiedTaxation(), value);
    case LEGAL_FORM:
        getText(field, value);
        return (flags & TAGFLAG_ABBREVIATION) ? TagUtils::processFlagABBREVIATION(value) : value;
    default:
        return getText(field, value);
    }
}

void Organization::save(QIODevice& out, int index)
{
    for (const field_t field : saveOrder)
        saveField(field, index, out);
    getBankAccount()->save(out, index);
}

void Organization::saveField(field_t field, int index, QIODevice& out)
{
    QByteArray line;
    QString name;
    TagUtils::appendIndexIfAny(names[field], index, name);
    if (field == OGRN_DATE) {
        QDate date;
        TagUtils::mkTagLine(name, getOgrnDate(date), line);
    } else if (field == SIMPLIFIED_TAXATION) {
        TagUtils::mkTagLine(name, isSimplifiedTaxation(), line);
    } else {
        QString value;
        TagUtils::mkTagLine(name, getText(field, value), line);
    }
    out.write(line);
}
