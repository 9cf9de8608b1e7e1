#include "evaluation/manualanalyzeontag.h"

ManualAnalyzeOnTag::ManualAnalyzeOnTag(EvaluationStorage* storage) : storage(storage)
{
}

// An empty analysis is saved as the outline, so after reloading the outline is an
// ordinary text the appraiser edits.
bool ManualAnalyzeOnTag::save(QIODevice& out)
{
    texts.save(out);
    return true;
}

QString& ManualAnalyzeOnTag::getAnalysis(QString& analysis)
{
    if (storage->getTag(texts.name(Analysis), analysis).isEmpty())
        getDefaultAnalysis(analysis);
    return analysis;
}
