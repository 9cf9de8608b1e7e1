#ifndef ZENTAVO_DOCXPACKAGE_H
#define ZENTAVO_DOCXPACKAGE_H

#include "zentavo_export.h"

#include "report/docxpicshandler.h"
#include "report/docxrelshandler.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

class QuaZip;

// A DOCX template read as a word processor reads it: through its relationships. The
// main document is the part "_rels/.rels" names, whatever its file name; the headers,
// footers, footnotes, endnotes and comments its relationships name are text parts like
// it. The pictures of each text part are found through that part's own relationships,
// so a logo in a header is bound as well as a photo in the body. Both the report and
// the template check read a template through this class, so they never disagree on
// which parts and pictures it has.
//
// A package a word processor would refuse (no [Content_Types].xml, a relationship to a
// part the archive does not hold, a part that is not XML, a part without a content
// type) is refused with the reason. Where the repair is certain it is repaired instead:
// a missing content type of a picture or relationship file is added; a missing
// "_rels/.rels" is written when [Content_Types].xml names exactly one main document; a
// text part in UTF-16 is read; pictures described otherwise that share one image file
// each get a copy of their own.
class ZENTAVO_EXPORT DocxPackage
{
public:
    // The picture of the evaluation an image file of the package stands for.
    struct Binding
    {
        DocxPicsHandler::PictureKind kind = DocxPicsHandler::None;
        int index = -1;
        bool operator==(const Binding& other) const { return kind == other.kind && index == other.index; }
    };

    DocxPackage();
    ~DocxPackage();
    Q_DISABLE_COPY(DocxPackage)

    // Whether read() checks the text parts to be well-formed XML, or leaves that to a
    // reader that checks them as it writes them (a render checks each part it writes).
    enum class TextParts { Checked, CheckedLater };
    // Reads the package from an open archive; false with the reason in failure().
    bool read(QuaZip& zip, TextParts texts = TextParts::Checked);
    void clear();
    // Why the package was refused, for the user: names the part and what is wrong.
    const QString& failure() const { return refusal; }
    // What was repaired, one line each.
    const QStringList& repairs() const { return repaired; }

    const QString& mainPart() const { return main; }
    // The main part first, then the parts its relationships name, in their order.
    const QStringList& textParts() const { return texts; }
    bool isTextPart(const QString& entry) const;
    // The drawings of a text part as read.
    const QList<DocxPicsHandler::Drawing>& drawings(const QString& part) const;
    // Whether a text part, as read and not taken yet, holds needle anywhere, or inside
    // one of its drawings (the whole mc:AlternateContent of a drawing that is a choice).
    bool textContains(const QString& part, QStringView needle) const;
    bool drawingsContain(const QString& part, QStringView needle) const;
    // A text part as read, handed over once so a render inflates and decodes each part
    // only once; false when it was taken already.
    bool takeText(const QString& part, QString& text);
    const DocxRelsHandler* relationshipsOf(const QString& part) const;

    // The entry of the package that a relationship of a part names; empty for a link
    // outside the package and for an id the part does not have.
    QString entryNamed(const QString& part, const QString& id) const;
    // The picture of the evaluation an image entry stands for: that of the first
    // picture showing it whose description names one. None for the template's own.
    Binding bindingOf(const QString& imageEntry) const { return bindings.value(imageEntry); }
    // The relationship id a picture of a part is to show: its own, or that of the copy
    // of its image file it gets when pictures described otherwise share that file (Word
    // keeps one file for pictures pasted from one, whatever their descriptions).
    QString embedIdOf(const QString& part, const DocxPicsHandler::Picture& picture) const;
    QStringList boundImages() const { return bindings.keys(); }

    // Entries written in place of the template's, and entries added to it, by repairs.
    const QHash<QString, QByteArray>& replacedEntries() const { return replaced; }
    const QList<std::pair<QString, QByteArray>>& addedEntries() const { return added; }

private:
    struct Reading;

    bool readStructure(QuaZip& zip, Reading& reading);
    bool readContentTypes(Reading& reading);
    bool findMainPart(Reading& reading);
    void findTextParts();
    bool checkRelationships();
    bool readParts(QuaZip& zip, TextParts check);
    bool checkContentTypes(Reading& reading);
    void bindPictures();
    bool copySharedImages(QuaZip& zip, Reading& reading);
    bool readCopies(QuaZip& zip, const QHash<QString, QString>& sources);
    QString unusedName(const QString& image, const Binding& picture) const;
    QString copyKey(const QString& part, const DocxPicsHandler::Picture& picture) const;
    QString resolve(const QString& sourcePart, const QString& target) const;
    bool readCurrent(QuaZip& zip, QByteArray& bytes);
    bool refuse(const QString& reason);

    QString refusal;
    QStringList repaired;
    QString main;
    QStringList texts;
    QHash<QString, QString> entriesByLowerName;
    QHash<QString, std::shared_ptr<DocxPicsHandler>> pictures;
    QHash<QString, QString> textOf;
    QHash<QString, std::shared_ptr<DocxRelsHandler>> relationships;
    QHash<QString, Binding> bindings;
    QHash<QString, QString> copyIds; // copyKey -> id of the relationship to the copy
    QHash<QString, QByteArray> replaced;
    QList<std::pair<QString, QByteArray>> added;
};

#endif
