#include "report/splittagjoiner.h"

#include "report/tagpatterns.h"

#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace {

const QString LeftBracket = QStringLiteral("&lt;");
const QString RightBracket = QStringLiteral("&gt;");
constexpr qsizetype BracketLength = 4;

QChar charAt(const QString& text, qsizetype pos)
{
    return pos < text.size() ? text.at(pos) : QChar();
}

bool startsAt(const QString& text, qsizetype pos, QLatin1String what)
{
    return QStringView(text).mid(pos, what.size()) == what;
}

bool isMarkerAt(const QString& part, qsizetype pos, QLatin1String marker)
{
    if (!startsAt(part, pos, marker))
        return false;
    const QChar next = charAt(part, pos + marker.size());
    return next == QLatin1Char(' ') || next == QLatin1Char('/') || next == QLatin1Char('>');
}

// The end (one past '>') of an element starting at pos, empty or with its closing tag.
qsizetype elementEnd(const QString& part, qsizetype pos, QLatin1String marker)
{
    const qsizetype close = part.indexOf(QLatin1Char('>'), pos);
    if (close < 0)
        return part.size();
    if (part.at(close - 1) == QLatin1Char('/'))
        return close + 1;
    const QString endTag = QStringLiteral("</") + marker.mid(1) + QLatin1Char('>');
    const qsizetype end = part.indexOf(endTag, close);
    return end < 0 ? close + 1 : end + endTag.size();
}

// The closing text of a tag that opens with L and this character; none for other text.
QString closerFor(QChar kind)
{
    if (kind == QLatin1Char('#') || kind == QLatin1Char('%') || kind == QLatin1Char('?'))
        return kind + RightBracket;
    return QString();
}

} // namespace

int SplitTagJoiner::join(QString& part)
{
    return holdsOnlyWholeTags(part) ? 0 : joinEveryPiece(part);
}

int SplitTagJoiner::joinEveryPiece(QString& part)
{
    edits.clear();
    droppedBookmarks.clear();
    joined = 0;
    QList<TextNode> paragraph;
    qsizetype pos = 0;
    while ((pos = part.indexOf(QLatin1Char('<'), pos)) >= 0) {
        if (isParagraphBoundary(part, pos)) {
            joinParagraph(part, paragraph);
            paragraph.clear();
        }
        TextNode node;
        if (textNodeAt(part, pos, node)) {
            paragraph.append(node);
            pos = node.textEnd;
            continue;
        }
        ++pos;
    }
    joinParagraph(part, paragraph);
    if (joined == 0)
        return 0;
    dropPartnersOfBookmarks(part);
    part = apply(part, edits);
    return joined;
}

// An opening followed by markup may be completed by the next piece of text; one whose
// closing is not found before the markup may run on into it. Any other closes where it
// opened, and join() leaves it: its search for the closing reaches no further than the
// next opening or the longest tag, and finds this closing first if it finds any.
bool SplitTagJoiner::holdsOnlyWholeTags(const QString& part)
{
    for (qsizetype open = TagPatterns::indexOf(part, LeftBracket); open >= 0;
         open = TagPatterns::indexOf(part, LeftBracket, open + BracketLength)) {
        const QChar kind = charAt(part, open + BracketLength);
        if (kind == QLatin1Char('<'))
            return false;
        const QString closer = closerFor(kind);
        if (closer.isEmpty())
            continue;
        const qsizetype from = open + BracketLength + (kind == QLatin1Char('?') ? 0 : 1);
        const qsizetype markup = part.indexOf(QLatin1Char('<'), from);
        const QStringView text = QStringView(part).mid(from, (markup < 0 ? part.size() : markup) - from);
        if (text.indexOf(closer) < 0)
            return false;
    }
    return true;
}

bool SplitTagJoiner::isParagraphBoundary(const QString& part, qsizetype pos) const
{
    return startsAt(part, pos, QLatin1String("<w:p>")) || startsAt(part, pos, QLatin1String("<w:p "))
        || startsAt(part, pos, QLatin1String("</w:p>"));
}

// The text of a w:t element.
bool SplitTagJoiner::textNodeAt(const QString& part, qsizetype pos, TextNode& node) const
{
    if (!startsAt(part, pos, QLatin1String("<w:t>")) && !startsAt(part, pos, QLatin1String("<w:t ")))
        return false;
    const qsizetype open = part.indexOf(QLatin1Char('>'), pos);
    if (open < 0 || part.at(open - 1) == QLatin1Char('/'))
        return false;
    const qsizetype close = part.indexOf(QLatin1String("</w:t>"), open);
    if (close < 0)
        return false;
    node = {pos, open + 1, close};
    return true;
}

// Proofing marks and bookmarks: where they sit inside a tag they only cut it.
const QList<SplitTagJoiner::Marker>& SplitTagJoiner::droppedMarkers() const
{
    static const QList<Marker> markers = {{QLatin1String("<w:proofErr"), false},
                                          {QLatin1String("<w:bookmarkStart"), true},
                                          {QLatin1String("<w:bookmarkEnd"), true}};
    return markers;
}

QString SplitTagJoiner::markerId(QStringView element) const
{
    static const QRegularExpression id(QStringLiteral("w:id=\"([^\"]*)\""));
    return id.match(element).captured(1);
}

