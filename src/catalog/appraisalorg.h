#ifndef ZENTAVO_APPRAISALORG_H
#define ZENTAVO_APPRAISALORG_H

#include "catalog/appraisaldetailrows.h"
#include "evaluation/organization.h"

class EvaluationStorage;
class QSqlQuery;

// The legal entity of an appraisal company: kept in memory, stored in the catalog table
// "org", and copied into an evaluation under the position of the appraiser it serves.
class ZENTAVO_EXPORT AppraisalOrg : public Organization, public AppraisalDetailRows
{
public:
    // Reads the details of a stored company; a company id of -1 gives empty details.
    explicit AppraisalOrg(int companyId);

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;
    QDate& getOgrnDate(QDate& date) override;
    void setOgrnDate(const QDate& date) override;
    bool isSimplifiedTaxation() override;
    void setSimplifiedTaxation(bool value) override;
    BankAccount* getBankAccount() override;
    AppraisalBankAccount* getAppraisalBankAccount() { return account(); }

    void load();
    // Inserts or updates the row of the company given, then the bank account. Throws
    // AutoEvalException when the details belong to another company.
    bool save(int company);
    using Organization::save;
    void loadFromStorage(int index, EvaluationStorage& storage);

private:
    void bindValues(QSqlQuery& query, int company) const;

    QString texts[FieldCount];
    QDate ogrnDate;
    bool simplifiedTaxation = false;
};

#endif
