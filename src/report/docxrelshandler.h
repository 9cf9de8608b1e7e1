#ifndef ZENTAVO_DOCXRELSHANDLER_H
#define ZENTAVO_DOCXRELSHANDLER_H

#include "zentavo_export.h"

#include "runtime/xmldefaulthandler.h"

#include <QHash>
#include <QString>

// Reads the relationship part of a DOCX main document ("word/_rels/document.xml.rels")
// and remembers, for every image relationship, which id refers to which image file.
class ZENTAVO_EXPORT DocxRelsHandler : public XmlDefaultHandler
{
public:
    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override;

    // The id of the image relationship whose target is the given path relative to
    // "word/", such as "media/image3.png"; a null string when there is none.
    QString& getRID(const QString& target, QString& rid) const;
    void clear() { targets.clear(); }

private:
    QHash<QString, QString> targets;
};

#endif
