#ifndef ZENTAVO_DOCXPICSHANDLER_H
#define ZENTAVO_DOCXPICSHANDLER_H

#include "zentavo_export.h"

#include "runtime/xmldefaulthandler.h"

#include <QHash>
#include <QString>

// Reads a DOCX main document ("word/document.xml") and finds the pictures that stand
// for the evaluation's own: a picture whose description (its alternative text) is
// "photo-N.jpg", "graphic-N.jpg" or "appraiserLogo-N.jpg" is bound, through the
// relationship id of its image, to photo N of the gallery, chart N of the comparative
// approach or the company logo of appraiser N.
class ZENTAVO_EXPORT DocxPicsHandler : public XmlDefaultHandler
{
public:
    enum PictureKind { None = 0, Photo = 1, Graphic = 2, AppraiserLogo = 3 };

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override;
    bool endElement(QStringView qName) override;

    // The number bound to the relationship id; -1 when the id is not of that kind.
    int getPhotoIDX(const QString& rid) const { return photos.value(rid, -1); }
    int getGraphicIDX(const QString& rid) const { return graphics.value(rid, -1); }
    int getLogoIDX(const QString& rid) const { return logos.value(rid, -1); }
    void clear();
    // The kind of picture a description names and its number; None and -1 for others.
    static PictureKind kindOf(const QString& description, int& index);

private:
    void startDrawing();
    void readDescription(const QString& description);
    void finishPicture();
    QHash<QString, int>* mapOfKind();

    int kind = None;
    bool inDrawing = false;
    bool inGraphic = false;
    bool inPic = false;
    bool inBlipFill = false;
    QString rid;
    int index = -1;
    QHash<QString, int> photos;
    QHash<QString, int> graphics;
    QHash<QString, int> logos;
};

#endif
