#ifndef ZENTAVO_PARTYPART_H
#define ZENTAVO_PARTYPART_H

#include "zentavo_export.h"

#include "model/partyfields.h"

// One part of a party's details (its organisation, person, bank account or identity
// document) as hosts and templates see it: text fields by code, the report tags and the
// tag lines of its fields. A part that holds other parts passes them what it does not
// answer itself.
class ZENTAVO_EXPORT PartyPart
{
public:
    PartyPart(PartyFields::Table table, customertype_t type, customerrole_t role, EvaluationStorage* storage);
    virtual ~PartyPart();
    Q_DISABLE_COPY(PartyPart)

    // A field by the code of its part's enumeration, as its tag holds it.
    QString& getText(int field, QString& value) const { return fields.text(field, value); }
    virtual void setText(int field, const QString& value) { fields.setText(field, value); }

    // Answers a field by its name or its older name; the name is upper-cased.
    virtual bool getTag(const QString& name, QString& value, long flags);
    // One line a field, always under its primary name; with an index of 0 or more each
    // name carries it, as the copies of an appraisal company in an evaluation do.
    virtual void save(QIODevice& out, int index = TagUtils::NoIndex);

    const QString& tagName(int field) const { return fields.tagName(field); }

protected:
    PartyFields fields;
};

#endif
