#include "templatefindings.h"

#include "toolconsole.h"

#include "report/templateslist.h"

#include <QCoreApplication>
#include <QFileInfo>

QStringList TemplateFindings::ofSelected(TemplatesList& list, const QStringList& approachKeys, int& found)
{
    QStringList lines;
    found = 0;
    QString path;
    for (int i = 0; i < list.count(); ++i) {
        if (!list.isSelected(i) || !list.getFullName(i, path) || path.startsWith(QLatin1String("http://"))
            || path.startsWith(QLatin1String("https://")))
            continue;
        TemplateChecker checker;
        checker.setApproachKeys(approachKeys);
        checker.checkFile(path);
        const QList<TemplateChecker::Problem>& problems = checker.problems();
        for (const TemplateChecker::Problem& problem : problems.mid(0, MaxLinesPerTemplate))
            lines.append(line(problem));
        if (problems.size() > MaxLinesPerTemplate)
            lines.append(ToolConsole::tr("%1: %2 more finding(s); zentavo check lists them all")
                             .arg(QFileInfo(path).fileName())
                             .arg(problems.size() - MaxLinesPerTemplate));
        found += int(problems.size());
    }
    return lines;
}

QString TemplateFindings::line(const TemplateChecker::Problem& problem)
{
    const TemplateChecker::Location& at = problem.location;
    const QString place = at.part == problem.templateName
                              ? QStringLiteral("%1:%2").arg(problem.templateName).arg(at.paragraph)
                              : QStringLiteral("%1: %2:%3").arg(problem.templateName, at.part).arg(at.paragraph);
    return place + QStringLiteral(": ") + problem.message;
}
