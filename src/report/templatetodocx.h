#ifndef ZENTAVO_TEMPLATETODOCX_H
#define ZENTAVO_TEMPLATETODOCX_H

#include "zentavo_export.h"

#include "report/docxpackage.h"
#include "report/templatetozipdocument.h"

#include <QHash>
#include <QSet>

// A Word document (DOCX) made from a DOCX template. The package is read through its
// relationships (DocxPackage): the main document and every header, footer, footnotes,
// endnotes and comments part it names go through the tag passes, with tags written as
// &lt;#NAME#&gt; in their escaped text. A picture whose description (alternative text)
// is "photo-N.jpg", "graphic-N.jpg" or "appraiserLogo-N.jpg" gets photo N of the
// evaluation, chart N of the comparative approach or the company logo of appraiser N,
// encoded in the format of its image file, in whichever part it stands. A drawing whose
// picture the evaluation should fill and cannot is removed, and nothing else: its own
// element, or the mc:AlternateContent it is a choice of. The template's own pictures
// (letterheads, stamps, signatures) stay as they are. A package a word processor would
// refuse is refused with the reason, unless its repair is certain. Values lose the
// characters XML cannot hold (control characters but tab, line feed and carriage return;
// U+FFFE, U+FFFF).
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

protected:
    bool replacementOf(const QString& name, QByteArray& bytes) override;
    QList<std::pair<QString, QByteArray>> addedEntries() override;
    bool takeTextPart(const QString& name, QString& text) override;

protected:
    // Characters XML cannot hold are left out: one stray control character typed into a
    // form must not make the report impossible to write.
    QString& fitForDocument(QString& value) const override;

private:
    struct Edit
    {
        qsizetype start;
        qsizetype end;
        QString replacement;
    };

    // Whether the evaluation has the picture an image entry stands for, and the entry's
    // format can hold it.
    bool evaluationFillsImage(const QString& entryName);
    static Edit filledPictureEdit(const QString& text, const DocxPicsHandler::Picture& picture, const QString& id);
    int indexOf(const QString& entryName, DocxPicsHandler::PictureKind kind) const;
    // Whether every picture of the evaluation a drawing of the part shows is filled.
    bool isFilled(const QString& part, const DocxPicsHandler::Drawing& drawing) const;
    // Whether a filled picture must be named anew or unlinked.
    bool needsEdit(const QString& part, const DocxPicsHandler::Picture& picture) const;
    bool picturesStaySettled(const QString& part) const;

    DocxPackage package;
    // Image entries whose picture the evaluation fills.
    QHash<QString, bool> pictureHasData;
    // Text parts whose drawings need no edit after the passes (picturesStaySettled).
    QSet<QString> settledParts;
};

#endif
