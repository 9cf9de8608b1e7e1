#ifndef ZENTAVO_PERSONONTAG_H
#define ZENTAVO_PERSONONTAG_H

#include "evaluation/identdocumentontag.h"
#include "evaluation/person.h"

class EvaluationStorage;

// A natural person kept in the evaluation's tags, with the identity document.
class ZENTAVO_EXPORT PersonOnTag : public Person
{
public:
    PersonOnTag(customerrole_t role, EvaluationStorage* storage);

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;
    IdentDocument* getIdentDocument() override;

private:
    EvaluationStorage* storage;
    IdentDocumentOnTag document;
};

#endif
