#include "evaluation/bankaccount.h"

#include "values/tagutils.h"

#include <QIODevice>
#include <QList>

namespace {

struct FieldWords
{
    BankAccount::field_t field;
    QString word;
    QString alias;
};

const QList<FieldWords>& fieldWords()
{
    static const QList<FieldWords> words = {
        {BankAccount::BANK_NAME, QStringLiteral("БАНК"), QStringLiteral("НАИМЕНОВАНИЕ_БАНКА")},
        {BankAccount::ACCOUNT, QStringLiteral("РАСЧЕТНЫЙ_СЧЕТ"), QStringLiteral("РАСЧ_СЧЕТ")},
        {BankAccount::CORRESPONDENT_ACCOUNT, QStringLiteral("КОРРЕСПОНДЕНТСКИЙ_СЧЕТ"), QStringLiteral("КОРР_СЧЕТ")},
        {BankAccount::BIC, QStringLiteral("БИК"), QString()},
    };
    return words;
}

} // namespace

BankAccount::BankAccount(customertype_t type, customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(type, role, suffix);
    for (const FieldWords& words : fieldWords()) {
        names[words.field] = words.word + suffix;
        fieldsByName.insert(names[words.field], words.field);
        if (!words.alias.isEmpty())
            fieldsByName.insert(words.alias + suffix, words.field);
    }
}

BankAccount::~BankAccount() = default;

QStringList BankAccount::tagNames(customertype_t type, customerrole_t role)
{
    QString suffix;
    TagUtils::mkRole(type, role, suffix);
    QStringList answered;
    for (const FieldWords& words : fieldWords()) {
        answered << words.word + suffix;
        if (!words.alias.isEmpty())
            answered << words.alias + suffix;
    }
    return answered;
}

bool BankAccount::getTag(const QString& name, QString& value, long)
{
    const auto found = fieldsByName.constFind(name);
    if (found == fieldsByName.cend())
        return false;
    getText(*found, value);
    return true;
}

void BankAccount::save(QIODevice& out, int index)
{
    QByteArray line;
    QString name;
    for (int i = 0; i < FieldCount; ++i) {
        const field_t field = static_cast<field_t>(i);
        QString value;
        TagUtils::appendIndexIfAny(names[field], index, name);
        out.write(TagUtils::mkTagLine(name, getText(field, value), line));
    }
}
