#ifndef ZENTAVO_AGREECUSTOMERONTAG_H
#define ZENTAVO_AGREECUSTOMERONTAG_H

#include "evaluation/agreecustomer.h"
#include "evaluation/businessmanontag.h"
#include "evaluation/organizationontag.h"
#include "evaluation/personontag.h"
#include "model/cachedfromtags.h"

class EvaluationStorage;

// The customer kept in the evaluation's tags. Its kind is the legal form text stored
// under "ПРАВОВАЯ_ФОРМА_ЗАКАЗЧИКА"; the details of all three kinds stay in the tags,
// but only those of the current kind are answered and saved.
class ZENTAVO_EXPORT AgreeCustomerOnTag : public AgreeCustomer
{
public:
    explicit AgreeCustomerOnTag(EvaluationStorage* storage);

    bool getTag(const QString& name, QString& value, long flags) override;
    void save(QIODevice& out) override;
    customertype_t getType() const override;
    void setType(customertype_t type) override;
    Organization* getOrg() override;
    Person* getPeople() override;
    Businessman* getBusinessman() override;

private:
    EvaluationStorage* storage;
    const QString legalFormTag;
    CachedFromTags<customertype_t> type;
    OrganizationOnTag org;
    PersonOnTag person;
    BusinessmanOnTag businessman;
};

#endif
