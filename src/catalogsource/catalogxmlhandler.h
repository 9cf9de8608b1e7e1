#ifndef ZENTAVO_CATALOGXMLHANDLER_H
#define ZENTAVO_CATALOGXMLHANDLER_H

#include "catalogsource/catalogimportsummary.h"
#include "runtime/xmldefaulthandler.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QXmlStreamAttributes>

// Merges an XML catalog feed into the catalog database. The feed is one root container
// holding entry elements; each entry carries attributes and its display name as text,
// and is merged when its element ends: a row of the same name (within the same parent)
// takes the feed's identifier (gid), otherwise a row is inserted. Rows are never deleted;
// rows the feed no longer delivers lose their gid.
//
// The whole feed is one transaction. An XML error (a cut download, wrong nesting, a
// document type declaration with its entities), an element inside an entry, a root that
// is not the feed's container or an entry the merge cannot place rolls it back: the
// tables stay exactly as they were and rejectionReason() says why.
class CatalogXmlHandler : public XmlDefaultHandler
{
    Q_DECLARE_TR_FUNCTIONS(CatalogXmlHandler)

public:
    ~CatalogXmlHandler() override;

    // False when the feed was refused; nothing is changed then.
    bool import(const QByteArray& document);
    QString rejectionReason() const { return reason; }
    const CatalogImportSummary& getSummary() const { return summary; }

    bool startElement(QStringView qName, const QXmlStreamAttributes& attributes) override;
    bool endElement(QStringView qName) override;
    bool characters(QStringView text) override;
    bool startDTD(QStringView name) override;
    void fatalError(const QString& message, qint64 line, qint64 column) override;

protected:
    // The match, insert and update statements of one table, prepared once per import.
    // The match answers the count of rows of the entry's name, the smallest of their ids
    // and that row's gid.
    struct EntryStatements
    {
        QSqlQuery match;
        QSqlQuery insert;
        QSqlQuery update;
        // The columns of the match's result, known once it has run.
        int matchColumns = -1;
    };

    CatalogXmlHandler(QString container, QStringList tables);

    // The entry element names the feed merges (lower case).
    virtual bool isEntry(const QString& name) const = 0;
    // Merges one entry whose element just ended; throws AutoEvalException when it cannot.
    virtual void mergeEntry(const QString& name) = 0;
    // Prepares the handler's statements, once the transaction has begun.
    virtual void prepareStatements() = 0;

    EntryStatements prepareEntry(const QString& match, const QString& insert, const QString& update);
    QSqlQuery prepareQuery(const QString& statement);
    // Inserts with insertValues when no row matches matchValues, otherwise updates the
    // matched row with updateValues followed by its id. Answers the row's id.
    int merge(EntryStatements& statements, const QVariantList& matchValues, const QVariantList& insertValues,
              const QVariantList& updateValues);
    // Runs a prepared statement with the values; throws with the reason when it fails.
    void run(QSqlQuery& query, const QVariantList& values);
    // Decimal integer attribute; 0 when missing or not a number.
    int intAttribute(const QString& name) const;
    [[noreturn]] static void refuse(const QString& reason);

    QString text;
    QXmlStreamAttributes attributes;
    QSqlDatabase db;

private:
    bool mergeFeed(const QByteArray& document);
    void runOnAllTables(const QString& statement);
    int countOnAllTables(const QString& statement);
    bool stopWith(const QString& why);

    const QString container;
    // Per table: its name and its gid column, as "table gid_column".
    const QStringList tables;
    QString openEntry;
    int depth = 0;
    QString reason;
    CatalogImportSummary summary;
};

#endif
