#include "report/splittagjoiner.h"

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

bool isParagraphBoundary(const QString& part, qsizetype pos)
{
    return startsAt(part, pos, QLatin1String("<w:p>")) || startsAt(part, pos, QLatin1String("<w:p "))
        || startsAt(part, pos, QLatin1String("</w:p>"));
}

bool isTextElement(const QString& part, qsizetype pos)
{
    return startsAt(part, pos, QLatin1String("<w:t>")) || startsAt(part, pos, QLatin1String("<w:t "));
}

// Proofing marks and bookmark ends: where they sit inside a tag they only cut it.
const QLatin1String DroppedMarkers[] = {QLatin1String("<w:proofErr"), QLatin1String("<w:bookmarkStart"),
                                        QLatin1String("<w:bookmarkEnd")};

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

QString bookmarkId(QStringView element)
{
    static const QRegularExpression id(QStringLiteral("w:id=\"([^\"]*)\""));
    return id.match(element).captured(1);
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
    edits.clear();
    droppedBookmarks.clear();
    joined = 0;
    if (!part.contains(LeftBracket))
        return 0;
    QList<TextNode> paragraph;
    qsizetype pos = 0;
    while ((pos = part.indexOf(QLatin1Char('<'), pos)) >= 0) {
        if (isParagraphBoundary(part, pos)) {
            joinParagraph(part, paragraph);
            paragraph.clear();
        } else if (isTextElement(part, pos)) {
            const qsizetype open = part.indexOf(QLatin1Char('>'), pos);
            if (open < 0)
                break;
            if (part.at(open - 1) != QLatin1Char('/')) {
                const qsizetype close = part.indexOf(QLatin1String("</w:t>"), open);
                if (close < 0)
                    break;
                paragraph.append({pos, open + 1, close});
                pos = close;
                continue;
            }
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
    // Spaces that now open the text element would be dropped by the word processor.
    const QStringView openTag = QStringView(part).mid(lastNode.openStart, lastNode.textStart - lastNode.openStart);
    const QChar following = part.at(lastNode.textStart + endOffset);
    if (following.isSpace() && !openTag.contains(QLatin1String("xml:space=\"preserve\"")))
        edits.append({lastNode.openStart, lastNode.textStart, QStringLiteral("<w:t xml:space=\"preserve\">")});
    dropMarkersBetween(part, nodes.at(first).textEnd, lastNode.openStart);
    ++joined;
}

void SplitTagJoiner::dropMarkersBetween(const QString& part, qsizetype from, qsizetype to)
{
    for (qsizetype pos = part.indexOf(QLatin1Char('<'), from); pos >= 0 && pos < to;
         pos = part.indexOf(QLatin1Char('<'), pos + 1)) {
        for (const QLatin1String marker : DroppedMarkers) {
            if (!isMarkerAt(part, pos, marker))
                continue;
            const qsizetype end = elementEnd(part, pos, marker);
            if (marker != DroppedMarkers[0])
                droppedBookmarks.append(bookmarkId(QStringView(part).mid(pos, end - pos)));
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
    for (const QLatin1String marker : {DroppedMarkers[1], DroppedMarkers[2]}) {
        for (qsizetype pos = part.indexOf(marker); pos >= 0; pos = part.indexOf(marker, pos + 1)) {
            if (!isMarkerAt(part, pos, marker) || removed.contains(pos))
                continue;
            const qsizetype end = elementEnd(part, pos, marker);
            if (ids.contains(bookmarkId(QStringView(part).mid(pos, end - pos))))
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
