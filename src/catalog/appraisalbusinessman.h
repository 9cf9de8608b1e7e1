#ifndef ZENTAVO_APPRAISALBUSINESSMAN_H
#define ZENTAVO_APPRAISALBUSINESSMAN_H

#include "catalog/appraisalbmanidentdocument.h"
#include "catalog/appraisaldetailrows.h"
#include "evaluation/businessman.h"

class EvaluationStorage;
class QSqlQuery;

// The sole proprietor of an appraisal company: kept in memory, stored in the catalog
// table "businessman" with the identity document, and copied into an evaluation under
// the position of the appraiser it serves.
class ZENTAVO_EXPORT AppraisalBusinessman : public Businessman, public AppraisalDetailRows
{
public:
    // Reads the details of a stored company; a company id of -1 gives empty details.
    explicit AppraisalBusinessman(int companyId);
    ~AppraisalBusinessman() override;

    QString& getText(field_t field, QString& value) override;
    void setText(field_t field, const QString& value) override;
    IdentDocument* getIdentDocument() override;
    AppraisalBmanIdentDocument* getAppraisalIdentDocument();

    QString& getOgrn(QString& value) override;
    void setOgrn(const QString& value) override;
    QDate& getRegistrationDate(QDate& date) override;
    void setRegistrationDate(const QDate& date) override;
    bool isSimplifiedTaxation() override;
    void setSimplifiedTaxation(bool value) override;
    QString& getAccountant(QString& value) override;
    void setAccountant(const QString& value) override;
    QString& getAccountantPost(QString& value) override;
    void setAccountantPost(const QString& value) override;
    BankAccount* getBankAccount() override;
    AppraisalBankAccount* getAppraisalBankAccount() { return account(); }

    void load();
    // Inserts or updates the row under the company given, then the bank account. Throws
    // AutoEvalException when the details belong to another stored company.
    bool save(int company);
    using Businessman::save;
    void loadFromStorage(int index, EvaluationStorage& storage);

private:
    void bindValues(QSqlQuery& query, int company);

    QString texts[Person::FieldCount];
    QString ogrn;
    QDate registrationDate;
    bool simplifiedTaxation = false;
    QString accountant;
    QString accountantPost;
    std::unique_ptr<AppraisalBmanIdentDocument> document;
};

#endif
