#include "evaluation/identdocumentontag.h"

#include "evaluation/evaluationstorage.h"

IdentDocumentOnTag::IdentDocumentOnTag(customertype_t type, customerrole_t role, EvaluationStorage* storage)
    : IdentDocument(type, role)
    , storage(storage)
{
}

QString& IdentDocumentOnTag::getText(field_t field, QString& value)
{
    return storage->getTag(tagName(field), value);
}

void IdentDocumentOnTag::setText(field_t field, const QString& value)
{
    storage->setTag(tagName(field), value);
}

QDate& IdentDocumentOnTag::getDate(QDate& date)
{
    return storage->getTag(dateTagName(), date);
}

void IdentDocumentOnTag::setDate(const QDate& date)
{
    storage->setTag(dateTagName(), date);
}
