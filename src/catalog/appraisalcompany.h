#ifndef ZENTAVO_APPRAISALCOMPANY_H
#define ZENTAVO_APPRAISALCOMPANY_H

#include "model/party.h"
#include "model/partyfields.h"

#include <QDate>
#include <QImage>

#include <memory>

class AppraisalBusinessman;
class AppraisalOrg;
class EvaluationStorage;

// The firm on whose behalf an appraiser works: a legal entity or a sole proprietor,
// with its liability insurance policy, additional information, logo and bank account.
// The user keeps companies in the catalog database; an evaluation carries a copy of one
// company per appraiser, under the appraiser's position. A company read from an
// evaluation is detached (identifier -1): saving it stores it as a new company.
class ZENTAVO_EXPORT AppraisalCompany : public Party
{
public:
    AppraisalCompany();
    explicit AppraisalCompany(int id);
    AppraisalCompany(int index, EvaluationStorage& storage);
    ~AppraisalCompany() override;

    // Answers the company's own six tags, then those of its current kind's details.
    bool getTag(const QString& name, QString& value, long flags) override;
    // The report tags a company of this kind (legal entity or sole proprietor) answers,
    // without the report number.
    static QStringList tagNames(customertype_t kind);
    // A company is always written under a position: throws AutoEvalException.
    void save(QIODevice& out) override;
    customertype_t getType() const override { return type; }
    // A private person cannot be an appraisal company: type 1 throws AutoEvalException.
    void setType(customertype_t newType) override;
    Organization* getOrg() override;
    // Throws AutoEvalException: a company has no private-person details.
    Person* getPeople() override;
    Businessman* getBusinessman() override;
    AppraisalOrg* getAppraisalOrg();
    AppraisalBusinessman* getAppraisalBusinessman();

    int getId() const { return id; }
    QString& getPolicyNumber(QString& value) const { return policy.text(POLICY_NUMBER, value); }
    void setPolicyNumber(const QString& value) { policy.setValue(POLICY_NUMBER, value); }
    QString& getPolicyInsurer(QString& value) const { return policy.text(POLICY_INSURER, value); }
    void setPolicyInsurer(const QString& value) { policy.setValue(POLICY_INSURER, value); }
    QDate& getPolicyDate(QDate& value) const { return value = policy.value(POLICY_DATE).toDate(); }
    void setPolicyDate(const QDate& value) { policy.setValue(POLICY_DATE, value); }
    // -1: no limit given.
    int getPolicyLimit() const { return policy.value(POLICY_LIMIT).toInt(); }
    void setPolicyLimit(int value) { policy.setValue(POLICY_LIMIT, value); }
    bool getPolicyAdditionalResponsibility() const { return policy.value(ADDITIONAL_RESPONSIBILITY).toBool(); }
    void setPolicyAdditionalResponsibility(bool value) { policy.setValue(ADDITIONAL_RESPONSIBILITY, value); }
    QString& getAddInfo(QString& value) const { return policy.text(ADD_INFO, value); }
    void setAddInfo(const QString& value) { policy.setValue(ADD_INFO, value); }
    QImage& getLogo(QImage& value) const { return value = logo; }
    void setLogo(const QImage& value) { logo = value; }
    bool isLogo() const { return !logo.isNull(); }

    // Reads the company row; the details are read on first access. A missing row or an
    // invalid type throws AutoEvalException. Nothing happens for identifier -1.
    void load();
    void load(int companyId);
    // Stores the company and the details that were ever accessed, all or nothing: a failed
    // statement rolls the whole save back, the identifiers are what they were before it,
    // and the answer is false. The details of the other kind, which a company that changed
    // its kind leaves behind, are removed in the same save with their bank account.
    bool save();
    // The evaluation does not carry the logo: it is taken from the stored company of the
    // same kind and taxpayer number. No number, no such company or a catalog that cannot
    // answer (logged) give no logo, never an exception: a report goes on without it.
    void loadLogo();
    // The taxpayer number of the details of the current kind.
    QString taxpayerNumber();
    // The identifier of the stored company of the kind and taxpayer number whose logo
    // reports show (the first stored), -1 when there is none or the number is empty;
    // false when the catalog cannot answer.
    static bool findStored(customertype_t kind, const QString& inn, int& storedId);
    void init(int companyId);

    // The type tag, the six own tags and the details, all under the given position.
    bool save(int index, QIODevice& out);
    void loadFromStorage(int index, EvaluationStorage& storage);

private:
    // The company's own fields, beside those of its legal entity or proprietor.
    enum field_t { POLICY_NUMBER, POLICY_INSURER, POLICY_DATE, POLICY_LIMIT, ADDITIONAL_RESPONSIBILITY, ADD_INFO };

    static const PartyFields::Field policyTable[];
    static QString typeTag();
    QVariantMap row() const;
    bool saveRows();
    bool removeDetailsOf(customertype_t kind);

    int id = -1;
    customertype_t type = CUSTOMER_LEGAL_ENTITY;
    PartyFields policy;
    QImage logo;
    std::unique_ptr<AppraisalOrg> org;
    std::unique_ptr<AppraisalBusinessman> businessman;
};

#endif
