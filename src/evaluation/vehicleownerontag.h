#ifndef ZENTAVO_VEHICLEOWNERONTAG_H
#define ZENTAVO_VEHICLEOWNERONTAG_H

#include "evaluation/tagtable.h"
#include "evaluation/vehicleowner.h"
#include "model/cachedfromtags.h"

#include <memory>

class Agreement;
class AgreeCustomer;
class BusinessmanOnTag;
class OrganizationOnTag;
class PersonOnTag;

// The owner kept in the evaluation's tags. While the owner is the customer, the
// owner's party tags ("…_СОБСТВЕННИКА…") are answered from the customer's data, so a
// template that names the owner shows the right person, and the file keeps only the
// owner's four own tags. Asking for details of a kind other than the current one
// throws AutoEvalException. The agreement and the customer must outlive the owner.
class ZENTAVO_EXPORT VehicleOwnerOnTag : public VehicleOwner
{
public:
    VehicleOwnerOnTag(Agreement* agreement, AgreeCustomer* customer, EvaluationStorage* storage);
    ~VehicleOwnerOnTag() override;

    bool getTag(const QString& name, QString& value, long flags) override;
    // Its own report tags; the owner's party tags are those of Party::tagNames.
    static const QStringList& tagNames();
    void save(QIODevice& out) override;
    customertype_t getType() const override;
    void setType(customertype_t type) override;
    Organization* getOrg() override;
    Person* getPeople() override;
    Businessman* getBusinessman() override;

    bool isCustomer() override { return ownerIsCustomer(); }
    void setCustomer(bool value) override { tags.set(IsCustomer, value); }
    bool isBasisDocumentGiven() override { return tags.get<bool>(BasisGiven); }
    void setBasisDocumentGiven(bool value) override { tags.set(BasisGiven, value); }
    QString& getBasisDocument(QString& document) override { return tags.get(BasisDocument, document); }
    void setBasisDocument(const QString& document) override { tags.set(BasisDocument, document); }
    QDate& getBasisDocumentDate(QDate& date) override { return tags.get(BasisDate, date); }
    void setBasisDocumentDate(const QDate& date) override { tags.set(BasisDate, date); }
    Organization* getOwnerOrg() override;
    Person* getOwnerPeople() override;
    Businessman* getOwnerBusinessman() override;

private:
    // The owner's own tags, in the order they are written.
    enum Field : int { BasisGiven, BasisDocument, BasisDate, IsCustomer };
    static const TagTable::Fields& fields();

    bool ownerIsCustomer() const;
    customertype_t ownType() const;
    TagTable::Value basisInReports(int field);
    QString customerTagName(const QString& ownerTagName) const;

    Agreement* agreement;
    AgreeCustomer* customer;
    EvaluationStorage* storage;
    TagTable tags;
    const QString legalFormTag;
    CachedFromTags<bool> isCustomerRead;
    CachedFromTags<customertype_t> ownTypeRead;
    std::unique_ptr<OrganizationOnTag> org;
    std::unique_ptr<PersonOnTag> person;
    std::unique_ptr<BusinessmanOnTag> businessman;
};

#endif
