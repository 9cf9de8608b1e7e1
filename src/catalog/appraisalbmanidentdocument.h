#ifndef ZENTAVO_APPRAISALBMANIDENTDOCUMENT_H
#define ZENTAVO_APPRAISALBMANIDENTDOCUMENT_H

#include "model/identdocument.h"

// The identity document of an appraisal company's proprietor, kept in memory; in the
// catalog it lives in the proprietor's own "businessman" row.
class ZENTAVO_EXPORT AppraisalBmanIdentDocument : public IdentDocument
{
public:
    AppraisalBmanIdentDocument();

    // Reads the document columns of the proprietor's row; nothing for -1 or no row.
    void load(int businessmanRow);
    // The document's columns of the proprietor's row.
    QVariantMap columnValues() const;
    void loadFromStorage(int index, EvaluationStorage& storage);
};

#endif
