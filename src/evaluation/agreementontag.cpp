#include "evaluation/agreementontag.h"

#include "evaluation/bankguaranteeontag.h"
#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <QIODevice>

const QStringList& AgreementOnTag::tagNames()
{
    static const QStringList names = {
        QStringLiteral("НОМЕР_ДОГОВОРА"),
        QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"),
        QStringLiteral("СТОИМОСТЬ_УСЛУГ"),
        QStringLiteral("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"),
        QStringLiteral("СТОИМОСТЬ_УСЛУГ_НДС"),
    };
    return names;
}

AgreementOnTag::AgreementOnTag(EvaluationStorage* storage)
    : storage(storage),
      numberTag(tagNames().at(0)),
      dateTag(tagNames().at(1)),
      priceTag(tagNames().at(2)),
      placeTag(tagNames().at(3)),
      priceVatTag(tagNames().at(4)),
      bankGuarantee(std::make_unique<BankGuaranteeOnTag>(storage))
{
}

AgreementOnTag::~AgreementOnTag() = default;

void AgreementOnTag::save(QIODevice& out)
{
    QByteArray line;
    QString text;
    QDate date;
    Money price;
    out.write(TagUtils::mkTagLine(numberTag, getNumber(text), line));
    out.write(TagUtils::mkTagLine(dateTag, getDate(date), line));
    out.write(TagUtils::mkTagLine(priceTag, getPrice(price), line));
    out.write(TagUtils::mkTagLine(placeTag, getPlace(text), line));
    bankGuarantee->save(out);
}

QString& AgreementOnTag::getNumber(QString& number)
{
    return storage->getTag(numberTag, number);
}

void AgreementOnTag::setNumber(const QString& number)
{
    storage->setTag(numberTag, number);
}

QDate& AgreementOnTag::getDate(QDate& date)
{
    return storage->getTag(dateTag, date);
}

void AgreementOnTag::setDate(const QDate& date)
{
    storage->setTag(dateTag, date);
}

// The storage reads and writes money in its natural text form ("1000", "1000.50");
// a null price is stored as a null text.
Money& AgreementOnTag::getPrice(Money& price)
{
    return storage->getTag(priceTag, price);
}

void AgreementOnTag::setPrice(const Money& price)
{
    storage->setTag(priceTag, price);
}

QString& AgreementOnTag::getPlace(QString& place)
{
    return storage->getTag(placeTag, place);
}

void AgreementOnTag::setPlace(const QString& place)
{
    storage->setTag(placeTag, place);
}

BankGuarantee* AgreementOnTag::getBankGuarantee()
{
    return bankGuarantee.get();
}

Money& AgreementOnTag::getPriceVat(Money& vat)
{
    Money price;
    vat = getPrice(price) * VatPercent / 100L;
    return vat;
}

bool AgreementOnTag::getTag(const QString& name, QString& value, long flags)
{
    if (name == numberTag) {
        getNumber(value);
    } else if (name == placeTag) {
        getPlace(value);
    } else if (name == dateTag) {
        QDate date;
        TagUtils::condProcessFlagDATE(flags, getDate(date), value);
    } else if (name == priceTag) {
        Money price;
        TagUtils::condProcessFlagMONEY(flags, getPrice(price), value);
    } else if (name == priceVatTag) {
        Money vat;
        TagUtils::condProcessFlagMONEY(flags, getPriceVat(vat), value);
    } else {
        return bankGuarantee->getTag(name, value, flags);
    }
    return true;
}
