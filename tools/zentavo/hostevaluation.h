#ifndef ZENTAVO_TOOL_HOSTEVALUATION_H
#define ZENTAVO_TOOL_HOSTEVALUATION_H

#include "comparativeapproach.h"
#include "costapproach.h"

#include "evaluation/autoevaluation.h"
#include "evaluation/evaluationtagstorage.h"

#include <QString>
#include <QStringList>

// One evaluation as the tool holds it: the tag store, the facade over it and the
// tool's two approaches, registered as a host registers its own.
class HostEvaluation
{
public:
    HostEvaluation();

    // False with a one-line reason when the file is missing or is not an evaluation.
    bool open(const QString& path, QString& error);
    // Opens the file, or starts a new evaluation when there is none yet.
    bool openOrCreate(const QString& path, QString& error);
    // For a change: reserves the file before it is read, so that no other program saves
    // it between this load and this save. Waits a while for another writer to finish.
    bool reserve(const QString& path, QString& error);
    // A value typed for a tag, in the form the evaluation stores: an input of the tool's
    // approaches is taken as a number, or refused with a line naming the tag and why.
    bool takeTypedValue(const QString& name, const QString& typed, QString& stored, QString& error) const;
    // For tags whose typed value the file would not keep (a section reads "1 090 000" or
    // "5.3.2026" as no value), the number or date it spells, when the file keeps that.
    void keepTypedForms(const QStringList& names);
    // After tags were written directly: the sections that read their tags once (the
    // appraisers, the reconciliation's criteria) read them again.
    void adoptWrittenTags();
    // Saves atomically, first checking that every tag in checkedTags is among the tags
    // the file keeps; nothing is written when one would be lost.
    bool save(const QString& path, const QStringList& checkedTags, QString& error);

    EvaluationTagStorage& storage() { return tags; }
    AutoEvaluation& evaluation() { return facade; }
    // The tag keys of the tool's approaches: names starting with a key and "_" are theirs.
    QStringList approachKeys();

private:
    EvaluationTagStorage tags;
    AutoEvaluation facade;
    CostApproach cost;
    ComparativeApproach comparative;
};

#endif
