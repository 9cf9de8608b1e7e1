// zentavo check: what a template holds and what in it would spoil a report.

#include "commandline.h"
#include "hostevaluation.h"
#include "subcommands.h"
#include "toolconsole.h"

#include "report/templatechecker.h"

#include <QCoreApplication>

namespace {

const char* kindName(TemplateChecker::Kind kind)
{
    switch (kind) {
    case TemplateChecker::MetaTag:
        return "meta";
    case TemplateChecker::Condition:
        return "cond";
    case TemplateChecker::Tag:
        break;
    }
    return "tag ";
}

QString where(const TemplateChecker::Location& location)
{
    return QStringLiteral("%1:%2").arg(location.part).arg(location.paragraph);
}

void listOccurrences(const TemplateChecker& checker, bool withValues)
{
    QTextStream& out = ToolConsole::out();
    for (const TemplateChecker::Occurrence& found : checker.occurrences()) {
        out << where(found.location) << '\t' << kindName(found.kind) << '\t' << found.text;
        if (withValues)
            out << '\t'
                << (found.value.isNull() ? ToolConsole::tr("(no value)")
                                         : QLatin1Char('"') + found.value + QLatin1Char('"'));
        out << "\t| " << found.location.context << '\n';
    }
}

} // namespace

int runCheck(const QStringList& commandLine)
{
    CommandLine line(
        QStringLiteral("check"), QStringLiteral("TEMPLATE [EVALUATION]"),
        ToolConsole::tr("Lists every tag, meta tag and condition of a template with its place, and the errors that "
                        "would spoil a report; with an evaluation, each tag's value. Exits with 1 when it finds an "
                        "error."));
    if (!line.parse(commandLine, 1, 2))
        return line.exitCode();
    const QStringList arguments = line.positional();
    HostEvaluation evaluation;
    TemplateChecker checker;
    checker.setApproachKeys(evaluation.approachKeys());
    if (arguments.size() == 2) {
        QString error;
        if (!evaluation.open(arguments.at(1), error))
            return ToolConsole::fail(error);
        checker.use(evaluation.evaluation());
    }
    if (!checker.checkFile(arguments.at(0))) {
        const QString reason
            = checker.problems().isEmpty() ? ToolConsole::tr("not a template") : checker.problems().first().message;
        return ToolConsole::fail(ToolConsole::tr("%1: %2").arg(arguments.at(0), reason));
    }
    for (const QString& repair : checker.repairs())
        ToolConsole::out() << ToolConsole::tr("repaired in the report: %1").arg(repair) << '\n';
    listOccurrences(checker, arguments.size() == 2);
    for (const TemplateChecker::Problem& problem : checker.problems())
        ToolConsole::out() << ToolConsole::tr("error: %1: %2").arg(where(problem.location), problem.message) << "\t| "
                           << problem.location.context << '\n';
    for (const TemplateChecker::Problem& warning : checker.warnings())
        ToolConsole::out() << ToolConsole::tr("warning: %1: %2").arg(where(warning.location), warning.message) << "\t| "
                           << warning.location.context << '\n';
    if (!checker.hasErrors())
        return ToolConsole::Success;
    return ToolConsole::fail(ToolConsole::tr("%1: %2 error(s)").arg(arguments.at(0)).arg(checker.problems().size()));
}
