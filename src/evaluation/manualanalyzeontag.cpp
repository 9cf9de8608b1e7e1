#include "evaluation/manualanalyzeontag.h"

#include "model/evaluationstorage.h"
#include "values/tagutils.h"

#include <QIODevice>

ManualAnalyzeOnTag::ManualAnalyzeOnTag(EvaluationStorage* storage) : storage(storage)
{
}

// An empty analysis is saved as the outline, so after reloading the outline is an
// ordinary text the appraiser edits.
bool ManualAnalyzeOnTag::save(QIODevice& out)
{
    QByteArray line;
    QString text;
    out.write(TagUtils::mkTagLine(analysisTag, getAnalysis(text), line));
    out.write(TagUtils::mkTagLine(sourcesTag, getSources(text), line));
    out.write(TagUtils::mkTagLine(conclusionsTag, getConclusions(text), line));
    return true;
}

QString& ManualAnalyzeOnTag::getAnalysis(QString& analysis)
{
    if (storage->getTag(analysisTag, analysis).isEmpty())
        getDefaultAnalysis(analysis);
    return analysis;
}

void ManualAnalyzeOnTag::setAnalysis(const QString& analysis)
{
    storage->setTag(analysisTag, analysis);
}

QString& ManualAnalyzeOnTag::getSources(QString& sources)
{
    return storage->getTag(sourcesTag, sources);
}

void ManualAnalyzeOnTag::setSources(const QString& sources)
{
    storage->setTag(sourcesTag, sources);
}

QString& ManualAnalyzeOnTag::getConclusions(QString& conclusions)
{
    return storage->getTag(conclusionsTag, conclusions);
}

void ManualAnalyzeOnTag::setConclusions(const QString& conclusions)
{
    storage->setTag(conclusionsTag, conclusions);
}
