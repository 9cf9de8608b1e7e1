#ifndef ZENTAVO_APPRAISALBUSINESSMAN_H
#define ZENTAVO_APPRAISALBUSINESSMAN_H

#include "catalog/appraisalbmanidentdocument.h"
#include "catalog/appraisaldetailrows.h"
#include "model/businessman.h"

// The sole proprietor of an appraisal company: kept in memory, stored in the catalog
// table "businessman" with the identity document, and copied into an evaluation under
// the position of the appraiser it serves.
class ZENTAVO_EXPORT AppraisalBusinessman : public Businessman, public AppraisalDetailRows
{
public:
    // Reads the details of a stored company; a company id of -1 gives empty details.
    explicit AppraisalBusinessman(int companyId);
    ~AppraisalBusinessman() override;

    IdentDocument* getIdentDocument() override;
    AppraisalBmanIdentDocument* getAppraisalIdentDocument();
    BankAccount* getBankAccount() override;
    AppraisalBankAccount* getAppraisalBankAccount() { return account(); }

    void load();
    // Inserts or updates the row under the company given, then the bank account. Throws
    // AutoEvalException when the details belong to another stored company.
    bool save(int company);
    using Businessman::save;
    void loadFromStorage(int index, EvaluationStorage& storage);

private:
    std::unique_ptr<AppraisalBmanIdentDocument> document;
};

#endif
