#ifndef ZENTAVO_EVALUATIONSTORAGE_H
#define ZENTAVO_EVALUATIONSTORAGE_H

#include "zentavo_export.h"

#include "model/evaluationapproach.h"
#include "values/money.h"
#include "values/real.h"

#include <QDate>
#include <QString>

class AgreeCustomer;
class Agreement;
class AppraiserList;
class Equipment;
class EvaluationJob;
class Harmonization;
class ManualAnalyze;
class PhotoGallery;
class Vehicle;
class VehicleOwner;

// The tag store of one evaluation as everything else in the library sees it: named
// text values with typed accessors, the sections that view them, the registered
// valuation approaches, and loading and saving the evaluation file.
class ZENTAVO_EXPORT EvaluationStorage
{
public:
    EvaluationStorage() = default;
    virtual ~EvaluationStorage() = default;
    Q_DISABLE_COPY(EvaluationStorage)

    virtual void clear() = 0;

    // An absent tag reads as a null string; typed reads parse that null string.
    virtual QString& getTag(const QString& name, QString& value) const = 0;
    virtual void setTag(const QString& name, const QString& value) = 0;
    virtual QDate& getTag(const QString& name, QDate& value) const = 0;
    virtual void setTag(const QString& name, const QDate& value) = 0;
    virtual Money& getTag(const QString& name, Money& value) const = 0;
    virtual void setTag(const QString& name, const Money& value) = 0;
    virtual Real& getTag(const QString& name, Real& value) const = 0;
    virtual void setTag(const QString& name, const Real& value) = 0;
    virtual int& getTag(const QString& name, int& value) const = 0;
    virtual void setTag(const QString& name, int value) = 0;
    virtual bool& getTag(const QString& name, bool& value) const = 0;
    virtual void setTag(const QString& name, bool value) = 0;
    // A string literal would otherwise be taken for a bool.
    void setTag(const QString& name, const char* value) = delete;
    // Moves with every change to the tags (a set, a read of tag lines, a load, a clear),
    // so what was worked out from them holds while it stays the same.
    virtual quint64 tagRevision() const = 0;

    // The sections, each created on its first request and kept until clear().
    virtual Agreement* getAgreement() = 0;
    virtual EvaluationJob* getEvaluationJob() = 0;
    virtual AgreeCustomer* getAgreeCustomer() = 0;
    virtual VehicleOwner* getVehicleOwner() = 0;
    virtual Vehicle* getVehicle() = 0;
    virtual Equipment* getEquipment() = 0;
    virtual AppraiserList* getAppraiserList() = 0;
    virtual PhotoGallery* getPhotoGallery() = 0;
    virtual ManualAnalyze* getManualAnalyze() = 0;

    virtual bool registerApproach(evaluationapproach_t key, EvaluationApproach& approach) = 0;
    virtual bool isApproach(evaluationapproach_t key) const = 0;
    virtual EvaluationApproach* getApproach(evaluationapproach_t key) const = 0;

    // The reconciliation of the approaches, created on its first request.
    virtual Harmonization* getHarmonization() = 0;

    virtual bool doLoad(const QString& path) = 0;
    virtual bool doSave(const QString& path) = 0;

    // Clears the evaluation, then reads the file; a failed load leaves it cleared.
    bool load(const QString& path);
    bool save();
    bool save(const QString& path);

    // Only the host marks an evaluation as modified; a load or save clears the mark.
    bool isModified() const { return modified; }
    void setModified() { modified = true; }
    bool isNewDocument() const { return newDocument; }
    // The path of the last successful load or save; null for a new evaluation.
    const QString& getFileName() const { return fileName; }

protected:
    void resetDocumentState();

private:
    void markStored(const QString& path);

    bool newDocument = true;
    bool modified = false;
    QString fileName;
};

#endif
