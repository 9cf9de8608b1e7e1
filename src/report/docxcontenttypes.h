#ifndef ZENTAVO_DOCXCONTENTTYPES_H
#define ZENTAVO_DOCXCONTENTTYPES_H

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

// The [Content_Types].xml of a DOCX package: the content type of each part, named for the
// part itself or for every part with its extension. A word processor refuses a package
// with a part it holds no type for.
class DocxContentTypes
{
public:
    static const QString EntryName;

    // False, with errorString(), when the bytes are no well-formed XML.
    bool read(const QByteArray& bytes);
    const QString& errorString() const { return error; }

    // The parts (lower case, no leading "/") typed as a main document.
    QStringList mainDocumentParts() const;
    // Whether a type is known for an entry of the package.
    bool covers(const QString& entry) const;
    // The bytes with a default type added for each of the extensions.
    QByteArray withDefaults(const QStringList& extensions) const;

    // The content type that follows from an extension alone; empty for one that does not.
    static QString typeOfExtension(const QString& extension);
    // The extension of a part's name, lower case; empty when it has none.
    static QString extensionOf(const QString& name);

private:
    QByteArray bytes;
    QHash<QString, QString> defaults;  // extension (lower case) -> content type
    QHash<QString, QString> overrides; // part name (lower case, no "/") -> content type
    QString error;
};

#endif
