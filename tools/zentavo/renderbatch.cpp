#include "renderbatch.h"

#include "interruption.h"
#include "templatefindings.h"
#include "toolconsole.h"

#include "report/templateslist.h"
#include "runtime/atomicfilewriter.h"

#include <QCoreApplication>
#include <QEventLoop>

RenderBatch::RenderBatch(bool overwrite, Hooks hooks) : overwrite(overwrite), hooks(std::move(hooks))
{
    connect(this, &TemplatesToDocumentsBatch::progress, this, [this](QString& part, int partPercent, int) {
        if (partPercent == 100 && part != getDocDir())
            this->hooks.started(part);
    });
}

RenderBatch::Outcome RenderBatch::run(AutoEvaluation& evaluation, TemplatesList& templates, const QString& outDir)
{
    outcome = Outcome();
    QString base = outDir, folder;
    constructDocDir(evaluation, base, folder);
    if (!hooks.claim(folder, outcome.error)) {
        // A worker asking its parent for the folder hears no answer once interrupted.
        if (Interruption::happened()) {
            outcome.error.clear();
            outcome.interrupted = true;
        }
        return outcome;
    }
    removeAbandonedFiles(templates, folder);
    if (Interruption::happened()) {
        outcome.interrupted = true;
        return outcome;
    }
    bool finished = false;
    QEventLoop loop;
    connect(this, qOverload<>(&TemplatesToDocumentsBatch::done), &loop, [&] {
        finished = true;
        loop.quit();
    });
    connect(&Interruption::instance(), &Interruption::interrupted, &loop, [this] { stop(); });
    if (!make(evaluation, templates, outDir)) {
        outcome.error = getErrorInfo().code() != ErrorInfo::ErrNone
                            ? getErrorInfo().message()
                            : ToolConsole::tr("cannot create the folder %1").arg(getDocDir());
        return outcome;
    }
    if (!finished)
        loop.exec();
    outcome.folder = getDocDir();
    for (const TemplateChecker::Problem& finding : templateFindings())
        outcome.findings.append(TemplateFindings::line(finding));
    if (getErrorInfo().code() != ErrorInfo::ErrNone)
        outcome.error = getErrorInfo().message();
    outcome.writeFailed = getErrorInfo().code() == ErrorInfo::ErrWrite;
    int selected = 0;
    for (int i = 0; i < templates.count(); ++i)
        selected += templates.isSelected(i);
    outcome.interrupted = outcome.error.isEmpty() && Interruption::happened()
                          && outcome.written.size() + outcome.skipped.size() < selected;
    return outcome;
}

void RenderBatch::removeAbandonedFiles(TemplatesList& templates, QString& folder)
{
    QString templateFile, document;
    for (int i = 0; i < templates.count(); ++i)
        if (templates.isSelected(i) && templates.getFullName(i, templateFile)) {
            constructDocName(templateFile, folder, document);
            AtomicFileWriter::removeAbandoned(document);
        }
}

bool RenderBatch::askForOverride(QString& docFile)
{
    if (!overwrite)
        outcome.skipped.append(docFile);
    return overwrite;
}

void RenderBatch::done(QString docFile)
{
    outcome.written.append(docFile);
    hooks.written(docFile);
}
