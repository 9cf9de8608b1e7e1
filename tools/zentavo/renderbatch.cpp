#include "renderbatch.h"

#include "templatefindings.h"

#include <QCoreApplication>
#include <QEventLoop>

RenderBatch::RenderBatch(bool overwrite, Progress started) : overwrite(overwrite), started(std::move(started))
{
    connect(this, &TemplatesToDocumentsBatch::progress, this, [this](QString& part, int partPercent, int) {
        if (partPercent == 100 && part != getDocDir())
            this->started(part);
    });
}

RenderBatch::Outcome RenderBatch::run(AutoEvaluation& evaluation, TemplatesList& templates, const QString& outDir)
{
    outcome = Outcome();
    bool finished = false;
    QEventLoop loop;
    connect(this, qOverload<>(&TemplatesToDocumentsBatch::done), &loop, [&] {
        finished = true;
        loop.quit();
    });
    if (!make(evaluation, templates, outDir)) {
        outcome.error = getErrorInfo().code() != ErrorInfo::ErrNone
                            ? getErrorInfo().message()
                            : QCoreApplication::translate("zentavo", "cannot create the folder %1").arg(getDocDir());
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
    return outcome;
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
}
