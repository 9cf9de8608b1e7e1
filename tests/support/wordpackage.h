#ifndef ZENTAVO_WORDPACKAGE_H
#define ZENTAVO_WORDPACKAGE_H

#include "zipfixture.h"

#include <QByteArray>
#include <QList>
#include <QString>

// A DOCX package shaped as Word writes it, built part by part: [Content_Types].xml with
// an override for every part, _rels/.rels naming the main part, the main part with its
// relationships, and whatever headers, footers, notes, comments and pictures a test
// adds. Text parts are written with Word's namespace declarations around the body.
class WordPackage
{
public:
    explicit WordPackage(const QString& mainPart = QStringLiteral("word/document.xml"));

    const QString& mainPart() const { return main; }
    // The paragraphs (and tables, section properties...) of the main part's w:body.
    void setBody(const QByteArray& body);
    // Adds a part the main document names: type "header", "footer", "footnotes",
    // "endnotes" or "comments"; content is what goes inside the part's root element.
    // Answers the relationship id.
    QString addPart(const QString& type, const QString& name, const QByteArray& content);
    // An image file shown by a part; answers the id of the part's relationship to it.
    QString addImage(const QString& part, const QString& name, const QByteArray& bytes);
    // A picture file linked from a part, kept outside the package.
    QString addLink(const QString& part, const QString& url);
    // Any entry, written as given after the others (replacing one of that name).
    void setEntry(const QString& name, const QByteArray& bytes);
    void removeEntry(const QString& name);

    QList<ZipEntry> entries() const;
    bool write(const QString& path) const;

    // A picture as Word inserts it (w:drawing), with its alternative text; an empty
    // embedId makes it a linked picture only (Insert > Picture > Link to File).
    static QByteArray drawing(const QString& description, const QString& embedId, const QString& linkId = QString());
    // The same in a run of its own.
    static QByteArray picture(const QString& description, const QString& embedId, const QString& linkId = QString());
    // A rectangle drawn over the page (a cover page), filled with a picture when fillId
    // is given, holding a text box when textBox is; and its VML copy for older readers.
    static QByteArray shape(const QString& description, const QString& fillId, const QByteArray& textBox = QByteArray());
    static QByteArray vmlShape(const QString& description, const QString& fillId, const QByteArray& textBox = QByteArray());
    // A VML picture (w:pict) in a run, as older Word files hold pictures.
    static QByteArray vmlPicture(const QString& description, const QString& imageId);
    // A run holding a drawing of Word 2010 and later with the copy older readers show.
    static QByteArray alternateContent(const QByteArray& choice, const QByteArray& fallback);
    // The text a word processor shows for a part: its w:t elements, joined.
    static QString textOf(const QByteArray& xml);
    // The same for a part of the DOCX file at path.
    static QString textOf(const QString& path, const QString& part);
    // The text of each paragraph of a part, in order.
    static QStringList paragraphsOf(const QByteArray& xml);
    // A part's XML in UTF-16, with its byte order mark and its declaration saying so.
    static QByteArray utf16(const QByteArray& xml);
    // A paragraph of one run of text, or of the runs given.
    static QByteArray paragraph(const QString& text);
    static QByteArray paragraphOf(const QByteArray& runs);

private:
    struct Relationship
    {
        QString part;
        QString id;
        QString type;
        QString target;
        bool external;
    };
    QString relate(const QString& part, const QString& type, const QString& target, bool external);
    QByteArray relationshipsOf(const QString& part) const;
    QByteArray contentTypes() const;

    QString main;
    QByteArray body;
    QList<std::pair<QString, QByteArray>> parts; // name, whole XML
    QList<std::pair<QString, QString>> partTypes; // name, content type
    QList<Relationship> relationships;
    QList<ZipEntry> media;
    QList<ZipEntry> extra;
    QStringList removed;
};

#endif
