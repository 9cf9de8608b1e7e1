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

#include <QSet>

namespace {

using Entry = TagNameRegistry::Entry;

void addAll(QList<Entry>& entries, const QStringList& names, TagNameRegistry::Shape shape = TagNameRegistry::Plain)
{
    for (const QString& name : names)
        entries.append({name, shape, -1, -1, -1});
}

void addParty(QList<Entry>& entries, customerrole_t role)
{
    for (const customertype_t kind : {CUSTOMER_LEGAL_ENTITY, CUSTOMER_PERSON, CUSTOMER_SOLE_PROPRIETOR}) {
        for (const QString& name : Party::tagNames(kind, role))
            entries.append({name, TagNameRegistry::Plain, role, kind, -1});
    }
}

// In the order an entry of the appraiser list asks: the person, the company, the participation.
void addAppraisers(QList<Entry>& entries)
{
    const TagNameRegistry::Shape shape = TagNameRegistry::ByAppraiserNumber;
    for (const Appraiser::appraisertype_t type : {Appraiser::APPRAISER, Appraiser::SPECIALIST}) {
        for (const QString& name : Appraiser::tagNames(type))
            entries.append({name, shape, -1, -1, type});
    }
    for (const customertype_t kind : {CUSTOMER_LEGAL_ENTITY, CUSTOMER_SOLE_PROPRIETOR}) {
        for (const QString& name : AppraisalCompany::tagNames(kind))
            entries.append({name, shape, ROLE_APPRAISAL_COMPANY, kind, -1});
    }
    entries.append({AgreeAppraiser::participationTagBase(), shape, -1, -1, -1});
}

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
    addAll(all, AgreementOnTag::tagNames());
    addAll(all, BankGuaranteeOnTag::tagNames());
    addAll(all, EvaluationJobOnTag::tagNames());
    addParty(all, ROLE_CUSTOMER);
    addAll(all, VehicleOwnerOnTag::tagNames());
    addParty(all, ROLE_OWNER);
    addAll(all, VehicleOnTag::tagNames());
    addAppraisers(all);
    addAll(all, ManualAnalyze::tagNames());
    addAll(all, EquipmentOnTag::tagNames());
    for (const int kind : {EquipmentTable::Completion, EquipmentTable::Removal, EquipmentTable::Conversion})
        addAll(all, EquipmentTableOnTag::tagNames(kind), Indexed);
    addAll(all, {Harmonization::costTag(), Harmonization::assumptionsTag()});
    addAll(all, Harmonization::weightTags().keys());
    addAll(all, {Criterion::nameTagBase(), Harmonization::assumptionsTag()}, Indexed);
    addAll(all, {Criterion::weightTagBase()}, IndexedPerApproach);
    addAll(all, {AutoEvaluation::versionTag(), AutoEvaluation::buildDateTag()});
    return all;
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
