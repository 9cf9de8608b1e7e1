#include "report/docxrelshandler.h"

bool DocxRelsHandler::startElement(QStringView qName, const QXmlStreamAttributes& attributes)
{
    if (qName != u"Relationship")
        return true;
    Relationship relationship;
    relationship.id = attributes.value(QLatin1String("Id")).toString();
    const QStringView type = attributes.value(QLatin1String("Type"));
    relationship.type = type.mid(type.lastIndexOf(u'/') + 1).toString();
    relationship.target = attributes.value(QLatin1String("Target")).toString();
    relationship.external = attributes.value(QLatin1String("TargetMode")) == u"External";
    append(relationship);
    return true;
}

void DocxRelsHandler::append(const Relationship& relationship)
{
    if (relationship.type == QLatin1String("image"))
        targets.insert(relationship.target, relationship.id);
    byId.insert(relationship.id, all.size());
    all.append(relationship);
}

QString& DocxRelsHandler::getRID(const QString& target, QString& rid) const
{
    rid = targets.value(target);
    return rid;
}

const DocxRelsHandler::Relationship* DocxRelsHandler::find(const QString& id) const
{
    const auto found = byId.constFind(id);
    return found == byId.constEnd() ? nullptr : &all.at(*found);
}

void DocxRelsHandler::clear()
{
    targets.clear();
    all.clear();
    byId.clear();
}
