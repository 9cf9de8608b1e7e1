#include "report/odtspanjoiner.h"

#include "report/docxpicshandler.h"

#include <QRegularExpression>

namespace {

bool startsWithName(const QString& part, qsizetype pos, QLatin1String tag)
{
    if (QStringView(part).mid(pos, tag.size()) != tag)
        return false;
    const QChar next = pos + tag.size() < part.size() ? part.at(pos + tag.size()) : QChar();
    return next == QLatin1Char('>') || next == QLatin1Char('/') || next.isSpace();
}

} // namespace

bool OdtSpanJoiner::isParagraphBoundary(const QString& part, qsizetype pos) const
{
    for (const QLatin1String tag : {QLatin1String("<text:p"), QLatin1String("<text:h"), QLatin1String("</text:p"),
                                    QLatin1String("</text:h")})
        if (startsWithName(part, pos, tag))
            return true;
    return false;
}

// The character data after any markup: inside a paragraph, text of spans and text
// between them alike.
bool OdtSpanJoiner::textNodeAt(const QString& part, qsizetype pos, TextNode& node) const
{
    const qsizetype close = DocxPicsHandler::startTagClose(part, pos);
    if (close < 0)
        return false;
    const qsizetype next = part.indexOf(QLatin1Char('<'), close + 1);
    const qsizetype end = next < 0 ? part.size() : next;
    if (end == close + 1)
        return false;
    node = {pos, close + 1, end};
    return true;
}

const QList<SplitTagJoiner::Marker>& OdtSpanJoiner::droppedMarkers() const
{
    static const QList<Marker> markers = {{QLatin1String("<text:bookmark"), false},
                                          {QLatin1String("<text:soft-page-break"), false},
                                          {QLatin1String("<text:bookmark-start"), true},
                                          {QLatin1String("<text:bookmark-end"), true},
                                          {QLatin1String("<text:change-start"), true},
                                          {QLatin1String("<text:change-end"), true}};
    return markers;
}

QString OdtSpanJoiner::markerId(QStringView element) const
{
    static const QRegularExpression id(QStringLiteral("text:(?:name|change-id)=\"([^\"]*)\""));
    return id.match(element).captured(1);
}
