#ifndef ZENTAVO_OPENDOCUMENTTEXT_H
#define ZENTAVO_OPENDOCUMENTTEXT_H

#include "zipfixture.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reads an OpenDocument text (ODT) back as an office suite would, independently of the
// code under test.
class OpenDocumentText
{
public:
    // The text of each paragraph and heading of a part (content.xml, styles.xml) as shown:
    // text:s as its spaces, tabs and line breaks as one space; picture descriptions are
    // not shown.
    static QStringList paragraphsOf(const QByteArray& xml);
    // The same, joined.
    static QString textOf(const QByteArray& xml);
    static QString textOf(const QString& path, const QString& part);
    // The picture file each frame of a part shows, in order, named by its description
    // (svg:desc, else draw:name).
    static QList<std::pair<QString, QString>> framesOf(const QByteArray& xml);
    // What would keep an office suite from opening the package: a first entry other than
    // a stored "mimetype" that an office suite finds at its fixed place, entries the
    // manifest does not list or lists and lacks, XML parts that are not well-formed,
    // pictures that are missing or do not decode. Empty for a sound package.
    static QStringList problemsOf(const QString& path);
};

#endif
