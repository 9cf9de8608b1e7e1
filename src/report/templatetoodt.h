#ifndef ZENTAVO_TEMPLATETOODT_H
#define ZENTAVO_TEMPLATETOODT_H

#include "zentavo_export.h"

#include "report/odtpackage.h"
#include "report/odtpicshandler.h"
#include "report/templatetozipdocument.h"

#include <QHash>
#include <QStringList>

#include <utility>

// An OpenDocument text (ODT) made from an ODT template, as LibreOffice and other office
// suites write them. content.xml (the body) and styles.xml (the page styles, with their
// headers and footers) go through the tag passes, with tags written as
// &lt;#NAME#&gt; in their escaped text; tags the office suite split across text:span
// elements are joined first (OdtSpanJoiner). A paragraph (text:p) or a table row
// (table:table-row) holding the repetition marker is repeated per item.
//
// A picture frame (draw:frame) described "photo-N.jpg", "graphic-N.jpg" or
// "appraiserLogo-N.jpg" (its description, else its name) shows photo N of the
// evaluation, chart N of the comparative approach or the company logo of appraiser N,
// written as a picture file of its own in the format of the template's picture (PNG
// where pictures cannot be written in that format); the template's picture file stays
// in the package. A frame the evaluation should fill and cannot is removed, and nothing
// else; every other picture is the template's own and stays as it is. The document is a
// valid package: "mimetype" first and stored, and a manifest that lists every entry.
class ZENTAVO_EXPORT TemplateToOdt : public TemplateToZipDocument
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

    // Joins the tags an office suite split across spans (OdtSpanJoiner).
    void prepareText(QString& text) override;
    // The text of the paragraphs, entities read, without picture descriptions.
    QString visibleText(QStringView markup) const override;

    // The template analysed first when the run asks for it; a package whose mimetype
    // entry is not first and stored is put right before it is copied.
    bool make_from_buffer(QBuffer& templateBuffer, QString& outputPath) override;

    bool beforeCopy(QuaZip& templateZip) override;
    bool isNeedFiltering(const QString& entryName) override;

protected:
    // The manifest is written after every other entry, when all pictures are known. The
    // template's thumbnail (its first page, tags and sample pictures) and its document
    // signature (which the changed content would make invalid) are not the document's.
    bool isLeftOutOfCopy(const QString& entryName) const override;
    QList<std::pair<QString, QByteArray>> addedEntries() override;
    // Characters XML cannot hold are left out, as in DOCX documents.
    QString& fitForDocument(QString& value) const override;

private:
    using Binding = std::pair<DocxPicsHandler::PictureKind, int>;

    int indexOf(const QString& entryName, DocxPicsHandler::PictureKind kind) const;
    // The entry that holds a picture of the evaluation in a format, named so that no
    // entry of the template has the name.
    QString pictureEntry(const Binding& binding, const QString& suffix) const;
    static QString filledImageTag(const QString& text, const OdtPicsHandler::Image& image, const QString& entry);

    OdtPackage package;
    // The picture files the document gets, with the pictures they hold.
    QHash<QString, Binding> pictures;
    QStringList pictureOrder;
};

#endif
