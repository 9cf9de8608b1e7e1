#include "evaluation/tagnameregistry.h"

#include "catalog/appraisalcompany.h"
#include "catalog/appraiser.h"
#include "evaluation/agreeappraiser.h"
#include "evaluation/agreementontag.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/autoevaluation.h"
#include "evaluation/bankguaranteeontag.h"
#include "evaluation/criterion.h"
#include "evaluation/equipmentontag.h"
#include "evaluation/equipmenttableontag.h"
#include "evaluation/evaluationjobontag.h"
#include "evaluation/harmonization.h"
#include "evaluation/manualanalyze.h"
#include "model/party.h"
#include "evaluation/vehicleontag.h"
#include "evaluation/vehicleownerontag.h"
#include "values/tagutils.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

using Entry = TagNameRegistry::Entry;
using Section = TagNameRegistry::Section;

void addAll(QList<Entry>& entries, Section section, const QStringList& names,
            TagNameRegistry::Shape shape = TagNameRegistry::Plain)
{
    for (const QString& name : names)
        entries.append({name, shape, section, -1, -1, -1});
}

void addParty(QList<Entry>& entries, Section section, customerrole_t role)
{
    for (const customertype_t kind : {CUSTOMER_LEGAL_ENTITY, CUSTOMER_PERSON, CUSTOMER_SOLE_PROPRIETOR}) {
        for (const QString& name : Party::tagNames(kind, role))
            entries.append({name, TagNameRegistry::Plain, section, role, kind, -1});
    }
}

// In the order an entry of the appraiser list asks: the person, the company, the participation.
void addAppraisers(QList<Entry>& entries)
{
    const TagNameRegistry::Shape shape = TagNameRegistry::ByAppraiserNumber;
    const Section section = Section::Appraisers;
    for (const Appraiser::appraisertype_t type : {Appraiser::APPRAISER, Appraiser::SPECIALIST}) {
        for (const QString& name : Appraiser::tagNames(type))
            entries.append({name, shape, section, -1, -1, type});
    }
    for (const customertype_t kind : {CUSTOMER_LEGAL_ENTITY, CUSTOMER_SOLE_PROPRIETOR}) {
        for (const QString& name : AppraisalCompany::tagNames(kind))
            entries.append({name, shape, section, ROLE_APPRAISAL_COMPANY, kind, -1});
    }
    entries.append({AgreeAppraiser::participationTagBase(), shape, section, -1, -1, -1});
}

// Where the facade starts asking for a name. The host's approaches, asked before the
// facade's own names, may answer any name, so no name starts past them.
class Routes
{
public:
    Routes()
    {
        for (const Entry& entry : TagNameRegistry::entries())
            add(entry);
        for (auto route = byName.begin(); route != byName.end(); ++route)
            *route = std::min(*route, byIndexedName(route.key()).value_or(*route));
    }

    Section firstAsked(const QString& name) const
    {
        const auto route = byName.constFind(name);
        if (route != byName.cend())
            return *route;
        return byIndexedName(name).value_or(Section::Agreement);
    }

private:
    void add(const Entry& entry)
    {
        const Section section = std::min(entry.section, Section::CostApproach);
        switch (entry.shape) {
        case TagNameRegistry::Plain:
            keepEarlier(byName, entry.name, section);
            break;
        case TagNameRegistry::Indexed:
        case TagNameRegistry::ByAppraiserNumber:
            keepEarlier(byBase, entry.name, section);
            break;
        case TagNameRegistry::IndexedPerApproach:
            byBaseStart.append({entry.name + QLatin1Char('_'), section});
            break;
        }
    }

    static void keepEarlier(QHash<QString, Section>& routes, const QString& name, Section section)
    {
        const auto known = routes.constFind(name);
        if (known == routes.cend() || section < *known)
            routes.insert(name, section);
    }

    // The earliest section that lists the name without its index; none for a name
    // without an index or whose base no section lists.
    std::optional<Section> byIndexedName(const QString& name) const
    {
        int index = 0;
        QString base;
        if (!TagUtils::extractIndex(name, index, base))
            return std::nullopt;
        std::optional<Section> first;
        const auto route = byBase.constFind(base);
        if (route != byBase.cend())
            first = *route;
        for (const auto& [start, section] : byBaseStart) {
            if (base.startsWith(start))
                first = std::min(first.value_or(section), section);
        }
        return first;
    }

