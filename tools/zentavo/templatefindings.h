#ifndef ZENTAVO_TOOL_TEMPLATEFINDINGS_H
#define ZENTAVO_TOOL_TEMPLATEFINDINGS_H

#include "report/templatechecker.h"

#include <QStringList>

class TemplatesList;

// What the template checker finds in the templates of a render, as the lines the user
// is shown: "TEMPLATE: PART:PARAGRAPH: message", or "TEMPLATE:LINE: message" for a text
// template.
class TemplateFindings
{
public:
    // A template broken throughout would bury the others: past this many lines, one more
    // says how many findings were not shown.
    static constexpr int MaxLinesPerTemplate = 50;

    // Every selected template on disk, each analysed once; found counts the findings.
    // Templates on a server are analysed as they are rendered
    // (TemplatesToDocumentsBatch::setTemplateCheck).
    static QStringList ofSelected(TemplatesList& list, const QStringList& approachKeys, int& found);
    static QString line(const TemplateChecker::Problem& problem);
};

#endif
