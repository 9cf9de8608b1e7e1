// zentavo render EVALUATION... --templates DIR|URL --out DIR [--only NAME...] [--overwrite]
//                [--jobs N] [--pdf] [--strict] [--shard K/N] [--summary-json FILE]
// Every selected template for every evaluation, each evaluation into its own folder under
// --out. With --jobs N, N worker processes render the evaluations, each many of them. One
// evaluation that fails does not stop the others; the summary lists it. What the template
// checker finds in the templates is printed as warnings; --strict makes it a failure.
// Ctrl-C or SIGTERM stops the render after the documents in hand, and the summary says
// what was written. --shard K/N renders one share of the evaluations, so that N machines
// given the same command line render each evaluation once; --summary-json writes what
// was done where a scheduler can read it.

#include "commandline.h"
#include "folderclaims.h"
#include "hostevaluation.h"
#include "interruption.h"
#include "pdfconverter.h"
#include "remotetemplates.h"
#include "renderbatch.h"
#include "renderprogress.h"
#include "rendersummary.h"
#include "renderworker.h"
#include "shard.h"
#include "subcommands.h"
#include "templatefindings.h"
#include "toolconsole.h"
#include "workerpool.h"

#include "catalog/sqlstorage.h"
#include "report/templateslist.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QRegularExpression>

#include <unistd.h>

namespace {

struct RenderOptions
{
    QStringList evaluations;
    QString templates;
    QString out;
    QStringList only;
    bool overwrite = false;
    int jobs = 1;
    bool pdf = false;
    bool strict = false;
    Shard shard;
    QString summaryFile;
    bool worker = false; // reports to a parent process instead of the user

