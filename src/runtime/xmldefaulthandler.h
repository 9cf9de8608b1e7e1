#ifndef ZENTAVO_XMLDEFAULTHANDLER_H
#define ZENTAVO_XMLDEFAULTHANDLER_H

#include "zentavo_export.h"

#include <QString>
#include <QStringView>
#include <QXmlStreamAttributes>

class QIODevice;
class QXmlStreamReader;

// Reads an XML document as a stream of events. A handler overrides the events it
// cares about; parse() walks the document with a QXmlStreamReader and calls them in
// document order. An event that answers false stops the walk. An XML error stops it
// too and is reported through fatalError(); what the handler gathered until then
// stays. External entities are never fetched, and internal ones expand only within
// the reader's limit, so a hostile document cannot read files or exhaust memory.
class ZENTAVO_EXPORT XmlDefaultHandler
{
public:
    XmlDefaultHandler() = default;
    virtual ~XmlDefaultHandler() = default;
    Q_DISABLE_COPY(XmlDefaultHandler)

    // True when the whole document was read without an error or a stop.
    bool parse(QIODevice& device);
    bool parse(const QByteArray& document);
    bool parse(const QString& document);
    // Why the last parse ended early; empty after a complete one.
    QString errorString() const { return lastError; }
    // During an event: where the event's markup ends in the document, in characters of
    // its decoded text (just after the ">" of a start or end tag).
    qint64 position() const { return eventEnd; }

    // Names are qualified as written in the document, such as "w:drawing"; an
    // attribute is found by its qualified name ("r:embed").
    virtual bool startElement(QStringView qName, const QXmlStreamAttributes& attributes);
    virtual bool endElement(QStringView qName);
    virtual bool characters(QStringView text);
    // A document type declaration, with the name it gives the root element. Documents
    // that never need one (data feeds) refuse it here, and with it every entity.
    virtual bool startDTD(QStringView name);
    // Called once for an XML error, with its position; the walk ends after it.
    virtual void fatalError(const QString& message, qint64 line, qint64 column);

private:
    bool walk(QXmlStreamReader& reader);

    QString lastError;
    qint64 eventEnd = 0;
};

#endif
