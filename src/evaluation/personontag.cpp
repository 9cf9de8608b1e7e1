#include "evaluation/personontag.h"

PersonOnTag::PersonOnTag(customerrole_t role, EvaluationStorage* storage)
    : Person(CUSTOMER_PERSON, role, storage)
    , document(CUSTOMER_PERSON, role, storage)
{
}

IdentDocument* PersonOnTag::getIdentDocument()
{
    return &document;
}