    bool templatesOnServer() const
    {
        return templates.startsWith(QLatin1String("http://")) || templates.startsWith(QLatin1String("https://"));
    }
};

const char synopsis[] = "EVALUATION... --templates DIR|URL --out DIR [--only NAME...] [--overwrite] [--jobs N] [--pdf] "
                        "[--strict] [--shard K/N] [--summary-json FILE]";

// The names after --only that end so are template names; the first argument that does
// not is an evaluation again.
const QRegularExpression& templateName()
{
    static const QRegularExpression name(QStringLiteral("\\.(docx|txt|odt)$"),
                                         QRegularExpression::CaseInsensitiveOption
                                             | QRegularExpression::UseUnicodePropertiesOption);
    return name;
}

bool parseOptions(const QStringList& arguments, RenderOptions& options, int& code)
{
    CommandLine line(
        QStringLiteral("render"), QString::fromLatin1(synopsis),
        ToolConsole::tr("Renders every .docx, .odt and .txt template for each evaluation into OUT/<agreement number>-<brand> "
                        "<model>-<plate>/, each document under its template's name. Documents that exist are kept "
                        "unless --overwrite. Ctrl-C stops after the document in hand and lists what was written."));
    const QCommandLineOption templates(QStringLiteral("templates"),
                                       ToolConsole::tr("the template folder, or the URL of a template "
                                                       "server's list"),
                                       QStringLiteral("DIR|URL"));
    const QCommandLineOption out(QStringLiteral("out"), ToolConsole::tr("where the document folders go"),
                                 QStringLiteral("DIR"));
    const QCommandLineOption only(QStringLiteral("only"),
                                  ToolConsole::tr("only these templates; several names ending in .docx, "
                                                  ".txt or .odt may follow one --only"),
                                  QStringLiteral("NAME"));
    const QCommandLineOption overwrite(QStringLiteral("overwrite"), ToolConsole::tr("replaces documents that exist"));
    const QCommandLineOption jobs(QStringLiteral("jobs"), ToolConsole::tr("renders in N worker processes at once"),
                                  QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 ToolConsole::tr("also a PDF of every document, made by LibreOffice "
                                                 "(or the program ZENTAVO_SOFFICE names)"));
    const QCommandLineOption strict(QStringLiteral("strict"),
                                    ToolConsole::tr("a finding of the template check fails the render"));
    const QCommandLineOption shard(QStringLiteral("shard"),
                                   ToolConsole::tr("renders only share K of N (K from 0 to N-1), chosen by "
                                                   "each evaluation's absolute path, so N machines given "
                                                   "the same evaluations render each once"),
                                   QStringLiteral("K/N"), QStringLiteral("0/1"));
    const QCommandLineOption summaryJson(QStringLiteral("summary-json"),
                                         ToolConsole::tr("writes what was written, kept and failed "
                                                         "to FILE as JSON, however the render ends"),
                                         QStringLiteral("FILE"));
    QCommandLineOption worker(QStringLiteral("worker"),
                              ToolConsole::tr("renders the evaluations named on standard input, for a "
                                              "parent render"));
    worker.setFlags(QCommandLineOption::HiddenFromHelp);
    for (const QCommandLineOption& option : {templates, out, overwrite, jobs, pdf, strict, shard, summaryJson, worker})
        line.addOption(option);
    line.addListOption(only, templateName());
    if (!line.parse(arguments, 0)) {
        code = line.exitCode();
        return false;
    }
    options.evaluations = line.positional();
    options.templates = line.value(templates.names().constFirst());
    options.out = line.value(out.names().constFirst());
    options.only = line.values(only.names().constFirst());
    options.overwrite = line.isSet(overwrite.names().constFirst());
    options.pdf = line.isSet(pdf.names().constFirst());
    options.strict = line.isSet(strict.names().constFirst());
    options.worker = line.isSet(worker.names().constFirst());
    options.summaryFile = line.value(summaryJson.names().constFirst());
    bool number = false;
    options.jobs = line.value(jobs.names().constFirst()).toInt(&number);
    QString problem;
    if (!number || options.jobs < 1)
        problem = ToolConsole::tr("--jobs takes a number of 1 or more, not \"%1\"")
                      .arg(line.value(jobs.names().constFirst()));
    else if (options.evaluations.isEmpty() && !options.worker)
        problem = ToolConsole::tr("no evaluation named");
    else if (options.templates.isEmpty())
        problem = ToolConsole::tr("--templates missing");
    else if (options.out.isEmpty())
        problem = ToolConsole::tr("--out missing");
    else
        Shard::parse(line.value(shard.names().constFirst()), options.shard, problem);
    if (problem.isEmpty())
        return true;
    code = line.usageError(problem);
    return false;
}

int selectedCount(const TemplatesList& list)
{
    int selected = 0;
    for (int i = 0; i < list.count(); ++i)
        selected += list.isSelected(i);
    return selected;
}

bool loadTemplates(const RenderOptions& options, TemplatesList& list, QString& error)
{
    QEventLoop loop;
    bool loaded = false;
    QObject::connect(&list, &TemplatesList::done, &loop, [&] {
        loaded = true;
        loop.quit();
    });
    if (!options.templatesOnServer() && !QFileInfo(options.templates).isDir()) {
        error = ToolConsole::tr("%1: no such template folder").arg(options.templates);
        return false;
    }
    if (!list.load(options.templates))
        return false;
    if (!loaded)
        loop.exec();
    if (!options.only.isEmpty()) {
        list.unselectAll();
        for (const QString& wanted : options.only) {
            bool found = false;
            QString name;
            for (int i = 0; i < list.count(); ++i)
                if (list.get(i, name) && name == wanted) {
                    list.select(i, true);
                    found = true;
                }
            if (!found) {
                error = ToolConsole::tr("no template \"%1\" in %2").arg(wanted, options.templates);
                return false;
            }
        }
    }
    // Only text, DOCX and ODT templates can be produced; the others are not counted as work.
    // The meta tags of a template folder live in its metatags.txt, which is no template.
    QString name;
    for (int i = 0; i < list.count(); ++i)
        if (list.getType(i) == TemplatesList::TYPE_NONE
            || (list.get(i, name) && name == QLatin1String("metatags.txt")))
            list.select(i, false);
    const int selected = selectedCount(list);
    if (selected == 0)
        error = ToolConsole::tr("no .docx, .odt or .txt templates in %1").arg(options.templates);
    return selected > 0;
}

// Documents do not need the catalog: without it they lack the names it supplies and
// the company logos, which the user is told once.
void warnIfCatalogUnusable()
{
    SQLStorage* catalog = SQLStorage::getInstance();
    if (!catalog->isHealthy())
        ToolConsole::warn(ToolConsole::tr("%1; the documents are written without catalog names and company logos")
                              .arg(catalog->failure()));
}

RenderBatch::Outcome renderEvaluation(const QString& path, TemplatesList& list, const RenderOptions& options,
                                      const RenderBatch::Hooks& hooks)
{
    HostEvaluation evaluation;
    RenderBatch::Outcome outcome;
    if (!evaluation.open(path, outcome.error))
        return outcome;
    RenderBatch batch(options.overwrite, hooks);
    // Templates on disk were analysed once for the whole run; one from a server is
    // analysed as it arrives.
    if (options.templatesOnServer())
        batch.setTemplateCheck(options.strict ? TemplateToDocument::RefuseTemplateWithFindings
                                              : TemplateToDocument::ReportTemplateFindings);
    return batch.run(evaluation.evaluation(), list, options.out);
}

// Disk templates: each analysed once, before anything is rendered. False, with the line
// to say in refusal, when --strict refuses them.
bool checkTemplates(const RenderOptions& options, TemplatesList& list, QString& refusal)
{
    int found = 0;
    for (const QString& finding : TemplateFindings::ofSelected(list, HostEvaluation().approachKeys(), found))
        ToolConsole::warn(finding);
    if (!options.strict || found == 0)
        return true;
    refusal = ToolConsole::tr("%1 problem(s) in the templates; with --strict nothing is rendered").arg(found);
    return false;
}

// Findings in templates from a server, each said once however many evaluations used them.
void warnOfServerTemplates(const QList<RenderBatch::Outcome>& outcomes)
{
    QStringList said;
    for (const RenderBatch::Outcome& outcome : outcomes)
        for (const QString& finding : outcome.findings)
            if (!said.contains(finding)) {
                said.append(finding);
                ToolConsole::warn(finding);
            }
}

QList<RenderBatch::Outcome> renderHere(const RenderOptions& options, TemplatesList& templates, FolderClaims& claims,
                                       RenderProgress& progress)
{
    QList<RenderBatch::Outcome> outcomes;
    for (const QString& path : options.evaluations) {
        if (Interruption::happened()) {
            outcomes.append(RenderBatch::Outcome());
            outcomes.last().interrupted = true;
            continue;
        }
        const RenderBatch::Hooks hooks{[&](const QString& document) { progress.documentStarted(document); },
                                       [](const QString&) {},
                                       [&](const QString& folder, QString& refusal) {
                                           return claims.claim(folder, path, refusal);
                                       }};
        outcomes.append(renderEvaluation(path, templates, options, hooks));
    }
    return outcomes;
}

QStringList workerArguments(const RenderOptions& options)
{
    QStringList arguments{QStringLiteral("render"), QStringLiteral("--worker"), QStringLiteral("--templates"),
                          options.templates, QStringLiteral("--out"), options.out};
    for (const QString& name : options.only)
        arguments << QStringLiteral("--only") << name;
    if (options.overwrite)
        arguments << QStringLiteral("--overwrite");
    if (options.strict)
        arguments << QStringLiteral("--strict");
    return arguments;
}

int runWorker(const RenderOptions& options, TemplatesList& templates)
{
    RenderWorker worker([&](const QString& path, const RenderBatch::Hooks& hooks) {
        return renderEvaluation(path, templates, options, hooks);
    });
    return worker.run();
}

// An evaluation named twice (by two patterns of the shell, say) is rendered once.
QStringList withoutRepeats(const QStringList& evaluations)
{
    QStringList kept, seen;
    for (const QString& path : evaluations) {
        const QFileInfo file(path);
        const QString identity = file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
        if (seen.contains(identity)) {
            ToolConsole::warn(ToolConsole::tr("%1 is named more than once; it is rendered once").arg(path));
            continue;
        }
        seen.append(identity);
        kept.append(path);
    }
    return kept;
}

// PDF copies of the documents of this run, those kept from before included.
int convertToPdf(const QString& converterProgram, const QList<RenderBatch::Outcome>& outcomes, RenderSummary& summary)
{
    int documents = 0;
    for (const RenderBatch::Outcome& outcome : outcomes)
        documents += int(outcome.written.size() + outcome.skipped.size());
    RenderProgress progress(documents, ToolConsole::isTerminal(STDERR_FILENO));
    PdfConverter converter(converterProgram, progress);
    for (const RenderBatch::Outcome& outcome : outcomes) {
        if (Interruption::happened())
            break;
        if (!outcome.written.isEmpty() || !outcome.skipped.isEmpty())
            converter.convert(outcome.written + outcome.skipped);
    }
    progress.finish();
    summary.setPdfs(converter.written(), converter.failures());
    ToolConsole::out() << ToolConsole::tr("%1 PDF(s) written beside the documents").arg(converter.written().size())
                       << '\n';
    for (const QString& failure : converter.failures())
        ToolConsole::fail(failure);
    if (Interruption::happened())
        return ToolConsole::fail(ToolConsole::tr("interrupted by %1 while making PDFs").arg(Interruption::signalName()),
                                 Interruption::exitCode());
    if (!converter.failures().isEmpty())
        return ToolConsole::fail(
            ToolConsole::tr("%1 document(s) without their PDF; see above").arg(converter.failures().size()));
    return ToolConsole::Success;
}

int summarise(const QStringList& evaluations, const QList<RenderBatch::Outcome>& outcomes,
              const QStringList& workerFailures)
{
    int written = 0, skipped = 0, failed = 0, unfinished = 0;
    QTextStream& out = ToolConsole::out();
    for (int i = 0; i < outcomes.size(); ++i) {
        const RenderBatch::Outcome& outcome = outcomes.at(i);
        const QString& path = evaluations.at(i);
        written += int(outcome.written.size());
        skipped += int(outcome.skipped.size());
        if (!outcome.error.isEmpty()) {
            ++failed;
            out << ToolConsole::tr("FAILED  ")
                << (outcome.error.startsWith(path) ? outcome.error : path + QStringLiteral(": ") + outcome.error)
                << '\n';
            // The document and the cause, where the user looks for what went wrong.
            if (outcome.writeFailed)
                ToolConsole::fail(QString(outcome.error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        } else if (outcome.interrupted) {
            ++unfinished;
            out << ToolConsole::tr("NOT FINISHED  ") << ToolConsole::tr("%1 (interrupted)").arg(path) << '\n';
        }
        if (!outcome.written.isEmpty() || !outcome.skipped.isEmpty())
            out << ToolConsole::tr("%1 -> %2").arg(path, outcome.folder) << '\n';
        for (const QString& document : outcome.written)
            out << "  " << QFileInfo(document).fileName() << '\n';
        for (const QString& document : outcome.skipped)
            out << "  "
                << ToolConsole::tr("%1 (exists, kept; --overwrite replaces it)").arg(QFileInfo(document).fileName())
                << '\n';
    }
    for (const QString& failure : workerFailures)
        out << ToolConsole::tr("FAILED  ") << ToolConsole::tr("a worker process: %1").arg(failure) << '\n';
    out << ToolConsole::tr("%1 document(s) written, %2 kept, %3 of %4 evaluation(s) failed")
               .arg(written)
               .arg(skipped)
               .arg(failed)
               .arg(outcomes.size());
    if (unfinished > 0)
        out << ToolConsole::tr(", %1 not finished").arg(unfinished);
    out << '\n';
    if (Interruption::happened())
        return ToolConsole::fail(
            ToolConsole::tr("interrupted by %1; %2 evaluation(s) not finished, the documents listed above are "
                            "written")
                .arg(Interruption::signalName())
                .arg(unfinished),
            Interruption::exitCode());
    if (failed > 0 || !workerFailures.isEmpty())
        return ToolConsole::fail(
            ToolConsole::tr("%1 evaluation(s) failed; see above").arg(failed + workerFailures.size()));
    return ToolConsole::Success;
}

// Fails the render as a whole: said on standard error and kept for the summary file.
int failRender(RenderSummary& summary, const QString& message, int code = ToolConsole::Failure)
{
    summary.setFailure(message);
    return ToolConsole::fail(message, code);
}

// The share of the evaluations this render does, said once when it is not all of them.
void takeShare(RenderOptions& options)
{
    const int given = int(options.evaluations.size());
    options.evaluations = options.shard.select(options.evaluations);
    if (!options.shard.isWhole())
        ToolConsole::out() << ToolConsole::tr("share %1/%2: %3 of the %4 evaluation(s) given")
                                  .arg(options.shard.index())
                                  .arg(options.shard.count())
                                  .arg(options.evaluations.size())
                                  .arg(given)
                           << '\n';
    options.evaluations = withoutRepeats(options.evaluations);
}

int render(RenderOptions& options, RenderSummary& summary)
{
    Interruption::instance().install();
    QString error;
    const QString converter = options.pdf ? PdfConverter::program(error) : QString();
    if (options.pdf && converter.isEmpty())
        return failRender(summary, error);
    // Templates from a server are fetched once, and every worker reads them from disk.
    RemoteTemplates remote;
    if (RemoteTemplates::isUrl(options.templates)) {
        if (!remote.fetch(options.templates, options.only, error))
            return Interruption::happened() ? failRender(
                       summary, ToolConsole::tr("interrupted by %1; nothing rendered").arg(Interruption::signalName()),
                       Interruption::exitCode())
                                            : failRender(summary, error);
        options.templates = remote.folder();
    }
    TemplatesList templates;
    if (!loadTemplates(options, templates, error))
        return failRender(summary, error.isEmpty()
                                       ? ToolConsole::tr("%1: the template list cannot be read").arg(options.templates)
                                       : error);
    if (options.worker)
        return runWorker(options, templates);

    if (!options.templatesOnServer() && !checkTemplates(options, templates, error))
        return failRender(summary, error);
    warnIfCatalogUnusable();
    RenderProgress progress(int(options.evaluations.size()) * selectedCount(templates), ToolConsole::isTerminal(STDERR_FILENO));
    FolderClaims claims;
    QList<RenderBatch::Outcome> outcomes;
    QStringList workerFailures;
    if (options.jobs > 1 && options.evaluations.size() > 1) {
        WorkerPool pool(workerArguments(options), options.jobs, claims, progress);
        outcomes = pool.render(options.evaluations);
        workerFailures = pool.workerFailures();
    } else {
        outcomes = renderHere(options, templates, claims, progress);
    }
    progress.finish();
    summary.setOutcomes(outcomes, workerFailures);
    warnOfServerTemplates(outcomes);
    const int result = summarise(options.evaluations, outcomes, workerFailures);
    if (!options.pdf || Interruption::happened())
        return result;
    const int converted = convertToPdf(converter, outcomes, summary);
    return result != ToolConsole::Success ? result : converted;
}

// Writes the summary file when one was asked for; one that cannot be written fails a
// render that otherwise succeeded.
int withSummary(const RenderOptions& options, const RenderSummary& summary, int code)
{
    QString error;
    if (options.summaryFile.isEmpty() || summary.write(options.summaryFile, code, Interruption::happened(), error))
        return code;
    const int failed = ToolConsole::fail(ToolConsole::tr("the summary is not written: %1").arg(error));
    return code == ToolConsole::Success ? failed : code;
}

} // namespace

int runRender(const QStringList& arguments)
{
    RenderOptions options;
    int code = ToolConsole::Success;
    if (!parseOptions(arguments, options, code))
        return code;
    RenderSummary summary;
    if (!options.worker) {
        takeShare(options);
        summary.setEvaluations(options.evaluations, options.shard);
    }
    return withSummary(options, summary, render(options, summary));
}
