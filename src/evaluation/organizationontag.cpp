#include "evaluation/organizationontag.h"

#include "evaluation/evaluationstorage.h"

OrganizationOnTag::OrganizationOnTag(customerrole_t role, EvaluationStorage* storage)
    : Organization(role)
    , storage(storage)
    , account(CUSTOMER_LEGAL_ENTITY, role, storage)
{
}

QString& OrganizationOnTag::getText(field_t field, QString& value)
{
    return storage->getTag(tagName(field), value);
}

void OrganizationOnTag::setText(field_t field, const QString& value)
{
    storage->setTag(tagName(field), value);
}

QDate& OrganizationOnTag::getOgrnDate(QDate& date)
{
    return storage->getTag(tagName(OGRN_DATE), date);
}

void OrganizationOnTag::setOgrnDate(const QDate& date)
{
    storage->setTag(tagName(OGRN_DATE), date);
}

bool OrganizationOnTag::isSimplifiedTaxation()
{
    bool value = false;
    return storage->getTag(tagName(SIMPLIFIED_TAXATION), value);
}

void OrganizationOnTag::setSimplifiedTaxation(bool value)
{
    storage->setTag(tagName(SIMPLIFIED_TAXATION), value);
}

BankAccount* OrganizationOnTag::getBankAccount()
{
    return &account;
}