// Spaces that now open the text element would be dropped by the word processor.
void SplitTagJoiner::keepLeadingSpace(const QString& part, const TextNode& node, qsizetype movedLength)
{
    const QStringView openTag = QStringView(part).mid(node.openStart, node.textStart - node.openStart);
    const QChar following = part.at(node.textStart + movedLength);
    if (following.isSpace() && !openTag.contains(QLatin1String("xml:space=\"preserve\"")))
        edits.append({node.openStart, node.textStart, QStringLiteral("<w:t xml:space=\"preserve\">")});
}

void SplitTagJoiner::joinParagraph(const QString& part, const QList<TextNode>& nodes)
{
    if (nodes.size() < 2)
        return;
    QString text;
    QList<qsizetype> nodeStarts;
    for (const TextNode& node : nodes) {
        nodeStarts.append(text.size());
        text.append(QStringView(part).mid(node.textStart, node.textEnd - node.textStart));
    }
    const auto nodeOf = [&nodeStarts](qsizetype offset) {
        return int(std::upper_bound(nodeStarts.begin(), nodeStarts.end(), offset) - nodeStarts.begin()) - 1;
    };
    qsizetype open = 0;
    while ((open = text.indexOf(LeftBracket, open)) >= 0) {
        const QString closer = closerFor(charAt(text, open + BracketLength));
        // "&lt;?&gt;" closes a condition with the "?" that opened it.
        const qsizetype searchFrom = open + BracketLength + (closer.startsWith(QLatin1Char('?')) ? 0 : 1);
        const qsizetype nextOpen = text.indexOf(LeftBracket, open + BracketLength);
        // A tag closes before the next one opens and within its longest length: the search
        // goes no further, so a paragraph of unclosed tags is read once.
        const qsizetype searchTo = qMin(nextOpen < 0 ? text.size() : nextOpen, open + MaxTagLength);
        qsizetype close = closer.isEmpty() || searchTo <= searchFrom
                              ? -1
                              : QStringView(text).mid(searchFrom, searchTo - searchFrom).indexOf(closer);
        close = close < 0 ? -1 : searchFrom + close;
        if (close < 0 || close + closer.size() - open > MaxTagLength) {
            open += BracketLength;
            continue;
        }
        const qsizetype end = close + closer.size();
        const int first = nodeOf(open);
        const int last = nodeOf(end - 1);
        if (first != last)
            joinTag(part, nodes, first, last, end - nodeStarts.at(last));
        open = end;
    }
}

void SplitTagJoiner::joinTag(const QString& part, const QList<TextNode>& nodes, int first, int last,
                             qsizetype endOffset)
{
    QString moved;
    for (int k = first + 1; k < last; ++k) {
        const TextNode& node = nodes.at(k);
        moved.append(QStringView(part).mid(node.textStart, node.textEnd - node.textStart));
        edits.append({node.textStart, node.textEnd, QString()});
    }
    const TextNode& lastNode = nodes.at(last);
    moved.append(QStringView(part).mid(lastNode.textStart, endOffset));
    edits.append({nodes.at(first).textEnd, nodes.at(first).textEnd, moved});
    edits.append({lastNode.textStart, lastNode.textStart + endOffset, QString()});
    keepLeadingSpace(part, lastNode, endOffset);
    dropMarkersBetween(part, nodes.at(first).textEnd, lastNode.textStart);
    ++joined;
}

void SplitTagJoiner::dropMarkersBetween(const QString& part, qsizetype from, qsizetype to)
{
    for (qsizetype pos = part.indexOf(QLatin1Char('<'), from); pos >= 0 && pos < to;
         pos = part.indexOf(QLatin1Char('<'), pos + 1)) {
        for (const Marker& marker : droppedMarkers()) {
            if (!isMarkerAt(part, pos, marker.tag))
                continue;
            const qsizetype end = elementEnd(part, pos, marker.tag);
            if (marker.paired)
                droppedBookmarks.append(markerId(QStringView(part).mid(pos, end - pos)));
            edits.append({pos, end, QString()});
            break;
        }
    }
}

// A bookmark whose start or end sat inside a tag is removed whole.
void SplitTagJoiner::dropPartnersOfBookmarks(const QString& part)
{
    if (droppedBookmarks.isEmpty())
        return;
    QSet<qsizetype> removed;
    for (const Edit& edit : std::as_const(edits))
        removed.insert(edit.start);
    const QSet<QString> ids(droppedBookmarks.begin(), droppedBookmarks.end());
    for (const Marker& paired : droppedMarkers()) {
        if (!paired.paired)
            continue;
        const QLatin1String marker = paired.tag;
        for (qsizetype pos = part.indexOf(marker); pos >= 0; pos = part.indexOf(marker, pos + 1)) {
            if (!isMarkerAt(part, pos, marker) || removed.contains(pos))
                continue;
            const qsizetype end = elementEnd(part, pos, marker);
            if (ids.contains(markerId(QStringView(part).mid(pos, end - pos))))
                edits.append({pos, end, QString()});
        }
    }
}

QString SplitTagJoiner::apply(const QString& part, QList<Edit>& edits)
{
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.start < b.start; });
    QString result;
    result.reserve(part.size());
    qsizetype copied = 0;
    for (const Edit& edit : std::as_const(edits)) {
        result.append(QStringView(part).mid(copied, edit.start - copied));
        result.append(edit.replacement);
        copied = edit.end;
    }
    result.append(QStringView(part).mid(copied));
    return result;
}
