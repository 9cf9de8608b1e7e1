#include "evaluation/appraiserlist.h"

#include "catalog/appraisalcompany.h"
#include "catalog/appraiser.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/storedtags.h"
#include "values/tagutils.h"

#include <QBuffer>
#include <QSet>

#include <iterator>

namespace {

// The names an entry writes, without their position, taken from what a person of each type
// and a company of each kind do write, so the list cannot drift from them.
QSet<QString> entryTagBases()
{
    QBuffer written;
    written.open(QIODevice::WriteOnly);
    for (const Appraiser::appraisertype_t type : {Appraiser::APPRAISER, Appraiser::SPECIALIST}) {
        Appraiser person;
        person.setType(type);
        person.save(1, written);
    }
    for (const customertype_t kind : {CUSTOMER_LEGAL_ENTITY, CUSTOMER_SOLE_PROPRIETOR}) {
        AppraisalCompany company;
        company.setType(kind);
        company.save(1, written);
    }
    QSet<QString> bases{AgreeAppraiser::participationTagBase()};
    int position = 0;
    QString base;
    for (const QString& name : StoredTags::namesIn(written.data())) {
        if (TagUtils::extractIndex(name, position, base))
            bases.insert(base);
    }
    return bases;
}

} // namespace

AppraiserList::AppraiserList() = default;

AppraiserList::~AppraiserList() = default;

int AppraiserList::count()
{
    return int(entries.size());
}

AgreeAppraiser* AppraiserList::getAppraiser(int position)
{
    const auto found = entries.find(position);
    return found == entries.end() ? nullptr : found->second.get();
}

AgreeAppraiser* AppraiserList::getAppraiserInOrder(int order)
{
    if (order < 0 || order >= count())
        return nullptr;
    return std::next(entries.begin(), order)->second.get();
}

bool AppraiserList::removeAppraiser(int position)
{
    if (entries.erase(position) == 0)
        return false;
    modified = true;
    return true;
}

bool AppraiserList::moveAppraiser(int from, int to)
{
    const auto source = entries.find(from);
    if (source == entries.end() || entries.count(to) != 0)
        return false;
    entries[to] = std::move(source->second);
    entries.erase(from);
    return true;
}

bool AppraiserList::isEntryTag(const QString& name)
{
    static const QSet<QString> bases = entryTagBases();
    int position = 0;
    QString base;
    return TagUtils::extractIndex(name, position, base) && bases.contains(base);
}

AgreeAppraiser* AppraiserList::getAppraiserForTag(int number)
{
    const bool wantsAppraiser = number < FirstSpecialistNumber;
    int remaining = wantsAppraiser ? number : number - FirstSpecialistNumber + 1;
    const Appraiser::appraisertype_t wanted = wantsAppraiser ? Appraiser::APPRAISER : Appraiser::SPECIALIST;
    for (const auto& entry : entries) {
        if (entry.second->getAppraiser()->getType() == wanted && --remaining == 0)
            return entry.second.get();
    }
    return nullptr;
}

void AppraiserList::save(QIODevice& out)
{
    int written = 0;
    for (const auto& entry : entries)
        entry.second->saveAt(++written, out);
}

bool AppraiserList::getTag(const QString& name, QString& value, long flags)
{
    int number = 0;
    QString base;
    if (!TagUtils::extractIndex(name, number, base) || number < 1)
        return false;
    AgreeAppraiser* entry = getAppraiserForTag(number);
    return entry && entry->getTag(base, value, flags);
}
