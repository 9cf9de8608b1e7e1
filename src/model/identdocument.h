#ifndef ZENTAVO_IDENTDOCUMENT_H
#define ZENTAVO_IDENTDOCUMENT_H

#include "model/partypart.h"

#include <QDate>

// The identity document of a natural person or a sole proprietor: its kind (passport
// and the like), series, number, date of issue and issuing authority. The values live
// in the evaluation's tags when a storage is given, otherwise in memory.
class ZENTAVO_EXPORT IdentDocument : public PartyPart
{
public:
    // Text fields but DATE, which has its own accessors.
    enum field_t { KIND = 0, SERIES = 1, NUMBER = 2, ISSUED_BY = 3, DATE = 4 };
    static constexpr int FieldCount = 5;

    IdentDocument(customertype_t type, customerrole_t role, EvaluationStorage* storage);

    QDate& getDate(QDate& date) const { return date = fields.value(DATE).toDate(); }
    void setDate(const QDate& date) { fields.setValue(DATE, date); }

    static QStringList tagNames(customertype_t type, customerrole_t role);
};

#endif