    QHash<QString, Section> byName;
    QHash<QString, Section> byBase;
    QList<std::pair<QString, Section>> byBaseStart;
};

} // namespace

const QList<TagNameRegistry::Entry>& TagNameRegistry::entries()
{
    static const QList<Entry> all = collect();
    return all;
}

// In the order the facade asks the sections.
QList<TagNameRegistry::Entry> TagNameRegistry::collect()
{
    QList<Entry> all;
    addAll(all, Section::Agreement, AgreementOnTag::tagNames());
    addAll(all, Section::Agreement, BankGuaranteeOnTag::tagNames());
    addAll(all, Section::EvaluationJob, EvaluationJobOnTag::tagNames());
    addParty(all, Section::Customer, ROLE_CUSTOMER);
    addAll(all, Section::Owner, VehicleOwnerOnTag::tagNames());
    addParty(all, Section::Owner, ROLE_OWNER);
    addAll(all, Section::Vehicle, VehicleOnTag::tagNames());
    addAppraisers(all);
    addAll(all, Section::ManualAnalysis, ManualAnalyze::tagNames());
    addAll(all, Section::Equipment, EquipmentOnTag::tagNames());
    for (const int kind : {EquipmentTable::Completion, EquipmentTable::Removal, EquipmentTable::Conversion})
        addAll(all, Section::Equipment, EquipmentTableOnTag::tagNames(kind), Indexed);
    const Section reconciliation = Section::Reconciliation;
    addAll(all, reconciliation, {Harmonization::costTag(), Harmonization::assumptionsTag()});
    addAll(all, reconciliation, Harmonization::weightTags().keys());
    addAll(all, reconciliation, {Criterion::nameTagBase(), Harmonization::assumptionsTag()}, Indexed);
    addAll(all, reconciliation, {Criterion::weightTagBase()}, IndexedPerApproach);
    addAll(all, Section::Facade, {AutoEvaluation::versionTag(), AutoEvaluation::buildDateTag()});
    return all;
}

TagNameRegistry::Section TagNameRegistry::firstAsked(const QString& name)
{
    static const Routes routes;
    return routes.firstAsked(name);
}

QStringList TagNameRegistry::concreteNames(const Entry& entry, int index, const QStringList& approachKeys)
{
    QString name;
    switch (entry.shape) {
    case Plain:
        return {entry.name};
    case Indexed:
        return {TagUtils::appendIndex(entry.name, index, name)};
    case ByAppraiserNumber:
        if (!takesNumber(entry, index))
            return {};
        return {TagUtils::appendIndex(entry.name, index, name)};
    case IndexedPerApproach:
        break;
    }
    QStringList names;
    for (const QString& key : approachKeys)
        names << TagUtils::appendIndex(entry.name + QLatin1Char('_') + key, index, name);
    return names;
}

bool TagNameRegistry::isKnown(const QString& name)
{
    static const QSet<QString> plain = [] {
        QSet<QString> names;
        for (const Entry& entry : entries()) {
            if (entry.shape == Plain)
                names.insert(entry.name);
        }
        return names;
    }();
    if (plain.contains(name))
        return true;
    int index = 0;
    QString base;
    if (!TagUtils::extractIndex(name, index, base))
        return false;
    for (const Entry& entry : entries()) {
        if ((entry.shape == Indexed && base == entry.name)
            || (entry.shape == IndexedPerApproach && base.startsWith(entry.name + QLatin1Char('_')))
            || (entry.shape == ByAppraiserNumber && base == entry.name && takesNumber(entry, index)))
            return true;
    }
    return false;
}

// Report numbers 1 to 3 address appraisers, 4 and above specialists; the companies and
// the participation answer under either.
bool TagNameRegistry::takesNumber(const Entry& entry, int number)
{
    if (number < 1)
        return false;
    if (entry.appraiserType == -1)
        return true;
    const bool appraiserNumber = number < AppraiserList::FirstSpecialistNumber;
    return appraiserNumber == (entry.appraiserType == Appraiser::APPRAISER);
}
