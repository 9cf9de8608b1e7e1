#include "catalog/defaultcriterioncatalog.h"

#include "runtime/singletonregistry.h"

namespace {

struct DefaultCriterion
{
    QString name;
    int comparativeScore;
    int costScore;
};

} // namespace

DefaultCriterionCatalog* DefaultCriterionCatalog::getInstance()
{
    return SingletonRegistry::instance<DefaultCriterionCatalog>(
        [](DefaultCriterionCatalog* catalog) { catalog->load(); });
}

// The comparative approach scores higher where the market speaks (buyers' and sellers'
// preferences, market conditions), the cost approach where documents do.
void DefaultCriterionCatalog::load()
{
    static const DefaultCriterion defaults[] = {
        {QStringLiteral("Достоверность информации"), 4, 6},
        {QStringLiteral("Полнота информации"), 4, 6},
        {QStringLiteral("Способность учитывать действительные предпочтения покупателя и продавца"), 8, 2},
        {QStringLiteral("Способность учитывать коньюктуру рынка"), 7, 3},
        {QStringLiteral("Способность учитывать индивидуальные особенности объекта"), 5, 5},
        {QStringLiteral("Допущения, принятые в расчетах"), 4, 6},
    };
    names.clear();
    weights.clear();
    int id = 0;
    for (const DefaultCriterion& criterion : defaults) {
        names.insert(id, criterion.name);
        weights[id].insert(APPROACH_COMPARATIVE, criterion.comparativeScore);
        weights[id].insert(APPROACH_COST, criterion.costScore);
        ++id;
    }
}

int DefaultCriterionCatalog::getWeight(int id, evaluationapproach_t approach) const
{
    return weights.value(id).value(approach, -1);
}
