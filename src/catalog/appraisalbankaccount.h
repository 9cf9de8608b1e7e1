#ifndef ZENTAVO_APPRAISALBANKACCOUNT_H
#define ZENTAVO_APPRAISALBANKACCOUNT_H

#include "model/bankaccount.h"

// The bank account of an appraisal company's legal entity or proprietor, kept in memory
// and stored in the catalog table "bankaccount".
class ZENTAVO_EXPORT AppraisalBankAccount : public BankAccount
{
public:
    // type: the kind of the company, which gives the kind part of the tag names.
    AppraisalBankAccount(customertype_t type, int id);

    // Setting the BIC is setBic.
    void setText(int field, const QString& value) override;
    // Stores the code and takes the bank's name and correspondent account from the bank
    // directory; a code the directory does not know clears both.
    void setBic(const QString& bic);

    int getId() const { return id; }
    void setId(int rowId) { id = rowId; }
    bool isNew() const { return id == -1; }

    // Nothing to read for a new account. A stored account whose row cannot be read (no
    // such row, or a catalog that cannot answer) is logged and stays empty: a report goes
    // on without it.
    void load();
    // Inserts a new account (taking its row id) or updates the stored one. An account
    // that could not be read is not saved (false): its empty fields would overwrite it.
    bool save();
    using BankAccount::save;
    // The tags as written: the bank's name is not looked up again.
    void loadFromStorage(int index, EvaluationStorage& storage);

private:
    int id;
    bool unread = false;
};

#endif
