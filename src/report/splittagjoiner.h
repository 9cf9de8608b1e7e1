#ifndef ZENTAVO_SPLITTAGJOINER_H
#define ZENTAVO_SPLITTAGJOINER_H

#include "zentavo_export.h"

#include <QList>
#include <QString>
#include <QStringList>

// Joins the report tags a word processor split across the runs of a DOCX paragraph, so that
// the tag passes find them. A word processor cuts the text a person typed into runs
// wherever formatting, a spell-check mark or a revision id changes, so a tag such as &lt;#МАРКА_ТС#&gt; may
// stand in a part as "&lt;#МАРКА_", a bold "ТС" and "#&gt;" in three runs. The tag
// passes would miss it. join() puts the whole text of every tag, meta tag and
// condition marker that is split across the runs of one paragraph into the text
// element where it starts and takes it out of the elements that follow; proofing and
// bookmark markers inside such a tag are dropped (a bookmark whole, so no end is left
// without its start). Text outside tags and its formatting stay as they were, and a
// part without split tags is left untouched.
class ZENTAVO_EXPORT SplitTagJoiner
{
public:
    // Longest tag text that is joined; a longer "tag" is taken for ordinary text.
    static constexpr int MaxTagLength = 512;

    // Joins the split tags of one escaped DOCX part; answers how many were joined.
    int join(QString& part);

private:
    // One w:t element: where its text starts and ends in the part.
    struct TextNode
    {
        qsizetype openStart; // the '<' of <w:t
        qsizetype textStart;
        qsizetype textEnd; // the '<' of </w:t>
    };
    // One change to the part, applied back to front.
    struct Edit
    {
        qsizetype start;
        qsizetype end;
        QString replacement;
    };

    void joinParagraph(const QString& part, const QList<TextNode>& nodes);
    // Moves the tag's text from the nodes after first up to endOffset in last into first.
    void joinTag(const QString& part, const QList<TextNode>& nodes, int first, int last, qsizetype endOffset);
    void dropMarkersBetween(const QString& part, qsizetype from, qsizetype to);
    void dropPartnersOfBookmarks(const QString& part);
    static QString apply(const QString& part, QList<Edit>& edits);

    QList<Edit> edits;
    QStringList droppedBookmarks;
    int joined = 0;
};

#endif
