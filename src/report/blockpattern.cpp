#include "report/blockpattern.h"

#include "report/tagpatterns.h"

BlockPattern::BlockPattern(const QRegularExpression& pattern) : whole(TagPatterns::minimal(pattern))
{
    const QString text = pattern.pattern();
    const QLatin1String anything(".+");
    const qsizetype middle = text.indexOf(anything);
    if (!text.startsWith(QLatin1Char('(')) || !text.endsWith(QLatin1Char(')')) || middle < 0
        || text.indexOf(anything, middle + 1) >= 0)
        return;
    opening = TagPatterns::minimal(text.mid(1, middle - 1));
    closing = TagPatterns::minimal(text.mid(middle + anything.size(), text.size() - middle - anything.size() - 1));
    split = opening.isValid() && closing.isValid() && opening.captureCount() == 0 && closing.captureCount() == 0
        && !opening.pattern().isEmpty() && !closing.pattern().isEmpty();
}

// One iterator each: a match found by an iterator skips the check of the whole text that
// a match from an offset repeats every time.
BlockPattern::Blocks::Blocks(const BlockPattern& pattern, QStringView text) : split(pattern.split)
{
    if (split) {
        openings = pattern.opening.globalMatch(text);
        closings = pattern.closing.globalMatch(text);
    } else {
        wholes = pattern.whole.globalMatch(text);
    }
}

bool BlockPattern::Blocks::next(qsizetype& start, qsizetype& end)
{
    if (!split) {
        if (!wholes.hasNext())
            return false;
        const QRegularExpressionMatch block = wholes.next();
        start = block.capturedStart(1);
        end = block.capturedEnd(1);
        return true;
    }
    QRegularExpressionMatch open;
    do {
        if (!openings.hasNext())
            return false;
        open = openings.next();
    } while (open.capturedStart() < from);
    // ".+" asks for one character at least. With no closing after this opening, none
    // follows a later one either.
    QRegularExpressionMatch close;
    do {
        if (!closings.hasNext())
            return false;
        close = closings.next();
    } while (close.capturedStart() <= open.capturedEnd());
    start = open.capturedStart();
    end = from = close.capturedEnd();
    return true;
}
