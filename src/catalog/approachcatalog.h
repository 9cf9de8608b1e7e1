#ifndef ZENTAVO_APPROACHCATALOG_H
#define ZENTAVO_APPROACHCATALOG_H

#include "zentavo_export.h"

#include "model/evaluationapproach.h"

#include <QList>

// The valuation approaches in the order the reconciliation visits them.
class ZENTAVO_EXPORT ApproachCatalog
{
public:
    static ApproachCatalog* getInstance();

    const QList<evaluationapproach_t>& getApproaches() const { return approaches; }

private:
    friend class SingletonRegistry;
    ApproachCatalog();

    QList<evaluationapproach_t> approaches;
};

#endif
