#include "evaluation/businessmanontag.h"

#include "evaluation/evaluationstorage.h"

BusinessmanOnTag::BusinessmanOnTag(customerrole_t role, EvaluationStorage* storage)
    : Businessman(role)
    , storage(storage)
    , document(CUSTOMER_SOLE_PROPRIETOR, role, storage)
    , account(CUSTOMER_SOLE_PROPRIETOR, role, storage)
{
}

QString& BusinessmanOnTag::getText(field_t field, QString& value)
{
    return storage->getTag(tagName(field), value);
}

void BusinessmanOnTag::setText(field_t field, const QString& value)
{
    storage->setTag(tagName(field), value);
}

IdentDocument* BusinessmanOnTag::getIdentDocument()
{
    return &document;
}

QString& BusinessmanOnTag::getOgrn(QString& value)
{
    return storage->getTag(tagName(OGRN), value);
}

void BusinessmanOnTag::setOgrn(const QString& value)
{
    storage->setTag(tagName(OGRN), value);
}

QDate& BusinessmanOnTag::getRegistrationDate(QDate& date)
{
    return storage->getTag(tagName(REGISTRATION_DATE), date);
}

void BusinessmanOnTag::setRegistrationDate(const QDate& date)
{
    storage->setTag(tagName(REGISTRATION_DATE), date);
}

bool BusinessmanOnTag::isSimplifiedTaxation()
{
    bool value = false;
    return storage->getTag(tagName(SIMPLIFIED_TAXATION), value);
}

void BusinessmanOnTag::setSimplifiedTaxation(bool value)
{
    storage->setTag(tagName(SIMPLIFIED_TAXATION), value);
}

QString& BusinessmanOnTag::getAccountant(QString& value)
{
    return storage->getTag(tagName(ACCOUNTANT), value);
}

void BusinessmanOnTag::setAccountant(const QString& value)
{
    storage->setTag(tagName(ACCOUNTANT), value);
}

QString& BusinessmanOnTag::getAccountantPost(QString& value)
{
    return storage->getTag(tagName(ACCOUNTANT_POST), value);
}

void BusinessmanOnTag::setAccountantPost(const QString& value)
{
    storage->setTag(tagName(ACCOUNTANT_POST), value);
}

BankAccount* BusinessmanOnTag::getBankAccount()
{
    return &account;
}
