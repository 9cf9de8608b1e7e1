#include "templatefindings.h"

#include "report/templateslist.h"

QStringList TemplateFindings::ofSelected(TemplatesList& list, const QStringList& approachKeys)
{
    QStringList lines;
    QString path;
    for (int i = 0; i < list.count(); ++i) {
        if (!list.isSelected(i) || !list.getFullName(i, path) || path.startsWith(QLatin1String("http://"))
            || path.startsWith(QLatin1String("https://")))
            continue;
        TemplateChecker checker;
        checker.setApproachKeys(approachKeys);
        checker.checkFile(path);
        for (const TemplateChecker::Problem& problem : checker.problems())
            lines.append(line(problem));
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
