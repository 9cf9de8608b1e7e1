#ifndef ZENTAVO_TEMPLATESTODOCUMENTSBATCH_H
#define ZENTAVO_TEMPLATESTODOCUMENTSBATCH_H

#include "zentavo_export.h"

#include "report/templatetodocx.h"
#include "report/templatetoodt.h"
#include "report/templatetotxt.h"
#include "runtime/errorinfo.h"

#include <QObject>
#include <QString>

class AutoEvaluation;
class TemplatesList;

// Produces every selected template of a list for one evaluation, one document after
// the other, into the evaluation's own folder "<agreement number>-<brand> <model>-<plate>"
// under a base folder. Each document has its template's file name. Text templates go to
// the text generator, DOCX templates to the DOCX one, ODT templates to the ODT one. The first
// generator error stops the batch; its error is kept in getErrorInfo().
//
// The batch moves on when a generator announces done(), through a queued connection:
// each run unwinds before the next begins, so the host's event loop must turn until the
// batch emits done().
class ZENTAVO_EXPORT TemplatesToDocumentsBatch : public QObject
{
    Q_OBJECT

public:
    explicit TemplatesToDocumentsBatch(QObject* parent = nullptr);
    ~TemplatesToDocumentsBatch() override;

    // Asked when something stands in the document's place (a dangling link too); true
    // overwrites it. The base answers true.
    virtual bool askForOverride(QString& docFile);
    // Called with each document a generator finished without error.
    virtual void done(QString docFile);

    // Starts the batch; false, with nothing started, when the document folder cannot
    // be created, is a symbolic link (the error says so), or this batch is still producing.
    bool make(AutoEvaluation& ae, TemplatesList& list, QString baseDir);
    // Ends the batch after the document in hand: no further document is started, and
    // done() follows as after the last one. For a host that was asked to stop.
    void stop();
    void constructDocDir(AutoEvaluation& ae, QString& baseDir, QString& out);
    void constructDocName(QString& templateFile, QString& docDir, QString& out);

    const ErrorInfo& getErrorInfo() const { return error; }
    QString getDocDir() const { return docDir; }

    // Whether each template is analysed before its document is made, and whether a
    // finding refuses it (TemplateToDocument::setTemplateCheck); for the batches that follow.
    void setTemplateCheck(TemplateToDocument::TemplateCheck check);
    // The findings on every template of the last batch, in the order of the templates.
    const QList<TemplateChecker::Problem>& templateFindings() const { return findings; }

signals:
    void progress(QString& partname, int partPersent, int totalPersent);
    void done();

public slots:
    void make_next_one();

private:
    bool startNextSelected();
    void finish();

    ErrorInfo error;
    int current = -1;
    TemplatesList* list = nullptr;
    TemplateToDocument* generator = nullptr;
    TemplateToDocx docx;
    TemplateToOdt odt;
    TemplateToTxt txt;
    QString docDir;
    // The document the current generator is writing.
    QString docFile;
    QList<TemplateChecker::Problem> findings;
    bool stopping = false;
};

#endif
