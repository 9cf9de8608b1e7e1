#include "evaluation/bankguaranteeontag.h"

#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <QIODevice>

const QStringList& BankGuaranteeOnTag::tagNames()
{
    static const QStringList names = {
        QStringLiteral("НОМЕР_БАНКОВСКОЙ_ГАРАНТИИ"),
        QStringLiteral("ДАТА_БАНКОВСКОЙ_ГАРАНТИИ"),
        QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ"),
        QStringLiteral("БАНК_ГАРАНТ"),
        QStringLiteral("БИК_БАНКА_ГАРАНТА"),
        QStringLiteral("БАНКОВСКАЯ_ГАРАНТИЯ"),
    };
    return names;
}

BankGuaranteeOnTag::BankGuaranteeOnTag(EvaluationStorage* storage)
    : storage(storage),
      numberTag(tagNames().at(0)),
      dateTag(tagNames().at(1)),
      amountTag(tagNames().at(2)),
      bankNameTag(tagNames().at(3)),
      bicTag(tagNames().at(4)),
      guaranteedTag(tagNames().at(5))
{
}

void BankGuaranteeOnTag::save(QIODevice& out)
{
    QByteArray line;
    QString text;
    QDate date;
    Money amount;
    out.write(TagUtils::mkTagLine(numberTag, getNumber(text), line));
    out.write(TagUtils::mkTagLine(dateTag, getDate(date), line));
    out.write(TagUtils::mkTagLine(amountTag, getAmount(amount), line));
    out.write(TagUtils::mkTagLine(bankNameTag, getBankName(text), line));
    out.write(TagUtils::mkTagLine(bicTag, getBic(text), line));
    out.write(TagUtils::mkTagLine(guaranteedTag, isGuaranteed(), line));
}

QString& BankGuaranteeOnTag::getNumber(QString& number)
{
    return storage->getTag(numberTag, number);
}

void BankGuaranteeOnTag::setNumber(const QString& number)
{
    storage->setTag(numberTag, number);
}

QDate& BankGuaranteeOnTag::getDate(QDate& date)
{
    return storage->getTag(dateTag, date);
}

void BankGuaranteeOnTag::setDate(const QDate& date)
{
    storage->setTag(dateTag, date);
}

Money& BankGuaranteeOnTag::getAmount(Money& amount)
{
    return storage->getTag(amountTag, amount);
}

void BankGuaranteeOnTag::setAmount(const Money& amount)
{
    storage->setTag(amountTag, amount);
}

QString& BankGuaranteeOnTag::getBankName(QString& name)
{
    return storage->getTag(bankNameTag, name);
}

void BankGuaranteeOnTag::setBankName(const QString& name)
{
    storage->setTag(bankNameTag, name);
}

QString& BankGuaranteeOnTag::getBic(QString& bic)
{
    return storage->getTag(bicTag, bic);
}

void BankGuaranteeOnTag::setBic(const QString& bic)
{
    storage->setTag(bicTag, bic);
}

bool BankGuaranteeOnTag::isGuaranteed()
{
    bool guaranteed = false;
    return storage->getTag(guaranteedTag, guaranteed);
}

void BankGuaranteeOnTag::setGuaranteed(bool guaranteed)
{
    storage->setTag(guaranteedTag, guaranteed);
}

bool BankGuaranteeOnTag::getTag(const QString& name, QString& value, long flags)
{
    if (name == numberTag) {
        getNumber(value);
    } else if (name == bankNameTag) {
        getBankName(value);
    } else if (name == bicTag) {
        getBic(value);
    } else if (name == dateTag) {
        QDate date;
        TagUtils::condProcessFlagDATE(flags, getDate(date), value);
    } else if (name == amountTag) {
        Money amount;
        TagUtils::condProcessFlagMONEY(flags, getAmount(amount), value);
    } else if (name == guaranteedTag) {
        TagUtils::processBool(isGuaranteed(), value);
    } else {
        return false;
    }
    return true;
}
