#include "report/textlocations.h"

#include "report/templatetodocument.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

constexpr int ContextLength = 100;

QString shortened(const QString& text)
{
    const QString simple = text.simplified();
    return simple.size() <= ContextLength ? simple : simple.left(ContextLength) + QStringLiteral("…");
}

} // namespace

void TextLocations::index(const QString& text, bool docx)
{
    paragraphStarts.clear();
    contexts.clear();
    const QRegularExpression paragraphStart(docx ? QStringLiteral("<(?:w:p|text:p|text:h)[\\s>]") : QStringLiteral("^"),
                                            QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& match : paragraphStart.globalMatch(text))
        paragraphStarts.append(match.capturedStart());
}

int TextLocations::paragraphOf(qsizetype pos) const
{
    return int(std::upper_bound(paragraphStarts.begin(), paragraphStarts.end(), pos) - paragraphStarts.begin());
}

QString TextLocations::contextOf(const QString& text, qsizetype pos, const TemplateToDocument& generator)
{
    const int paragraph = paragraphOf(pos);
    if (text.isEmpty() || paragraph == 0)
        return QString();
    auto context = contexts.constFind(paragraph);
    if (context == contexts.constEnd()) {
        const qsizetype start = paragraphStarts.at(paragraph - 1);
        const qsizetype end = paragraph == paragraphStarts.size() ? text.size() : paragraphStarts.at(paragraph);
        const QStringView span = QStringView(text).mid(start, end - start);
        context = contexts.insert(paragraph, shortened(generator.visibleText(span)));
    }
    return *context;
}
