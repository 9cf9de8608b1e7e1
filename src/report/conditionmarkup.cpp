#include "report/conditionmarkup.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <utility>

namespace {

// What the text between two markers must be for a short block: not empty, no "?".
bool isShortBlockText(QStringView text)
{
    return !text.isEmpty() && !text.contains(QLatin1Char('?'));
}

struct Cut
{
    qsizetype start;
    qsizetype end;
};

} // namespace

ConditionMarkup::ConditionMarkup(QString left, QString right)
    : left(std::move(left)), right(std::move(right))
{
}

bool ConditionMarkup::parse(QStringView body, Marker& marker)
{
    static const QRegularExpression opening(
        QRegularExpression::anchoredPattern(QStringLiteral("([^\\?!=]+)(?:(!)|([!=])([\\d\\s\\w]+))?")),
        QRegularExpression::UseUnicodePropertiesOption);
    marker = Marker();
    if (body.isEmpty()) {
        marker.role = Marker::ShortEnd;
        return true;
    }
    if (body.startsWith(QLatin1Char('/'))) {
        marker.role = Marker::End;
        marker.name = body.mid(1).toString();
        return true;
    }
    const QRegularExpressionMatch match = opening.match(body);
    if (!match.hasMatch())
        return false;
    marker.name = match.captured(1);
    if (match.hasCaptured(2)) {
        marker.form = EmptyBlock;
    } else if (match.hasCaptured(3)) {
        marker.form = match.capturedView(3) == u"=" ? EqualBlock : NotEqualBlock;
        marker.comparison = match.captured(4);
    }
    return true;
}

// Every marker holds a "?" right after the left bracket, and question marks are rare in
// template text: the search goes from one to the next. A marker's text never holds the
// left bracket or a "?", so each stretch of the text is read a bounded number of times.
QList<ConditionMarkup::Marker> ConditionMarkup::find(QStringView text) const
{
    QList<Marker> markers;
    const qsizetype leftSize = left.size();
    for (qsizetype question = text.indexOf(QLatin1Char('?')); question >= 0;) {
        const qsizetype start = question - leftSize;
        if (start < 0 || text.mid(start, leftSize) != left) {
            question = text.indexOf(QLatin1Char('?'), question + 1);
            continue;
        }
        Marker marker;
        if (text.mid(question + 1).startsWith(right)) {
            marker.role = Marker::ShortEnd;
            marker.start = start;
            marker.end = question + 1 + right.size();
            markers.append(marker);
            question = text.indexOf(QLatin1Char('?'), marker.end);
            continue;
        }
        const qsizetype closing = text.indexOf(QLatin1Char('?'), question + 1);
        if (closing < 0)
            break;
        const QStringView body = text.mid(question + 1, closing - question - 1);
        if (body.isEmpty() || body.contains(left) || !text.mid(closing + 1).startsWith(right) || !parse(body, marker)) {
            question = closing;
            continue;
        }
        marker.start = start;
        marker.end = closing + 1 + right.size();
        markers.append(marker);
        question = text.indexOf(QLatin1Char('?'), marker.end);
    }
    return markers;
}

void ConditionMarkup::pair(QStringView text, QList<Marker>& markers, bool shortBlocks)
{
    QHash<QString, QList<int>> open; // by name, the openings not closed yet
    for (int i = 0; i < markers.size(); ++i) {
        Marker& marker = markers[i];
        if (marker.role == Marker::Opening) {
            open[marker.name].append(i);
        } else if (marker.role == Marker::End) {
            const auto openings = open.find(marker.name);
            if (openings == open.end() || openings->isEmpty())
                continue;
            marker.partner = openings->takeLast();
            markers[marker.partner].partner = i;
        } else if (shortBlocks && i > 0) {
            Marker& opening = markers[i - 1];
            if (opening.role != Marker::Opening || opening.form != ValueBlock
                || !isShortBlockText(text.mid(opening.end, marker.start - opening.end)))
                continue;
            open[opening.name].removeLast(); // it was the last one opened
            opening.form = ShortBlock;
            opening.partner = i;
            marker.partner = i - 1;
        }
    }
}

void ConditionMarkup::apply(QString& text, Form form, const std::function<bool(const Marker&)>& decide) const
{
    apply(text, find(text), form, decide);
}

bool ConditionMarkup::apply(QString& text, const QList<Marker>& found, Form form,
                            const std::function<bool(const Marker&)>& decide) const
{
    if (found.isEmpty())
        return false;
    QList<Marker> markers = found;
    pair(text, markers, form == ShortBlock);
    QList<Cut> cuts;
    QList<qsizetype> keptEnds; // where the end of each kept block around this point starts
    qsizetype removedUntil = 0;
    for (const Marker& opening : std::as_const(markers)) {
        if (opening.role != Marker::Opening || opening.form != form || opening.partner < 0
            || opening.start < removedUntil)
            continue;
        const Marker& end = markers.at(opening.partner);
        while (!keptEnds.isEmpty() && keptEnds.last() <= opening.start)
            keptEnds.removeLast();
        if (!keptEnds.isEmpty() && end.end > keptEnds.last())
            continue;
        if (decide(opening)) {
            cuts.append({opening.start, opening.end});
            cuts.append({end.start, end.end});
            keptEnds.append(end.start);
        } else {
            cuts.append({opening.start, end.end});
            removedUntil = end.end;
        }
    }
    if (cuts.isEmpty())
        return false;
    std::sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.start < b.start; });
    const QStringView view(text);
    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    for (const Cut& cut : std::as_const(cuts)) {
        out.append(view.mid(copied, cut.start - copied));
        copied = cut.end;
    }
    out.append(view.mid(copied));
    text = std::move(out);
    return true;
}
