// A host of the Zentavo core library in one file: it opens an evaluation, resolves report
// tags as a template would, and renders every template of a folder into documents.
//   zentavo-host-example EVALUATION TEMPLATE_FOLDER OUT_FOLDER [NAME#FLAGS...]
// The API reference's main page walks through it.

#include <evaluation/autoevaluation.h>
#include <evaluation/evaluationtagstorage.h>
#include <report/templateslist.h>
#include <report/templatestodocumentsbatch.h>
#include <values/tagutils.h>

#include <QEventLoop>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QTextStream out(stdout);
QTextStream err(stderr);

//! [resolve]
// "СТОИМОСТЬ_УСЛУГ#R" is the tag СТОИМОСТЬ_УСЛУГ with the flag R (amount in words),
// as a template writes it.
bool printTag(const AutoEvaluation& evaluation, const QString& tagWithFlags)
{
    const QStringList parts = tagWithFlags.split(QLatin1Char('#'));
    long flags = 0;
    for (const QString& letters : parts.mid(1))
        for (const QChar letter : letters)
            flags |= TagUtils::flagForLetter(letter);
    QString value;
    if (!evaluation.getTag(parts.at(0), value, flags)) {
        err << parts.at(0) << ": no section knows this tag\n";
        return false;
    }
    out << tagWithFlags << " = " << value << '\n';
    return true;
}
//! [resolve]

//! [render]
bool renderFolder(AutoEvaluation& evaluation, const QString& templateFolder, const QString& outFolder)
{
    TemplatesList templates;
    if (!templates.load_from_disk(templateFolder) || templates.count() == 0) {
        err << templateFolder << ": no templates\n";
        return false;
    }
    TemplatesToDocumentsBatch batch;
    QEventLoop loop;
    QObject::connect(&batch, qOverload<>(&TemplatesToDocumentsBatch::done), &loop, &QEventLoop::quit);
    if (!batch.make(evaluation, templates, outFolder)) {
        err << "cannot start: " << batch.getErrorInfo().message() << '\n';
        return false;
    }
    loop.exec(); // the batch produces one document after the other while the loop turns
    if (batch.getErrorInfo().code() != ErrorInfo::ErrNone) {
        err << batch.getErrorInfo().message() << '\n';
        return false;
    }
    out << "documents in " << batch.getDocDir() << '\n';
    return true;
}
//! [render]

} // namespace

int main(int argc, char* argv[])
{
    //! [application]
    // Pictures need a QGuiApplication; without a display, the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    //! [application]
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4) {
        err << "usage: zentavo-host-example EVALUATION TEMPLATE_FOLDER OUT_FOLDER [NAME#FLAGS...]\n";
        return 2;
    }

    //! [open]
    EvaluationTagStorage storage;          // the tags of one evaluation
    AutoEvaluation evaluation(storage);    // the facade over them; keep both alive together
    if (!evaluation.load(arguments.at(1))) {
        err << arguments.at(1) << ": not an evaluation file, or a damaged one\n";
        return 1;
    }
    //! [open]

    bool resolved = true;
    for (const QString& tag : arguments.mid(4))
        resolved = printTag(evaluation, tag) && resolved;
    const bool rendered = renderFolder(evaluation, arguments.at(2), arguments.at(3));
    return resolved && rendered ? 0 : 1;
}
