#include "model/identdocument.h"

namespace {

// In the order of the file. The columns are those of a sole proprietor's row in the
// catalog table "businessman".
constexpr PartyFields::Field fieldTable[] = {
    {IdentDocument::KIND, "ДОКУМЕНТ", nullptr, FieldKind::Text, "idoctype"},
    {IdentDocument::SERIES, "СЕРИЯ_ДОКУМЕНТА", nullptr, FieldKind::Text, "idocserial"},
    {IdentDocument::NUMBER, "НОМЕР_ДОКУМЕНТА", nullptr, FieldKind::Text, "idocnumber"},
    {IdentDocument::DATE, "ДАТА_ДОКУМЕНТА", nullptr, FieldKind::Date, "idocdate"},
    {IdentDocument::ISSUED_BY, "ДОКУМЕНТ_ВЫДАН", nullptr, FieldKind::Text, "idocorg"},
};

} // namespace

IdentDocument::IdentDocument(customertype_t type, customerrole_t role, EvaluationStorage* storage)
    : PartyPart(fieldTable, type, role, storage)
{
}

QStringList IdentDocument::tagNames(customertype_t type, customerrole_t role)
{
    return PartyFields::tagNames(fieldTable, type, role);
}
