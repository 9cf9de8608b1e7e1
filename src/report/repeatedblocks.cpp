#include "report/repeatedblocks.h"

#include "report/blockpattern.h"
#include "report/tagpatterns.h"
#include "report/templatetodocument.h"

namespace {

QString marker(const TemplateToDocument& generator, const QString& name)
{
    return generator.leftTagBracket() + QLatin1Char('#') + name + QLatin1Char('#') + generator.rightTagBracket();
}

} // namespace

RepeatedBlocks::RepeatedBlocks(const QString& text, const TemplateToDocument& generator)
    : paragraphs(find(text, generator.paragraphRegExp(), marker(generator, TagPatterns::ParagraphMarkerName))),
      rows(find(text, generator.tableLineRegExp(), marker(generator, TagPatterns::RowMarkerName)))
{
}

RepeatedBlocks::Block* RepeatedBlocks::holding(qsizetype start, qsizetype end)
{
    if (Block* row = within(rows, nextRow, start, end))
        return row;
    return within(paragraphs, nextParagraph, start, end);
}

QList<RepeatedBlocks::Block> RepeatedBlocks::find(const QString& text, const QRegularExpression& block,
                                                  const QString& marker)
{
    QList<Block> blocks;
    const BlockPattern pattern(block);
    qsizetype start = 0;
    qsizetype end = 0;
    for (BlockPattern::Blocks found = pattern.in(text); found.next(start, end);)
        if (QStringView(text).mid(start, end - start).contains(marker))
            blocks.append({start, end, false});
    return blocks;
}

RepeatedBlocks::Block* RepeatedBlocks::within(QList<Block>& blocks, int& next, qsizetype start, qsizetype end)
{
    while (next < blocks.size() && blocks.at(next).end <= start)
        ++next;
    if (next < blocks.size() && blocks.at(next).start <= start && end <= blocks.at(next).end)
        return &blocks[next];
    return nullptr;
}
