#ifndef ZENTAVO_IDENTDOCUMENTONTAG_H
#define ZENTAVO_IDENTDOCUMENTONTAG_H

#include "evaluation/identdocument.h"

class EvaluationStorage;

// An identity document kept in the evaluation's tags.
class ZENTAVO_EXPORT IdentDocumentOnTag : public IdentDocument
{
public:
    IdentDocumentOnTag(customertype_t type, customerrole_t role, EvaluationStorage* storage);

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;
    QDate& getDate(QDate& date) override;
    void setDate(const QDate& date) override;

private:
    EvaluationStorage* storage;
};

#endif
