#include "evaluation/agreecustomerontag.h"

AgreeCustomerOnTag::AgreeCustomerOnTag(EvaluationStorage* storage)
    : storage(storage)
    , legalFormTag(QStringLiteral("ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА"))
    , org(ROLE_CUSTOMER, storage)
    , person(ROLE_CUSTOMER, storage)
    , businessman(ROLE_CUSTOMER, storage)
{
}

bool AgreeCustomerOnTag::getTag(const QString& name, QString& value, long flags)
{
    return getTagOfCurrentKind(name, value, flags);
}

void AgreeCustomerOnTag::save(QIODevice& out)
{
    saveCurrentKind(out, legalFormTag);
}

customertype_t AgreeCustomerOnTag::getType() const
{
    return type.get(*storage, [this] { return storedType(*storage, legalFormTag); });
}

void AgreeCustomerOnTag::setType(customertype_t type)
{
    storeType(*storage, legalFormTag, type);
}

Organization* AgreeCustomerOnTag::getOrg()
{
    return &org;
}

Person* AgreeCustomerOnTag::getPeople()
{
    return &person;
}

Businessman* AgreeCustomerOnTag::getBusinessman()
{
    return &businessman;
}
