#include "catalogsource/catalogxmlhandler.h"

#include "catalog/sqlstorage.h"
#include "runtime/autoevalexception.h"
#include "runtime/logger.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlRecord>

namespace {

// The statement for one table: %1 is its name, %2 its gid column.
QString onTable(QString statement, const QString& table)
{
    const QStringList names = table.split(QLatin1Char(' '));
    return statement.replace(QLatin1String("%1"), names.at(0)).replace(QLatin1String("%2"), names.at(1));
}

bool sameValue(const QVariant& stored, const QVariant& delivered)
{
    if (stored.isNull() || delivered.isNull())
        return stored.isNull() == delivered.isNull();
    return stored == delivered;
}

} // namespace

CatalogXmlHandler::CatalogXmlHandler(QString container, QStringList tables)
    : db(SQLStorage::getInstance()->getCatalogDatabase()), container(std::move(container)), tables(std::move(tables))
{
}

CatalogXmlHandler::~CatalogXmlHandler() = default;

bool CatalogXmlHandler::import(const QByteArray& document)
{
    reason.clear();
    summary = CatalogImportSummary();
    if (!db.transaction()) {
        reason = CatalogXmlHandler::tr("the catalog database cannot begin a transaction: %1").arg(db.lastError().text());
        LOG_WARNING() << reason;
        return false;
    }
    bool merged = false;
    try {
        merged = mergeFeed(document);
    } catch (const AutoEvalException& e) {
        reason = e.getMessage();
    }
    if (merged && db.commit())
        return true;
    if (merged)
        reason = CatalogXmlHandler::tr("the catalog database cannot commit: %1").arg(db.lastError().text());
    if (!db.rollback())
        LOG_WARNING() << "rollback failed:" << db.lastError().text();
    summary = CatalogImportSummary();
    LOG_WARNING() << "feed" << container << "refused:" << reason;
    return false;
}

bool CatalogXmlHandler::mergeFeed(const QByteArray& document)
{
    prepareStatements();
    runOnAllTables(QStringLiteral("update %1 set loaded=0 where loaded=1"));
    if (!parse(document)) {
        if (reason.isEmpty())
            reason = errorString();
        return false;
    }
    summary.withdrawn = countOnAllTables(QStringLiteral("select count(*) from %1 where loaded<>1 and %2 is not null"));
    runOnAllTables(QStringLiteral("update %1 set %2=NULL where loaded<>1"));
    return true;
}

void CatalogXmlHandler::runOnAllTables(const QString& statement)
{
    QSqlQuery query(db);
    for (const QString& table : tables) {
        if (!SQLStorage::exec(query, onTable(statement, table)))
            refuse(CatalogXmlHandler::tr("the catalog database failed: %1").arg(query.lastError().text()));
    }
}

int CatalogXmlHandler::countOnAllTables(const QString& statement)
{
    int count = 0;
    QSqlQuery query(db);
    for (const QString& table : tables) {
        if (!SQLStorage::exec(query, onTable(statement, table)) || !query.next())
            refuse(CatalogXmlHandler::tr("the catalog database failed: %1").arg(query.lastError().text()));
        count += query.value(0).toInt();
    }
    return count;
}

bool CatalogXmlHandler::startElement(QStringView qName, const QXmlStreamAttributes& elementAttributes)
{
    const QString name = qName.toString().toLower();
    if (depth == 0 && name != container)
        return stopWith(CatalogXmlHandler::tr("the document is not a \"%1\" feed: its root is \"%2\"").arg(container, name));
    if (!openEntry.isNull())
        return stopWith(CatalogXmlHandler::tr("element \"%1\" inside entry \"%2\"").arg(name, openEntry));
    ++depth;
    if (isEntry(name))
        openEntry = name;
    text.clear();
    attributes = elementAttributes;
    return true;
}

bool CatalogXmlHandler::endElement(QStringView qName)
{
    --depth;
    const QString name = qName.toString().toLower();
    openEntry = QString();
    if (isEntry(name))
        mergeEntry(name);
    else if (name != container)
        LOG_TRACE() << "invalid tag:" << name;
    return true;
}

bool CatalogXmlHandler::characters(QStringView chunk)
{
    text.append(chunk);
    return true;
}

bool CatalogXmlHandler::startDTD(QStringView)
{
    return stopWith(CatalogXmlHandler::tr("the feed declares a document type; feeds carry no entities"));
}

void CatalogXmlHandler::fatalError(const QString& message, qint64 line, qint64 column)
{
    reason = CatalogXmlHandler::tr("XML error at line %1, column %2: %3").arg(line).arg(column).arg(message);
}

bool CatalogXmlHandler::stopWith(const QString& why)
{
    reason = why;
    return false;
}

CatalogXmlHandler::EntryStatements CatalogXmlHandler::prepareEntry(const QString& match, const QString& insert,
                                                                   const QString& update)
{
    return {prepareQuery(match), prepareQuery(insert), prepareQuery(update)};
}

QSqlQuery CatalogXmlHandler::prepareQuery(const QString& statement)
{
    QSqlQuery query(db);
    if (!query.prepare(statement)) {
        LOG_WARNING() << statement << query.lastError().text();
        refuse(CatalogXmlHandler::tr("the catalog database failed: %1").arg(query.lastError().text()));
    }
    return query;
}

int CatalogXmlHandler::merge(EntryStatements& statements, const QVariantList& matchValues,
                             const QVariantList& insertValues, const QVariantList& updateValues)
{
    run(statements.match, matchValues);
    if (!statements.match.next())
        refuse(CatalogXmlHandler::tr("no match result for \"%1\"").arg(text));
    if (statements.matchColumns < 0)
        statements.matchColumns = statements.match.record().count();
    const int count = statements.match.value(0).toInt();
    const int id = statements.match.value(1).toInt();
    // The match's further columns are those the update sets, read from the matched row.
    bool changed = false;
    for (int column = 2; count > 0 && column < statements.matchColumns; ++column)
        changed = changed || !sameValue(statements.match.value(column), updateValues.value(column - 2));
    statements.match.finish();
    if (count == 0) {
        run(statements.insert, insertValues);
        ++summary.added;
        return statements.insert.lastInsertId().toInt();
    }
    QVariantList values = updateValues;
    values.append(id);
    run(statements.update, values);
    if (changed)
        ++summary.changed;
    return id;
}

void CatalogXmlHandler::run(QSqlQuery& query, const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!SQLStorage::exec(query))
        refuse(CatalogXmlHandler::tr("the catalog database failed: %1").arg(query.lastError().text()));
}

int CatalogXmlHandler::intAttribute(const QString& name) const
{
    return attributes.value(name).toInt();
}

void CatalogXmlHandler::refuse(const QString& reason)
{
    throw AutoEvalException(QString::fromUtf8(__FILE__), __LINE__, reason);
}
