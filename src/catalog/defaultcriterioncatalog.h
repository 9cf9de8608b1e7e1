#ifndef ZENTAVO_DEFAULTCRITERIONCATALOG_H
#define ZENTAVO_DEFAULTCRITERIONCATALOG_H

#include "catalog/simplecatalog.h"

#include "model/evaluationapproach.h"

// The criteria a new evaluation reconciles its approaches by, with the score each
// criterion gives each approach. Fixed texts: nothing is read from the database.
class ZENTAVO_EXPORT DefaultCriterionCatalog : public SimpleCatalog
{
    Q_OBJECT

public:
    static DefaultCriterionCatalog* getInstance();

    void load() override;
    void save() override {}

    int count() const { return int(names.size()); }
    // The score of criterion id for the approach; -1 when it gives that approach none.
    int getWeight(int id, evaluationapproach_t approach) const;

private:
    friend class SingletonRegistry;
    DefaultCriterionCatalog() = default;

    QMap<int, QMap<evaluationapproach_t, int>> weights;
};

#endif
