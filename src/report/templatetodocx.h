#ifndef ZENTAVO_TEMPLATETODOCX_H
#define ZENTAVO_TEMPLATETODOCX_H

#include "zentavo_export.h"

#include "report/docxpicshandler.h"
#include "report/docxrelshandler.h"
#include "report/templatetozipdocument.h"

#include <QHash>

// A Word document (DOCX) made from a DOCX template. The main document, headers and
// footers 1 to 4 and the foot- and endnotes go through the tag passes, with tags written
// as &lt;#NAME#&gt; in their escaped text. A picture whose description (alternative text)
// is "photo-N.jpg", "graphic-N.jpg" or "appraiserLogo-N.jpg" gets photo N of the
// evaluation, chart N of the comparative approach or the company logo of appraiser N,
// encoded in the format of its image file (JPEG, PNG or BMP); a drawing whose picture
// the evaluation cannot fill is removed from the text. Values lose the characters XML
// cannot hold (control characters but tab, line feed and carriage return; U+FFFE, U+FFFF).
class ZENTAVO_EXPORT TemplateToDocx : public TemplateToZipDocument
{
    Q_OBJECT

public:
    using TemplateToZipDocument::TemplateToZipDocument;

    bool isPhoto(const QString& entryName) override;
    int extractIndexFromPhotoName(const QString& entryName) override;
    int extractIndexFromGraphName(const QString& entryName) override;
    int extractIndexFromLogoName(const QString& entryName) override;
    bool removeMissingPictures(QString& text) override;
    QString leftTagBracket() const override;
    QString rightTagBracket() const override;
    QRegularExpression tableLineRegExp() const override;
    QRegularExpression paragraphRegExp() const override;
    QRegularExpression pictureRegExp() const override;

    // Joins the tags a word processor split across runs (SplitTagJoiner).
    void prepareText(QString& text) override;
    // The text of the w:t elements, entities read.
    QString visibleText(QStringView markup) const override;

    // The template analysed first when the run asks for it; the error of a run stopped by
    // the passes says why.
    bool make_from_buffer(QBuffer& templateBuffer, QString& outputPath) override;

    bool beforeCopy(QuaZip& templateZip) override;
    bool isNeedFiltering(const QString& entryName) override;

    // Reads one entry of the template through a handler; false when it is not read whole.
    bool parseXml(QuaZipFile& entry, XmlDefaultHandler& handler);
    // The relationship id of an image entry such as word/media/image3.png.
    bool extractRID(const QString& entryName, QString& rid);

protected:
    // Characters XML cannot hold are left out: one stray control character typed into a
    // form must not make the report impossible to write.
    QString& fitForDocument(QString& value) const override;

private:
    bool hasData(const QString& entryName);

    DocxRelsHandler relsHandler;
    DocxPicsHandler picsHandler;
    QHash<QString, bool> pictureHasData;
};

#endif
