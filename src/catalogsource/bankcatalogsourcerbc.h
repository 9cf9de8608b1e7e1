#ifndef ZENTAVO_BANKCATALOGSOURCERBC_H
#define ZENTAVO_BANKCATALOGSOURCERBC_H

#include "catalogsource/cataloghttpsource.h"

class QuaZipFile;

// The bank directory published by RBC, an outside provider: a zip archive whose entry
// "bnkseek.txt" lists the working banks, one per line of tab-separated Windows-1251
// text (name in field 3, BIC in field 5, correspondent account in field 6 when there
// are seven fields). Banks are only added: a BIC already present is left as it is, and
// the list of deleted banks ("bnkdel.txt") is not applied.
//
// BICs and correspondent accounts go into legal reports, so the directory is fetched
// over HTTPS with the server verified (a plain http address is refused), and the
// installation's request count is not sent to the provider.
//
// The archive is imported in one transaction. One that cannot be opened, is damaged,
// holds no list of working banks, or whose list is not Windows-1251 text, changes
// nothing and fails the load (no update is recorded). Lines that are not entries are
// skipped, each written to standard output as "skip: <line>".
class ZENTAVO_EXPORT BankCatalogSourceRBC : public CatalogHttpSource
{
    Q_OBJECT

public:
    // Longer lines are read in pieces of this size less one.
    static constexpr int LINE_BUFFER_BYTES = 24000;
    // The published list is well under a megabyte; a larger one is refused unread, so a
    // small archive cannot unpack into gigabytes.
    static constexpr qint64 MAX_LIST_BYTES = 16 * 1024 * 1024;

    explicit BankCatalogSourceRBC(QObject* parent = nullptr);

    QString getTitle() override;
    QString getIdent() override;
    QUrl getCatalogUrl() override;
    bool parseResult(const QByteArray& downloaded) override;
    virtual int loadingPersent();

    // Rows of the bank table; 0 when it cannot be counted.
    int getCount();

    // Imports an archive on disk; false, with the reason in getErrorString() and the
    // table untouched, when it is refused.
    bool readZip(QString path);
    bool readWorked(QuaZipFile& file);
    void readDeleted(QuaZipFile& file);
    // Splits one trimmed line; false when it is not a bank entry. A six-field entry has
    // no correspondent account (a null rc).
    static bool parseLine(QString& line, QString& bic, QString& rc, QString& name);

private:
    bool readEntries(const QString& path);
    bool insertBanks(const QByteArray& content);
};

#endif
