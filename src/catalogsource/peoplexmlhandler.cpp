#include "catalogsource/peoplexmlhandler.h"

PeopleXmlHandler::PeopleXmlHandler()
    : CatalogXmlHandler(QStringLiteral("people"), {QStringLiteral("peopleidentdoc ident_gid")})
{
}

void PeopleXmlHandler::prepareStatements()
{
    documents = prepareEntry(
        QStringLiteral("select count(*),min(id_ident),ident_gid from peopleidentdoc where name=?"),
        QStringLiteral("insert into peopleidentdoc (name,ident_gid,loaded) values (?,?,1)"),
        QStringLiteral("update peopleidentdoc set ident_gid=?, loaded=1 where id_ident=?"));
}

bool PeopleXmlHandler::isEntry(const QString& name) const
{
    return name == QLatin1String("identdoc");
}

void PeopleXmlHandler::mergeEntry(const QString&)
{
    const int gid = intAttribute(QStringLiteral("id"));
    merge(documents, {text}, {text, gid}, {gid});
}
