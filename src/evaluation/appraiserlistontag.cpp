#include "evaluation/appraiserlistontag.h"

#include "evaluation/agreeappraiserontag.h"
#include "model/evaluationstorage.h"
#include "values/tagutils.h"

AppraiserListOnTag::AppraiserListOnTag(EvaluationStorage* storage)
    : storage(storage)
{
    const int markers = countMarkers();
    for (int position = 1; position <= markers; ++position)
        entries[position] = std::make_unique<AgreeAppraiserOnTag>(position, storage);
}

int AppraiserListOnTag::countMarkers() const
{
    static const QString marker = QStringLiteral("ОЦЕНЩИК");
    static const QString placeholder = QStringLiteral("Выберите оценщика или специалиста...");
    QString name;
    QString value;
    int position = 1;
    while (true) {
        storage->getTag(TagUtils::appendIndex(marker, position, name), value);
        if (value.isEmpty() || value == placeholder)
            return position - 1;
        ++position;
    }
}

AgreeAppraiser* AppraiserListOnTag::addAppraiser(int position)
{
    if (AgreeAppraiser* existing = getAppraiser(position))
        return existing;
    auto entry = std::make_unique<AgreeAppraiserOnTag>(position, storage);
    entry->makeEmpty(); // tags of an entry removed earlier may still be in memory
    AgreeAppraiser* added = entry.get();
    entries[position] = std::move(entry);
    setModified(true);
    return added;
}
