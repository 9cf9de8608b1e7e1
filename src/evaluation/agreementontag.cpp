#include "evaluation/agreementontag.h"

#include "evaluation/bankguaranteeontag.h"

#include <QIODevice>

const TagTable::Fields& AgreementOnTag::fields()
{
    using Kind = TagTable::Kind;
    static const TagTable::Fields described = {
        {QStringLiteral("НОМЕР_ДОГОВОРА"), Kind::Text},
        {QStringLiteral("ДАТА_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), Kind::Date},
        {QStringLiteral("СТОИМОСТЬ_УСЛУГ"), Kind::Money},
        {QStringLiteral("МЕСТО_ЗАКЛЮЧЕНИЯ_ДОГОВОРА"), Kind::Text},
        {QStringLiteral("СТОИМОСТЬ_УСЛУГ_НДС"), Kind::Money, TagTable::Mode::ReportOnly},
    };
    return described;
}

// The tax is the only value the agreement computes.
AgreementOnTag::AgreementOnTag(EvaluationStorage* storage)
    : tags(storage, fields(), [this](int) -> TagTable::Value {
          Money vat;
          return getPriceVat(vat);
      }),
      bankGuarantee(std::make_unique<BankGuaranteeOnTag>(storage))
{
}

AgreementOnTag::~AgreementOnTag() = default;

const QStringList& AgreementOnTag::tagNames()
{
    static const QStringList names = TagTable::reportedNames(fields());
    return names;
}

void AgreementOnTag::save(QIODevice& out)
{
    tags.save(out);
    bankGuarantee->save(out);
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
    return tags.getTag(name, value, flags) || bankGuarantee->getTag(name, value, flags);
}
