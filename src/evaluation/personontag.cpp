#include "evaluation/personontag.h"

#include "evaluation/evaluationstorage.h"

PersonOnTag::PersonOnTag(customerrole_t role, EvaluationStorage* storage)
    : Person(CUSTOMER_PERSON, role)
    , storage(storage)
    , document(CUSTOMER_PERSON, role, storage)
{
}

QString& PersonOnTag::getText(field_t field, QString& value)
{
    return storage->getTag(tagName(field), value);
}

void PersonOnTag::setText(field_t field, const QString& value)
{
    storage->setTag(tagName(field), value);
}

IdentDocument* PersonOnTag::getIdentDocument()
{
    return &document;
}
