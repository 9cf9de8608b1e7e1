#include "evaluation/autoevaluation.h"

#include "catalog/vehiclebodytypecatalog.h"
#include "catalog/vehiclebrandcatalog.h"
#include "catalog/vehiclemodelcatalog.h"
#include "evaluation/agreecustomer.h"
#include "evaluation/agreement.h"
#include "evaluation/appraiserlist.h"
#include "evaluation/equipment.h"
#include "evaluation/evaluationjob.h"
#include "model/evaluationstorage.h"
#include "evaluation/harmonization.h"
#include "evaluation/manualanalyze.h"
#include "evaluation/vehicle.h"
#include "evaluation/vehicleowner.h"
#include "runtime/logger.h"
#include "values/real.h"

namespace {

const QString& versionText()
{
    static const QString text = QStringLiteral("1.2.32");
    return text;
}

const QString& buildDateText()
{
    static const QString text = QStringLiteral("06.10.2014");
    return text;
}

const char* yesNo(bool value)
{
    return value ? "true" : "false";
}

// Asks a section for a name; with no name, only the request that creates it is made.
template <typename Asked>
bool answers(Asked* section, const QString* name, QString& value, long flags)
{
    return name && section->getTag(*name, value, flags);
}

} // namespace

AutoEvaluation::AutoEvaluation(EvaluationStorage& storage) : storage(storage)
{
}

const QString& AutoEvaluation::versionTag()
{
    static const QString name = QStringLiteral("ВЕРСИЯ");
    return name;
}

const QString& AutoEvaluation::buildDateTag()
{
    static const QString name = QStringLiteral("ДАТА_СБОРКИ");
    return name;
}

Agreement* AutoEvaluation::getAgreement() const
{
    return storage.getAgreement();
}

EvaluationJob* AutoEvaluation::getEvaluationJob() const
{
    return storage.getEvaluationJob();
}

PhotoGallery* AutoEvaluation::getPhotoGallery() const
{
    return storage.getPhotoGallery();
}

AgreeCustomer* AutoEvaluation::getAgreeCustomer() const
{
    return storage.getAgreeCustomer();
}

VehicleOwner* AutoEvaluation::getVehicleOwner() const
{
    return storage.getVehicleOwner();
}

Vehicle* AutoEvaluation::getVehicle() const
{
    return storage.getVehicle();
}

Equipment* AutoEvaluation::getEquipment() const
{
    return storage.getEquipment();
}

ManualAnalyze* AutoEvaluation::getManualAnalyze() const
{
    return storage.getManualAnalyze();
}

AppraiserList* AutoEvaluation::getAppraiserList() const
{
    return storage.getAppraiserList();
}

Harmonization* AutoEvaluation::getHarmonization() const
{
    Harmonization* harmonization = storage.getHarmonization();
    if (!harmonization->isAutoEvaluation()) {
        harmonization->setAutoEvaluation(const_cast<AutoEvaluation&>(*this));
        // Criteria read from the evaluation's tags are its own; only a new one gets the defaults.
        if (!harmonization->isFilled())
            harmonization->initCriterion();
    }
    return harmonization;
}

bool AutoEvaluation::registerApproach(evaluationapproach_t key, EvaluationApproach& approach)
{
    return storage.registerApproach(key, approach);
}

bool AutoEvaluation::isApproach(evaluationapproach_t key) const
{
    return storage.isApproach(key);
}

EvaluationApproach* AutoEvaluation::getApproach(evaluationapproach_t key) const
{
    return storage.getApproach(key);
}

Money& AutoEvaluation::getAnalogFullCost(Money& cost) const
{
    if (isApproach(APPROACH_COST))
        return getApproach(APPROACH_COST)->getAnalogFullCost(cost);
    cost.letNull();
    return cost;
}

void AutoEvaluation::clear()
{
    storage.clear();
    open = false;
}

// The reconciliation is attached first, so a new evaluation is saved with the criteria
// its reports show.
bool AutoEvaluation::save()
{
    open = true;
    getHarmonization();
    return storage.save();
}

bool AutoEvaluation::save(const QString& path)
{
    open = true;
    getHarmonization();
    return storage.save(path);
}

bool AutoEvaluation::load(const QString& path)
{
    if (!storage.load(path))
        return false;
    narrowVehicleCatalogs();
    getHarmonization()->load();
    open = true;
    return true;
}

