#ifndef ZENTAVO_DOCXRELSHANDLER_H
#define ZENTAVO_DOCXRELSHANDLER_H

#include "zentavo_export.h"

#include "runtime/xmldefaulthandler.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

// Reads a relationship part of a DOCX package (such as "word/_rels/document.xml.rels")
// and keeps its relationships: for each id, what kind of part it names and where. It
// also remembers, for every image relationship, which id refers to which image file.
class ZENTAVO_EXPORT DocxRelsHandler : public XmlDefaultHandler
{
public:
    // One relationship of the part: its id, the kind of part it names and where that is.
    struct Relationship
    {
        QString id;
        // The last segment of the relationship type, such as "image", "header" or
        // "officeDocument": the same in the transitional and the strict schemas.
        QString type;
        QString target; // as written, relative to the folder of the part it belongs to
        bool external = false; // a link outside the package (TargetMode="External")
    };

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override;

    // The id of the image relationship whose target is the given path relative to
    // "word/", such as "media/image3.png"; a null string when there is none.
    QString& getRID(const QString& target, QString& rid) const;
    const QList<Relationship>& relationships() const { return all; }
    // The relationship of that id; null when there is none.
    const Relationship* find(const QString& id) const;
    void append(const Relationship& relationship);
    void clear();

    // The part a relationship file belongs to: word/_rels/document.xml.rels is that of
    // word/document.xml, _rels/.rels that of the package (an empty name). False for a
    // name that is no relationship file.
    static bool partOfRelationships(const QString& name, QString& part);
    // The relationship file of a part.
    static QString relationshipsPartOf(const QString& part);
    // A package's _rels/.rels naming its main document.
    static QByteArray packageRelationships(const QString& mainPart);

private:
    QHash<QString, QString> targets;
    QList<Relationship> all;
    QHash<QString, qsizetype> byId;
};

#endif
