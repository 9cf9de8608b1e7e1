#ifndef ZENTAVO_TAGNAMEREGISTRY_H
#define ZENTAVO_TAGNAMEREGISTRY_H

#include "zentavo_export.h"

#include "values/tagtypes.h"

#include <QList>
#include <QString>
#include <QStringList>

// Every report tag name that the sections of an evaluation and its reconciliation
// answer through AutoEvaluation::getTag, gathered from the tables the sections
// resolve by, so it cannot drift from them, each with the section that answers it.
// The approaches' own names belong to the host and are not listed. For template
// checks and benchmarks, and for the facade to go straight to a name's section.
class ZENTAVO_EXPORT TagNameRegistry
{
public:
    // The askers of a report tag, in the order the facade asks them: where two could
    // answer one name, the earlier one does. The approaches belong to the host and
    // may answer any name; the facade itself answers the version and build date.
    enum class Section {
        Agreement,
        EvaluationJob,
        Customer,
        Owner,
        Vehicle,
        Appraisers,
        ManualAnalysis,
        Equipment,
        Reconciliation,
        CostApproach,
        ComparativeApproach,
        Facade
    };
    static constexpr int SectionCount = int(Section::Facade) + 1;

    enum Shape {
        Plain,              // the name as it stands
        Indexed,            // the name, "_" and a row or paragraph number
        IndexedPerApproach, // the name, "_", an approach's tag key, "_" and a row number
        // The name, "_" and the report number of a person named in the evaluation:
        // 1 to 3 for the appraisers, 4 and above for the specialists.
        ByAppraiserNumber
    };

    // One report tag name: its shape, and the kind of party or person it answers for.
    struct Entry
    {
        QString name;
        Shape shape = Plain;
        Section section = Section::Agreement;
        // For the tags of the customer, the owner or an appraisal company: they answer only
        // while the party is of this kind. -1 for every other tag.
        int partyRole = -1;
        int partyKind = -1;
        // For a person's own tags (Appraiser::appraisertype_t): they answer only under the
        // report numbers of that type. -1 for every other tag.
        int appraiserType = -1;
    };

    static const QList<Entry>& entries();

    // The names of one entry as a template writes them: indexed ones with the index,
    // per-approach ones once for every approach tag key; for the people of the evaluation
    // the index is the report number, and a number their type never takes gives no name.
    static QStringList concreteNames(const Entry& entry, int index, const QStringList& approachKeys);
    // Whether a template tag name (upper case) is one the evaluation answers, for any
    // index; per-approach names are recognised with any key.
    static bool isKnown(const QString& name);
    // The first section in the facade's order that may answer a name (upper case): the
    // one that lists it, never past the approaches. A name no section lists, in any
    // index, starts with the first section.
    static Section firstAsked(const QString& name);

private:
    static QList<Entry> collect();
    static bool takesNumber(const Entry& entry, int number);
};

#endif
