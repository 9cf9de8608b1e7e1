#ifndef ZENTAVO_TOOL_RENDERSUMMARY_H
#define ZENTAVO_TOOL_RENDERSUMMARY_H

#include "renderbatch.h"
#include "shard.h"

#include <QJsonObject>
#include <QStringList>

// What one render did, as a JSON file for a scheduler that gathers the results of many
// renders: for each evaluation its path, its document folder, the documents written and
// kept, its state ("done", "failed", "interrupted", or "not rendered" when the render
// ended before it) and why it failed; the totals, the exit code, and whether a signal
// interrupted the render. The file is replaced whole or not at all, so a reader never
// sees half of one, and it is written however the render ends once its command line was
// understood.
class RenderSummary
{
public:
    // The evaluations this render was to do, in order (those of its shard).
    void setEvaluations(const QStringList& evaluations, const Shard& shard);
    // The outcome of each evaluation in the order of setEvaluations.
    void setOutcomes(const QList<RenderBatch::Outcome>& outcomes, const QStringList& workerFailures);
    void setPdfs(const QStringList& written, const QStringList& failures);
    // Why the render as a whole failed, before or beside any one evaluation.
    void setFailure(const QString& message);

    // Writes the summary to path; false with the line to say in error.
    bool write(const QString& path, int exitCode, bool interrupted, QString& error) const;

private:
    QJsonObject evaluationEntry(int index) const;

    QStringList evaluations;
    Shard shard;
    QList<RenderBatch::Outcome> outcomes;
    QStringList workerFailures;
    QStringList pdfsWritten;
    QStringList pdfFailures;
    bool pdfsMade = false;
    QString failure;
};

#endif
