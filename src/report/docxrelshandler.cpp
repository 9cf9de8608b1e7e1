#include "report/docxrelshandler.h"

bool DocxRelsHandler::startElement(QStringView qName, const QXmlStreamAttributes& attributes)
{
    if (qName == u"Relationship"
        && attributes.value(QLatin1String("Type")).contains(QLatin1String("relationships/image"))) {
        targets.insert(attributes.value(QLatin1String("Target")).toString(),
                       attributes.value(QLatin1String("Id")).toString());
    }
    return true;
}

QString& DocxRelsHandler::getRID(const QString& target, QString& rid) const
{
    rid = targets.value(target);
    return rid;
}
