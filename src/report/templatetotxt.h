#ifndef ZENTAVO_TEMPLATETOTXT_H
#define ZENTAVO_TEMPLATETOTXT_H

#include "zentavo_export.h"

#include "report/templatetodocument.h"

// A text document made from a text template. Text templates are UTF-8 text with a light
// HTML-like markup, tags in "<" and ">"
// brackets, paragraphs in "<p>" elements and tables in "<table>" elements (a whole table
// is the repeated unit). The result is one UTF-8 file; values are XML-escaped as in
// DOCX output. No pictures.
class ZENTAVO_EXPORT TemplateToTxt : public TemplateToDocument
{
    Q_OBJECT

public:
    explicit TemplateToTxt(QObject* parent = nullptr);

    // Runs every pass from in to out and closes both.
    bool make_txt(QIODevice& in, QIODevice& out);

    // Both record why they failed in getErrorInfo() (ErrRead, ErrWrite, the latter with
    // the cause). The output file is replaced only once the whole document is on the
    // disk; a symbolic link or anything but a regular file in its place is refused.
    bool make_from_disk(QString templatePath, QString outputPath) override;
    bool make_from_buffer(QBuffer& templateBuffer, QString& outputPath) override;

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

private:
    bool produce(QIODevice& templateDevice, const QString& templateName, const QString& outputPath);
};

#endif
