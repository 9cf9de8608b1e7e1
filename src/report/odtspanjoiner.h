#ifndef ZENTAVO_ODTSPANJOINER_H
#define ZENTAVO_ODTSPANJOINER_H

#include "zentavo_export.h"

#include "report/splittagjoiner.h"

// LibreOffice writes a paragraph's text as character data of text:p (or text:h) with a
// text:span around every piece of other formatting, so a tag typed as
// &lt;#МАРКА_ТС#&gt; with "ТС" in bold is stored as "&lt;#МАРКА_", a span holding "ТС"
// and "#&gt;". Tracked changes and bookmarks put empty markers into the text the same
// way. This joins such tags as SplitTagJoiner joins them across the runs of a DOCX part:
// the tag's whole text goes where it starts; markers of bookmarks and tracked changes
// inside it are dropped with their partners, so no start is left without its end.
class ZENTAVO_EXPORT OdtSpanJoiner : public SplitTagJoiner
{
protected:
    bool isParagraphBoundary(const QString& part, qsizetype pos) const override;
    bool textNodeAt(const QString& part, qsizetype pos, TextNode& node) const override;
    const QList<Marker>& droppedMarkers() const override;
    QString markerId(QStringView element) const override;
    // A space inside a paragraph is kept by OpenDocument wherever it stands.
    void keepLeadingSpace(const QString&, const TextNode&, qsizetype) override {}
};

#endif
