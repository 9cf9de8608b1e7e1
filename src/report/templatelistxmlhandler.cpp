#include "report/templatelistxmlhandler.h"

#include "report/templateslist.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"

namespace {

bool isElement(QStringView qName, const char* name)
{
    return qName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

TemplateListXmlHandler::TemplateListXmlHandler(TemplatesList* list) : list(list) {}

bool TemplateListXmlHandler::startElement(QStringView qName, const QXmlStreamAttributes& elementAttributes)
{
    attributes = elementAttributes;
    text.clear();
    if (isElement(qName, "templates"))
        processBaseUrl(attributes.value(QLatin1String("baseurl")).toString());
    return true;
}

bool TemplateListXmlHandler::endElement(QStringView qName)
{
    if (isElement(qName, "templates"))
        return true;
    if (isElement(qName, "template"))
        processTemplateItem(text, attributes.value(QLatin1String("type")).toString());
    else
        LOG_TRACE() << "invalid tag:" << qName.toString();
    return true;
}

bool TemplateListXmlHandler::characters(QStringView chars)
{
    text.append(chars);
    return true;
}

void TemplateListXmlHandler::fatalError(const QString& message, qint64 line, qint64 column)
{
    LOG_WARNING() << "templates list:" << message << "line" << line << "column" << column;
}

void TemplateListXmlHandler::processTemplateItem(QString name, QString)
{
    getList();
    LOG_TRACE() << "template name=" << name;
    list->append(name);
}

void TemplateListXmlHandler::processBaseUrl(QString url)
{
    getList()->setBaseDir(url);
}

TemplatesList* TemplateListXmlHandler::getList()
{
    if (!list)
        ZENTAVO_THROW();
    return list;
}
