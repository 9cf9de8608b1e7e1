#ifndef ZENTAVO_PERSONONTAG_H
#define ZENTAVO_PERSONONTAG_H

#include "model/identdocument.h"
#include "model/person.h"

// A natural person kept in the evaluation's tags, with the identity document.
class ZENTAVO_EXPORT PersonOnTag : public Person
{
public:
    PersonOnTag(customerrole_t role, EvaluationStorage* storage);

    IdentDocument* getIdentDocument() override;

private:
    IdentDocument document;
};

#endif
