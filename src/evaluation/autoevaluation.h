#ifndef ZENTAVO_AUTOEVALUATION_H
#define ZENTAVO_AUTOEVALUATION_H

#include "zentavo_export.h"

#include "evaluation/tagnameregistry.h"
#include "model/evaluationapproach.h"

#include <QString>

class AgreeCustomer;
class Agreement;
class AppraiserList;
class Equipment;
class EvaluationJob;
class EvaluationStorage;
class Harmonization;
class ManualAnalyze;
class Money;
class PhotoGallery;
class Vehicle;
class VehicleOwner;

// The one object through which the host and the report generator see an evaluation:
// the sections and approaches of its storage, loading and saving, and above all the
// value of a report tag with the flags written beside it in a template. The host
// keeps the storage alive as long as the facade.
class ZENTAVO_EXPORT AutoEvaluation
{
public:
    explicit AutoEvaluation(EvaluationStorage& storage);
    Q_DISABLE_COPY(AutoEvaluation)

    EvaluationStorage& getStorage() const { return storage; }

    Agreement* getAgreement() const;
    EvaluationJob* getEvaluationJob() const;
    PhotoGallery* getPhotoGallery() const;
    AgreeCustomer* getAgreeCustomer() const;
    VehicleOwner* getVehicleOwner() const;
    Vehicle* getVehicle() const;
    Equipment* getEquipment() const;
    ManualAnalyze* getManualAnalyze() const;
    AppraiserList* getAppraiserList() const;
    // The reconciliation, tied to this evaluation on its first use; a new evaluation is
    // then given the default criteria, a stored one keeps those of its file.
    Harmonization* getHarmonization() const;

    bool registerApproach(evaluationapproach_t key, EvaluationApproach& approach);
    bool isApproach(evaluationapproach_t key) const;
    // Throws AutoEvalException for a key that is not registered.
    EvaluationApproach* getApproach(evaluationapproach_t key) const;
    // The cost approach's full cost of the analogue; null without a cost approach.
    Money& getAnalogFullCost(Money& cost) const;

    void clear();
    // Both mark the evaluation open, even when saving fails.
    bool save();
    bool save(const QString& path);
    // Reads the file, narrows the body type, brand and model lists to the loaded
    // vehicle and reloads the reconciliation. A failed load leaves it cleared.
    bool load(const QString& path);
    // True after a successful load and after any save; false when new or cleared.
    bool isOpen() const { return open; }

    // The value of a report tag: the sections are asked in a fixed order and the
    // first that knows the name (in any letter case) answers. The value is trimmed;
    // the flag "L" alone lower-cases it, "P" alone turns a number into a percentage.
    // false, with a null value, when nobody knows the name. A name the tag name
    // registry lists goes straight to its section; the answer is the same.
    bool getTag(const QString& name, QString& value, long flags) const;
    // getTag asking every section from the first, whatever the name: the answer the
    // direct way must always equal.
    bool getTagAskingEverySection(const QString& name, QString& value, long flags) const;

    QString& toPercent(QString& value, long flags) const;
    QString& toLowerCase(QString& value, long flags) const;

    static const QString& versionTag();
    static const QString& buildDateTag();

private:
    using Section = TagNameRegistry::Section;

    bool getTagFrom(Section first, const QString& upperName, QString& value, long flags) const;
    bool askFrom(Section first, const QString& name, QString& value, long flags) const;
    bool ask(Section section, const QString* name, QString& value, long flags) const;
    bool getApproachTag(evaluationapproach_t key, const QString& name, QString& value, long flags) const;
    bool getOwnTag(const QString& name, QString& value) const;
    void applyFacadeFlags(QString& value, long flags) const;
    void narrowVehicleCatalogs() const;

    EvaluationStorage& storage;
    bool open = false;
};

#endif
