#ifndef ZENTAVO_DOCXPICSHANDLER_H
#define ZENTAVO_DOCXPICSHANDLER_H

#include "zentavo_export.h"

#include "runtime/xmldefaulthandler.h"

#include <QHash>
#include <QList>
#include <QString>

#include <utility>

// Reads a DOCX text part (the main document, a header, a footer, notes, comments) and
// finds its drawings and the pictures they show. A picture whose description (its
// alternative text) is "photo-N.jpg", "graphic-N.jpg" or "appraiserLogo-N.jpg" stands for
// photo N of the gallery, chart N of the comparative approach or the company logo of
// appraiser N; any other picture is the template's own.
//
// A drawing is a w:drawing (DrawingML) or a w:pict (VML) element. Its pictures are the
// images it shows itself: the a:blip of a picture or of a shape's picture fill, the
// v:imagedata or v:fill of a VML shape; a drawing inside a text box of another is a
// drawing of its own. A picture's description is the one the word processor shows as
// the drawing's alternative text (wp:docPr, or the VML shape's alt), else that of the
// picture itself; inside a group each picture's own comes first. A drawing that is one
// choice of an mc:AlternateContent (the other being a copy for older readers) stands
// and falls with the whole mc:AlternateContent.
class ZENTAVO_EXPORT DocxPicsHandler : public XmlDefaultHandler
{
public:
    enum PictureKind { None = 0, Photo = 1, Graphic = 2, AppraiserLogo = 3 };

    // One picture a drawing shows: its description, the evaluation's picture that the
    // description names, and the relationships through which the part finds its image.
    struct Picture
    {
        QString description;
        PictureKind kind = None;
        int index = -1;
        QString embedId; // relationship id of the image kept in the package
        QString linkId;  // relationship id of an image file outside the package
        QString idAttribute;   // the attribute that holds embedId: r:embed, or r:id in VML
        QString linkAttribute; // the one that holds linkId: r:link, or r:href in VML
        qint64 tagEnd = -1;  // just after the start tag that names the image
    };

    // One drawing of the part (a DrawingML drawing or a VML picture): where it stands in
    // the text and the pictures it shows.
    struct Drawing
    {
        qint64 startTagEnd = -1; // in characters of the part's text, just after ">"
        qint64 end = -1;         // just after its end tag
        int alternate = -1;      // the mc:AlternateContent it is a choice of
        QList<Picture> pictures;
    };

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override;
    bool endElement(QStringView qName) override;

    // Reads the drawings of a part and nothing else of it; false when one is not
    // well-formed. The part as a whole is not checked.
    bool parseDrawingsOf(const QString& part);
    // The drawings in the order they start in the part.
    const QList<Drawing>& drawings() const { return found; }
    // The text a drawing takes up in the part it was read from: its own element, or
    // the whole mc:AlternateContent it is a choice of.
    std::pair<qsizetype, qsizetype> extentOf(const Drawing& drawing, const QString& part) const;

    // The number bound to the relationship id; -1 when the id is not of that kind.
    int getPhotoIDX(const QString& rid) const { return photos.value(rid, -1); }
    int getGraphicIDX(const QString& rid) const { return graphics.value(rid, -1); }
    int getLogoIDX(const QString& rid) const { return logos.value(rid, -1); }
    void clear();
    // The kind of picture a description names and its number; None and -1 for others.
    static PictureKind kindOf(const QString& description, int& index);
    // The ">" that ends the markup starting at start (a start tag); attribute values may
    // hold ">" too. -1 when there is none.
    static qsizetype startTagClose(const QString& text, qsizetype start);
    // One past the end of the element whose start tag (startTag, such as "<w:drawing")
    // begins at start, elements of the same name inside it counted; -1 when it does not
    // end. Markup only, so a part is not parsed to find one element of it.
    static qsizetype elementEnd(const QString& text, qsizetype start, QLatin1String startTag);
    // The first start tag of the name from a position on; -1 when there is none.
    static qsizetype startTagFrom(const QString& text, QLatin1String startTag, qsizetype from);

private:
    enum ElementRole : quint8 { Other, AlternateContent, Choice, DrawingElement, PicturePart, Group, TextBox };
    // What is known about a drawing while its element is open.
    struct OpenDrawing
    {
        qsizetype drawing;
        QString description;        // the drawing's alternative text
        QString pictureDescription; // of the pic:pic being read
        int groups = 0;
        int textBoxes = 0;
    };

    static ElementRole roleOf(QStringView qName);
    static bool isNameEnd(const QString& text, qsizetype pos);
    static qsizetype nextDrawingStart(const QString& text, qsizetype from, const QLatin1String (&names)[3], int& which);
    static qsizetype startTagBefore(const QString& text, QLatin1String startTag, qsizetype from, qsizetype before);
    void readDrawingContent(QStringView qName, const QXmlStreamAttributes& attributes, OpenDrawing& open);
    void addPicture(OpenDrawing& open, const QXmlStreamAttributes& attributes, const char* embed, const char* link);
    QHash<QString, int>* mapOfKind(PictureKind kind);

    QList<ElementRole> roles;
    QList<OpenDrawing> openDrawings;
    QList<std::pair<qint64, qint64>> alternates; // start tag end, end
    QList<int> openAlternates;
    QList<Drawing> found;
    qint64 offset = 0; // where the text being read starts in the part
    QHash<QString, int> photos;
    QHash<QString, int> graphics;
    QHash<QString, int> logos;
};

#endif
