#ifndef ZENTAVO_TOOL_RENDERBATCH_H
#define ZENTAVO_TOOL_RENDERBATCH_H

#include "report/templatestodocumentsbatch.h"

#include <QStringList>

#include <functional>

class AutoEvaluation;
class TemplatesList;

// The documents of one evaluation, produced to the end: which were written, which were
// kept because they existed already, and why the batch stopped if it did. An
// interruption (Ctrl-C, SIGTERM) stops it after the document in hand.
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
        // Stopped by an interruption before all its documents were made.
        bool interrupted = false;
        // What the analysis found in the templates, when the batch analysed them.
        QStringList findings;
    };

    // Called with a document as it is started, or as it is written.
    using Progress = std::function<void(const QString& document)>;
    // Asked for the evaluation's document folder before anything is written there; false
    // refuses the folder, saying why in refusal.
    using FolderClaim = std::function<bool(const QString& folder, QString& refusal)>;

    // What the host hears of the batch as it goes.
    struct Hooks
    {
        Progress started;
        Progress written;
        FolderClaim claim;
    };

    RenderBatch(bool overwrite, Hooks hooks);

    // Runs the batch and turns the event loop until it has ended. The new files that
    // earlier renders left behind when they were killed go first.
    Outcome run(AutoEvaluation& evaluation, TemplatesList& templates, const QString& outDir);

    bool askForOverride(QString& docFile) override;
    void done(QString docFile) override;

private:
    void removeAbandonedFiles(TemplatesList& templates, QString& folder);

    bool overwrite;
    Hooks hooks;
    Outcome outcome;
};

#endif
