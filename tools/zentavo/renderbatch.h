#ifndef ZENTAVO_TOOL_RENDERBATCH_H
#define ZENTAVO_TOOL_RENDERBATCH_H

#include "report/templatestodocumentsbatch.h"

#include <QStringList>

#include <functional>

class AutoEvaluation;
class TemplatesList;

// The documents of one evaluation, produced to the end: which were written, which were
// kept because they existed already, and why the batch stopped if it did.
class RenderBatch : public TemplatesToDocumentsBatch
{
public:
    struct Outcome
    {
        QString folder;
        QStringList written;
        QStringList skipped;
        QString error;
        // The error names a document that could not be written, and why.
        bool writeFailed = false;
        // What the analysis found in the templates, when the batch analysed them.
        QStringList findings;
    };

    // Called as each document is started and written.
    using Progress = std::function<void(const QString& document)>;

    RenderBatch(bool overwrite, Progress started);

    // Runs the batch and turns the event loop until it has ended.
    Outcome run(AutoEvaluation& evaluation, TemplatesList& templates, const QString& outDir);

    bool askForOverride(QString& docFile) override;
    void done(QString docFile) override;

private:
    bool overwrite;
    Progress started;
    Outcome outcome;
};

#endif
