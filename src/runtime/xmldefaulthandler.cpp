#include "runtime/xmldefaulthandler.h"

#include "runtime/logger.h"

#include <QXmlStreamReader>

bool XmlDefaultHandler::parse(QIODevice& device)
{
    QXmlStreamReader reader(&device);
    return walk(reader);
}

bool XmlDefaultHandler::parse(const QByteArray& document)
{
    QXmlStreamReader reader(document);
    return walk(reader);
}

bool XmlDefaultHandler::parse(const QString& document)
{
    QXmlStreamReader reader(document);
    return walk(reader);
}

bool XmlDefaultHandler::walk(QXmlStreamReader& reader)
{
    lastError.clear();
    // No entity resolver is installed: references to external entities stay unresolved.
    reader.setNamespaceProcessing(false);
    bool goOn = true;
    while (goOn && !reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        eventEnd = reader.characterOffset();
        switch (token) {
        case QXmlStreamReader::StartElement:
            goOn = startElement(reader.qualifiedName(), reader.attributes());
            break;
        case QXmlStreamReader::EndElement:
            goOn = endElement(reader.qualifiedName());
            break;
        case QXmlStreamReader::Characters:
            goOn = characters(reader.text());
            break;
        case QXmlStreamReader::DTD:
            goOn = startDTD(reader.dtdName());
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        lastError = reader.errorString();
        LOG_WARNING() << "xml error at line" << reader.lineNumber() << "column" << reader.columnNumber()
                      << ":" << lastError;
        fatalError(lastError, reader.lineNumber(), reader.columnNumber());
        return false;
    }
    if (!goOn)
        lastError = QStringLiteral("stopped by the handler");
    return goOn;
}

bool XmlDefaultHandler::startElement(QStringView, const QXmlStreamAttributes&)
{
    return true;
}

bool XmlDefaultHandler::endElement(QStringView)
{
    return true;
}

bool XmlDefaultHandler::characters(QStringView)
{
    return true;
}

bool XmlDefaultHandler::startDTD(QStringView)
{
    return true;
}

void XmlDefaultHandler::fatalError(const QString&, qint64, qint64)
{
}