// The vehicle section cannot know which lists the host shows, so the facade narrows
// them to the loaded vehicle: body types and brands of its type, models of its brand.
void AutoEvaluation::narrowVehicleCatalogs() const
{
    VehicleBodyTypeCatalog* bodyTypes = VehicleBodyTypeCatalog::getInstance();
    VehicleBrandCatalog* brands = VehicleBrandCatalog::getInstance();
    VehicleModelCatalog* models = VehicleModelCatalog::getInstance();
    Vehicle* vehicle = getVehicle();
    const int vehicleType = vehicle->getVehicleTypeId();
    bodyTypes->setVehicleType(vehicleType);
    brands->setVehicleType(vehicleType);
    brands->load();
    models->setVehicleBrand(vehicle->getBrandId());
    models->load();
}

bool AutoEvaluation::getTag(const QString& name, QString& value, long flags) const
{
    const QString upper = name.toUpper();
    return getTagFrom(TagNameRegistry::firstAsked(upper), upper, value, flags);
}

bool AutoEvaluation::getTagAskingEverySection(const QString& name, QString& value, long flags) const
{
    return getTagFrom(Section::Agreement, name.toUpper(), value, flags);
}

bool AutoEvaluation::getTagFrom(Section first, const QString& upperName, QString& value, long flags) const
{
    const bool answered = askFrom(first, upperName, value, flags);
    if (!answered)
        value = QString();
    else if (!value.isNull())
        applyFacadeFlags(value, flags);
    // Names and lengths only: tag values hold personal data.
    LOG_TRACE() << "tag=" << upperName << "ok=" << yesNo(answered) << "null=" << yesNo(value.isNull())
                << "len=" << value.size();
    return answered;
}

// The sections before the first one asked cannot know the name, but each is still
// requested: a section is created on its first request and reads the tags then, so
// it comes to life at the same moment as when every section is asked.
bool AutoEvaluation::askFrom(Section first, const QString& name, QString& value, long flags) const
{
    for (int section = 0; section < TagNameRegistry::SectionCount; ++section) {
        const QString* asked = section >= int(first) ? &name : nullptr;
        if (ask(Section(section), asked, value, flags))
            return true;
    }
    return false;
}

// Requests the section and, given a name, asks it.
bool AutoEvaluation::ask(Section section, const QString* name, QString& value, long flags) const
{
    switch (section) {
    case Section::Agreement:
        return answers(getAgreement(), name, value, flags);
    case Section::EvaluationJob:
        return answers(getEvaluationJob(), name, value, flags);
    case Section::Customer:
        return answers(getAgreeCustomer(), name, value, flags);
    case Section::Owner:
        return answers(getVehicleOwner(), name, value, flags);
    case Section::Vehicle:
        return answers(getVehicle(), name, value, flags);
    case Section::Appraisers:
        return answers(getAppraiserList(), name, value, flags);
    case Section::ManualAnalysis:
        return answers(getManualAnalyze(), name, value, flags);
    case Section::Equipment:
        return answers(getEquipment(), name, value, flags);
    case Section::Reconciliation:
        return answers(getHarmonization(), name, value, flags);
    case Section::CostApproach:
        return name && getApproachTag(APPROACH_COST, *name, value, flags);
    case Section::ComparativeApproach:
        return name && getApproachTag(APPROACH_COMPARATIVE, *name, value, flags);
    case Section::Facade:
        break;
    }
    return name && getOwnTag(*name, value);
}

bool AutoEvaluation::getApproachTag(evaluationapproach_t key, const QString& name, QString& value,
                                    long flags) const
{
    return isApproach(key) && getApproach(key)->getTag(name, value, flags);
}

bool AutoEvaluation::getOwnTag(const QString& name, QString& value) const
{
    if (name == versionTag())
        value = versionText();
    else if (name == buildDateTag())
        value = buildDateText();
    else
        return false;
    return true;
}

void AutoEvaluation::applyFacadeFlags(QString& value, long flags) const
{
    value = value.trimmed();
    if (flags == TAGFLAG_LOWER)
        toLowerCase(value, flags);
    else if (flags == TAGFLAG_PERCENT)
        toPercent(value, flags);
}

QString& AutoEvaluation::toPercent(QString& value, long) const
{
    Real number;
    bool ok = false;
    number.fromString(value, &ok);
    if (!ok)
        return value;
    number = number * Real(100.0);
    number.precision(2);
    return number.toString(value, false);
}

QString& AutoEvaluation::toLowerCase(QString& value, long) const
{
    value = value.toLower();
    return value;
}
