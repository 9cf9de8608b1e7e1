#ifndef ZENTAVO_REPEATEDBLOCKS_H
#define ZENTAVO_REPEATEDBLOCKS_H

#include <QList>
#include <QString>

class TemplateToDocument;

// The repeated table rows and paragraphs of one template text, as a generator finds them,
// and whether each holds a tag to index: one without never shows.
class RepeatedBlocks
{
public:
    // One repeated row or paragraph: where it starts and ends in the text, and whether it
    // holds a tag to index.
    struct Block
    {
        qsizetype start;
        qsizetype end;
        bool hasTag;
    };

    RepeatedBlocks(const QString& text, const TemplateToDocument& generator);

    // The block around a tag, for tags visited from left to right: a table row before a
    // paragraph, as rows are repeated first. Null outside every block.
    Block* holding(qsizetype start, qsizetype end);
    QList<Block> all() const { return paragraphs + rows; }

private:
    static QList<Block> find(const QString& text, const QRegularExpression& block, const QString& marker);
    static Block* within(QList<Block>& blocks, int& next, qsizetype start, qsizetype end);

    QList<Block> paragraphs;
    QList<Block> rows;
    int nextParagraph = 0;
    int nextRow = 0;
};

#endif
