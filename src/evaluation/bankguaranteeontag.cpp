#include "evaluation/bankguaranteeontag.h"

const TagTable::Fields& BankGuaranteeOnTag::fields()
{
    using Kind = TagTable::Kind;
    static const TagTable::Fields described = {
        {QStringLiteral("НОМЕР_БАНКОВСКОЙ_ГАРАНТИИ"), Kind::Text},
        {QStringLiteral("ДАТА_БАНКОВСКОЙ_ГАРАНТИИ"), Kind::Date},
        {QStringLiteral("СУММА_БАНКОВСКОЙ_ГАРАНТИИ"), Kind::Money},
        {QStringLiteral("БАНК_ГАРАНТ"), Kind::Text},
        {QStringLiteral("БИК_БАНКА_ГАРАНТА"), Kind::Text},
        {QStringLiteral("БАНКОВСКАЯ_ГАРАНТИЯ"), Kind::Bool},
    };
    return described;
}

BankGuaranteeOnTag::BankGuaranteeOnTag(EvaluationStorage* storage) : tags(storage, fields())
{
}

const QStringList& BankGuaranteeOnTag::tagNames()
{
    static const QStringList names = TagTable::reportedNames(fields());
    return names;
}
