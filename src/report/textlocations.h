#ifndef ZENTAVO_TEXTLOCATIONS_H
#define ZENTAVO_TEXTLOCATIONS_H

#include <QHash>
#include <QList>
#include <QString>

class TemplateToDocument;

// Where a place in one template text stands for its author: the paragraph of a DOCX
// part, or the line of a text template, counted from 1, and that paragraph's text as
// the author sees it, shortened.
class TextLocations
{
public:
    // Finds the paragraphs of a text, forgetting those of the text before.
    void index(const QString& text, bool docx);

    int paragraphOf(qsizetype pos) const;
    // The context of the paragraph of the indexed text, read once per paragraph.
    QString contextOf(const QString& text, qsizetype pos, const TemplateToDocument& generator);

private:
    QList<qsizetype> paragraphStarts;
    QHash<int, QString> contexts;
};

#endif
