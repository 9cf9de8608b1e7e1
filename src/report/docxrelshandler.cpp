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

bool DocxRelsHandler::partOfRelationships(const QString& name, QString& part)
{
    const qsizetype folder = name.lastIndexOf(QLatin1String("_rels/"));
    if (folder < 0 || (folder > 0 && name.at(folder - 1) != QLatin1Char('/'))
        || !name.endsWith(QLatin1String(".rels"), Qt::CaseInsensitive)
        || name.indexOf(QLatin1Char('/'), folder + 6) >= 0)
        return false;
    part = name.left(folder) + name.mid(folder + 6).chopped(5);
    return true;
}

QString DocxRelsHandler::relationshipsPartOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

QByteArray DocxRelsHandler::packageRelationships(const QString& mainPart)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
           "officeDocument\" Target=\""
        + mainPart.toHtmlEscaped().toUtf8() + "\"/></Relationships>";
}
