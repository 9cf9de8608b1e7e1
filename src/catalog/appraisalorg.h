#ifndef ZENTAVO_APPRAISALORG_H
#define ZENTAVO_APPRAISALORG_H

#include "catalog/appraisaldetailrows.h"
#include "model/organization.h"

// The legal entity of an appraisal company: kept in memory, stored in the catalog table
// "org", and copied into an evaluation under the position of the appraiser it serves.
class ZENTAVO_EXPORT AppraisalOrg : public Organization, public AppraisalDetailRows
{
public:
    // Reads the details of a stored company; a company id of -1 gives empty details.
    explicit AppraisalOrg(int companyId);

    BankAccount* getBankAccount() override;
    AppraisalBankAccount* getAppraisalBankAccount() { return account(); }

    void load();
    // Inserts the row, or updates the company's rows, then the bank account. Throws
    // AutoEvalException when the details belong to another company.
    bool save(int company);
    using Organization::save;
    void loadFromStorage(int index, EvaluationStorage& storage);
};

#endif
