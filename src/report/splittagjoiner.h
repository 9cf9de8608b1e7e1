#ifndef ZENTAVO_SPLITTAGJOINER_H
#define ZENTAVO_SPLITTAGJOINER_H

#include "zentavo_export.h"

#include <QList>
#include <QtGlobal>
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
// part without split tags is left untouched. Another markup of paragraphs and text
// (OpenDocument's) is read by a subclass through the protected hooks.
class ZENTAVO_EXPORT SplitTagJoiner
{
public:
    // Longest tag text that is joined; a longer "tag" is taken for ordinary text.
    static constexpr int MaxTagLength = 512;

    SplitTagJoiner() = default;
    virtual ~SplitTagJoiner() = default;
    Q_DISABLE_COPY(SplitTagJoiner)

    // Joins the split tags of one escaped part; answers how many were joined. A part of
    // whole tags only (holdsOnlyWholeTags) costs one search per tag.
    int join(QString& part);
    // Whether every tag of a part closes before the markup that follows its opening: then
    // no tag spans two pieces of text, and reading every element of the part, as
    // joinEveryPiece() does, would leave it as it is.
    static bool holdsOnlyWholeTags(const QString& part);

protected:
    // One piece of a paragraph's text: where it starts and ends in the part.
    struct TextNode
    {
        qsizetype openStart; // the '<' of the markup the text follows
        qsizetype textStart;
        qsizetype textEnd; // the '<' after the text
    };
    // An element that only cuts the text where it stands inside a tag; a paired one has
    // a partner of the same id elsewhere (a start and its end).
    struct Marker
    {
        QLatin1String tag; // "<" and the qualified name
        bool paired;
    };

    // Whether the markup at pos (a '<') opens or closes a paragraph.
    virtual bool isParagraphBoundary(const QString& part, qsizetype pos) const;
    // The text that the markup at pos (a '<') holds or is followed by; false for none.
    virtual bool textNodeAt(const QString& part, qsizetype pos, TextNode& node) const;
    virtual const QList<Marker>& droppedMarkers() const;
    // The id that pairs a marker with its partner.
    virtual QString markerId(QStringView element) const;
    // Keeps the spaces that now open a text node whose first characters moved away.
    virtual void keepLeadingSpace(const QString& part, const TextNode& node, qsizetype movedLength);
    // join() without its quick look: every piece of text of every paragraph is read.
    int joinEveryPiece(QString& part);
    // A change to the part, applied back to front.
    void addEdit(qsizetype start, qsizetype end, const QString& replacement) { edits.append({start, end, replacement}); }

private:
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
