#include "model/partypart.h"

PartyPart::PartyPart(PartyFields::Table table, customertype_t type, customerrole_t role, EvaluationStorage* storage)
    : fields(table, type, role, storage)
{
}

PartyPart::~PartyPart() = default;

bool PartyPart::getTag(const QString& name, QString& value, long flags)
{
    return fields.getTag(name, value, flags);
}

void PartyPart::save(QIODevice& out, int index)
{
    fields.save(out, index);
}
