#ifndef ZENTAVO_TEMPLATETOZIPDOCUMENT_H
#define ZENTAVO_TEMPLATETOZIPDOCUMENT_H

#include "zentavo_export.h"

#include "report/docxpicshandler.h"
#include "report/templatetodocument.h"

#include <QByteArray>
#include <QList>

#include <utility>

class QuaZip;
class StoredEntry;
class QuaZipFile;
struct QuaZipFileInfo64;
class ZipWriter;

// A document whose template is a zip container. The template is copied entry by entry,
// in the order of the archive: the text parts the flavour names go through the tag
// passes, the pictures that stand for the evaluation's own are replaced by them, and
// every other entry is copied as its compressed bytes. A text part that is not
// well-formed XML after the passes ends the run without a document. The document is written beside
// its final name and put in place only when complete and on the disk, so a failed run
// leaves no half-written document and keeps an earlier one of the same name; a symbolic
// link or anything but a regular file in its place is refused, never written through.
class ZENTAVO_EXPORT TemplateToZipDocument : public TemplateToDocument
{
    Q_OBJECT

public:
    // Text parts are read whole into memory; a part declaring more is refused.
    static constexpr qint64 MaxTextPartSize = 16 * 1024 * 1024;

    using TemplateToDocument::TemplateToDocument;

    // A zip document is made from a template read whole (make or make_from_buffer):
    // this emits done() and answers false without producing anything.
    bool make_from_disk(QString templatePath, QString outputPath) override;
    bool make_from_buffer(QBuffer& templateBuffer, QString& outputPath) override;
    bool make_zip(QuaZip& in, ZipWriter& out);
    bool copyone(QuaZipFile& in, ZipWriter& out);
    // Writes the evaluation's picture for an image entry, or copies the entry's bytes
    // when the entry stands for no picture of the evaluation.
    bool replacingPhoto(const QString& entryName, QIODevice& in, QIODevice& out);

    // Reads what the copy needs to know from the template before any entry is written;
    // false when the template cannot be used, with the reason in the error.
    virtual bool beforeCopy(QuaZip& templateZip) = 0;
    virtual bool isNeedFiltering(const QString& entryName) = 0;

    // A text part whole, at most MaxTextPartSize bytes, its checksum verified, as UTF-8:
    // a part in UTF-16 (with its byte order mark) is converted and its XML declaration
    // says so. False, with the reason for the user, for a part in any other encoding.
    static bool readTextPart(QuaZipFile& entry, QByteArray& bytes, QString* reason = nullptr);
    // Whether pictures can be encoded in the format the entry's name gives.
    static bool canEncodeFor(const QString& entryName);

protected:
    // The picture an image entry is to hold, encoded in the format its name gives;
    // false when the entry stands for no picture of the evaluation.
    bool pictureFor(const QString& entryName, QByteArray& encoded);
    static bool toUtf8(QByteArray& bytes);
    // The part being filtered, while it is.
    const QString& currentPart() const { return filteredPart; }
    // What a flavour writes in place of a template's entry (a repaired part); false for
    // an entry copied as it is.
    virtual bool replacementOf(const QString& name, QByteArray& bytes);
    // A text part's text when the flavour read it before the copy; false to have it read
    // from the template.
    virtual bool takeTextPart(const QString& name, QString& text);
    // Entries a flavour adds after the template's own (parts a repair needs).
    virtual QList<std::pair<QString, QByteArray>> addedEntries();
    // A template entry the flavour leaves out of the copy: one that would be untrue of the
    // document, or that it writes among its added entries once every other entry is known
    // (a package's list of its entries).
    virtual bool isLeftOutOfCopy(const QString& entryName) const;
    // Whether the evaluation has picture index of a kind (photo, chart, company logo).
    bool hasEvaluationPicture(DocxPicsHandler::PictureKind kind, int index);
    // The template cannot be used; the reason, when given, says why.
    void failRead(const QString& reason = QString());
    // Names the document asked for when one is being made from a buffer.
    void failWrite(const QString& zipName, const QString& reason = QString());
    QString writtenName(const QString& zipName) const;

private:
    enum class Picture { None, Written, Failed };
    // Writes the evaluation's picture in place of an image entry; None when the entry
    // stands for no picture of the evaluation.
    Picture writePicture(const QString& name, ZipWriter& out);
    const StoredEntry* keptPhotoFor(const QString& entryName);
    bool photoPicture(int index, const QByteArray& format, QByteArray& encoded);
    bool graphicPicture(int index, const QByteArray& format, QByteArray& encoded);
    bool logoPicture(int index, const QByteArray& format, QByteArray& encoded);
    bool copyFiltered(const QString& name, QuaZipFile& in, ZipWriter& out);
    static bool isWellFormed(const QString& name, const QByteArray& filtered);
    static QString templatePartFailure(const QString& name, QuaZipFile& in);
    static bool readWhole(QuaZipFile& entry, const QuaZipFileInfo64& info, QByteArray& bytes, bool& damaged);
    bool copyRaw(const QString& name, const QuaZipFileInfo64& info, QuaZipFile& in, ZipWriter& out);
    // Pictures are stored: coded pictures do not shrink, and deflating them would cost
    // more than the rest of the document together.
    enum Packing { Deflated, Stored };
    bool writeEntry(const QString& name, const QByteArray& bytes, Packing packing, ZipWriter& out);
    bool copyZip(QuaZip& in, ZipWriter& out);
    bool writeDocument(QBuffer& templateBuffer, const QString& outputPath);

    QString templateName;
    QString filteredPart;
    // The document asked for, while a document is made from a buffer.
    QString documentName;
};

#endif
