#ifndef ZENTAVO_ODTPACKAGE_H
#define ZENTAVO_ODTPACKAGE_H

#include "zentavo_export.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QuaZip;

// An OpenDocument text (ODT) template read as an office suite reads it: the "mimetype"
// entry names the kind of document (else the manifest's root entry does),
// META-INF/manifest.xml lists the entries with their media types, content.xml holds the
// body and styles.xml the page styles with their headers and footers. A package of
// another kind, an encrypted one, or one without content.xml is refused with the
// reason. A document made from it stays a valid package: manifest() lists every entry it
// holds, and normalised() puts a "mimetype" entry first and stored, where an office
// suite looks for it.
class ZENTAVO_EXPORT OdtPackage
{
public:
    static const QString MimeTypeEntry;
    static const QString ManifestEntry;
    static const QString TextMediaType;

    // Reads the package from an open archive; false with the reason in failure().
    bool read(QuaZip& zip);
    const QString& failure() const { return refusal; }
    // content.xml and styles.xml, those the package has.
    const QStringList& textParts() const { return parts; }
    bool isTextPart(const QString& entryName) const { return parts.contains(entryName); }
    bool hasEntry(const QString& entryName) const { return entries.contains(entryName); }
    // The manifest of a document holding these entries: the template's own file entries
    // for what is there, media types for the rest.
    QByteArray manifest(const QStringList& documentEntries) const;
    // The template's entries, in the order of its archive.
    const QStringList& entryNames() const { return entries; }
    bool hasManifest() const { return manifestRead; }

    // The template with its "mimetype" entry first and stored, as the package format
    // requires (a package written by another program may not have it so); a package
    // without one gets it from the manifest. False with the reason when the bytes are not
    // an OpenDocument text.
    static bool normalised(QByteArray& zipBytes, QString& reason);
    // The media type an entry's name suggests; empty when none is known.
    static QString mediaTypeOf(const QString& entryName);

private:
    struct FileEntry
    {
        QString path;
        QString mediaType;
        QString version;
    };

    bool readManifest(const QByteArray& bytes);
    bool refuse(const QString& reason);

    QStringList entries;
    QStringList parts;
    QList<FileEntry> fileEntries;
    QString manifestVersion;
    bool manifestRead = false;
    QString refusal;
};

#endif
