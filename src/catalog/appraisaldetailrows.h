#ifndef ZENTAVO_APPRAISALDETAILROWS_H
#define ZENTAVO_APPRAISALDETAILROWS_H

#include "catalog/appraisalbankaccount.h"

#include <QVariantMap>

#include <memory>

class QSqlQuery;

// What the legal-entity and the proprietor details of an appraisal company share on the
// database side: the company they belong to, their own row, and their one bank account,
// linked to the row through a link table.
class ZENTAVO_EXPORT AppraisalDetailRows
{
public:
    // The identifiers a save may change, to be given back when the save is rolled back.
    struct Ids
    {
        int company = -1;
        int row = -1;
        int accountRow = -1;
        int account = -1;
    };

    // The catalog tables of the details of one kind.
    struct Tables
    {
        QLatin1String table;     // the details' own rows
        QLatin1String key;       // the key of those rows
        QLatin1String link;      // links the rows to their bank accounts
        QLatin1String otherLink; // the link table of the other kind
    };
    static Tables tablesOf(customertype_t kind);

    AppraisalDetailRows(customertype_t type, int companyId);
    virtual ~AppraisalDetailRows();
    Q_DISABLE_COPY(AppraisalDetailRows)

    int getCompanyId() const { return companyId; }
    int getRowId() const { return rowId; }
    bool isStored() const { return rowId != -1; }

    Ids getIds() const;
    void restoreIds(const Ids& ids);
    // Their rows were removed: the details and their account are new again.
    void forgetRows();

protected:
    // Created on first use and then read from its row, if it has one.
    AppraisalBankAccount* account();
    // Reads the company's row of the details with the columns asked for; with several
    // accounts linked, the one stored first is theirs. False when there is no such row
    // or the catalog cannot answer: nothing is read then.
    bool loadRow(const QStringList& columns, QSqlQuery& query);
    // Inserts the row under the company given, or updates the stored rows whose column
    // updateKey matches, then saves an account that was ever used and links a new one.
    // Throws AutoEvalException when the stored details belong to another company.
    bool saveRow(QVariantMap row, int company, const QString& updateKey);
    void setRow(int company, int row, int accountRow);

    int companyId;
    int rowId = -1;
    int accountRowId = -1;

private:
    bool saveAccount();

    customertype_t type;
    std::unique_ptr<AppraisalBankAccount> bankAccount;
};

#endif
