#ifndef ZENTAVO_BLOCKPATTERN_H
#define ZENTAVO_BLOCKPATTERN_H

#include "zentavo_export.h"

#include <QRegularExpression>
#include <QStringView>

// A repeatable block of markup, such as a paragraph or a table row, given as the pattern
// "(OPENING.+CLOSING)" matched minimally: a block runs from an opening to the nearest
// closing after it. Found that way, openings and closings each in one pass that only
// moves forward, a text full of openings that are never closed is read once, where the
// pattern as a whole would be tried against the rest of the text from every opening. A
// pattern of another shape is matched as it is.
class ZENTAVO_EXPORT BlockPattern
{
public:
    explicit BlockPattern(const QRegularExpression& pattern);

    // The blocks of one text, from left to right; the text must outlive it.
    class ZENTAVO_EXPORT Blocks
    {
    public:
        // The next block: where it starts and one past its end. False when there is none.
        bool next(qsizetype& start, qsizetype& end);

    private:
        friend class BlockPattern;
        Blocks(const BlockPattern& pattern, QStringView text);

        bool split;
        QRegularExpressionMatchIterator wholes;
        QRegularExpressionMatchIterator openings;
        QRegularExpressionMatchIterator closings;
        qsizetype from = 0;
    };

    Blocks in(QStringView text) const { return Blocks(*this, text); }

private:
    QRegularExpression whole;
    QRegularExpression opening;
    QRegularExpression closing;
    bool split = false;
};

#endif
