#ifndef ZENTAVO_ODTPICSHANDLER_H
#define ZENTAVO_ODTPICSHANDLER_H

#include "zentavo_export.h"

#include "report/docxpicshandler.h"
#include "runtime/xmldefaulthandler.h"

#include <QList>
#include <QString>

// Reads an OpenDocument text part (content.xml, styles.xml) and finds its pictures: each
// draw:frame that shows an image (draw:image, kept in the package or inline). The frame's
// description (svg:desc), else its name (draw:name), says which picture of the
// evaluation it stands for, as in DOCX templates: "photo-N.jpg", "graphic-N.jpg",
// "appraiserLogo-N.jpg"; any other frame is the template's own.
class ZENTAVO_EXPORT OdtPicsHandler : public XmlDefaultHandler
{
public:
    // A picture a frame shows: a file of the package, a link outside it, or one held inline.
    struct Image
    {
        qsizetype start = -1;       // the '<' of draw:image
        qsizetype startTagEnd = -1; // just after its start tag
        qsizetype end = -1;         // just after the element
        QString href;               // empty for an image held inline
        QString mimeType;
    };

    // A draw:frame with its place in the part, what binds it to the evaluation, and its images.
    struct Frame
    {
        qsizetype start = -1;
        qsizetype end = -1;
        QString description;
        QString name;
        QString title; // the alternative text, which does not bind the frame
        DocxPicsHandler::PictureKind kind = DocxPicsHandler::None;
        int index = -1;
        QList<Image> images; // the frame's own, the first one shown, the others its fallbacks
    };

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override;
    bool endElement(QStringView qName) override;
    bool characters(QStringView text) override;

    // Reads the frames of a part; false when one is not well-formed. The part as a whole
    // is not checked.
    bool parseFramesOf(const QString& part);
    // The frames that show an image, in the order they start in the part.
    const QList<Frame>& frames() const { return found; }

    // The image format a frame's picture is written in: its own, when pictures can be
    // written so, else PNG. As a file name suffix, such as "png" or "jpg".
    static QString suffixFor(const Image& image);

private:
    struct OpenFrame
    {
        Frame frame;
        int depth;
        bool inDescription = false;
        bool inTitle = false;
    };

    QList<OpenFrame> open;
    QList<Frame> found;
    const QString* text = nullptr;
    qsizetype offset = 0; // where the frame being read starts in the part
    int depth = 0;
};

#endif
