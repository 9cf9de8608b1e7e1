#ifndef ZENTAVO_APPRAISALDETAILROWS_H
#define ZENTAVO_APPRAISALDETAILROWS_H

#include "catalog/appraisalbankaccount.h"

#include <memory>

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

    AppraisalDetailRows(customertype_t type, int companyId);
    virtual ~AppraisalDetailRows();
    AppraisalDetailRows(const AppraisalDetailRows&) = delete;
    AppraisalDetailRows& operator=(const AppraisalDetailRows&) = delete;

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
    // Throws AutoEvalException when the stored details belong to another company.
    void checkOwner(int company) const;
    void setRow(int company, int row, int accountRow);
    // Saves an account that was ever used; a new one is linked to the row by linkStatement.
    bool saveAccount(const QString& linkStatement);

    int companyId;
    int rowId = -1;
    int accountRowId = -1;

private:
    customertype_t type;
    std::unique_ptr<AppraisalBankAccount> bankAccount;
};

#endif
