#ifndef ZENTAVO_VEHICLEOWNERONTAG_H
#define ZENTAVO_VEHICLEOWNERONTAG_H

#include "evaluation/vehicleowner.h"

#include <memory>

#include <QStringList>

class Agreement;
class AgreeCustomer;
class BusinessmanOnTag;
class EvaluationStorage;
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

    bool isCustomer() override;
    void setCustomer(bool value) override;
    bool isBasisDocumentGiven() override;
    void setBasisDocumentGiven(bool value) override;
    QString& getBasisDocument(QString& document) override;
    void setBasisDocument(const QString& document) override;
    QDate& getBasisDocumentDate(QDate& date) override;
    void setBasisDocumentDate(const QDate& date) override;
    Organization* getOwnerOrg() override;
    Person* getOwnerPeople() override;
    Businessman* getOwnerBusinessman() override;

private:
    bool ownerIsCustomer() const;
    customertype_t ownType() const;
    bool getBasisDocumentTag(const QString& name, QString& value, long flags);
    QString customerTagName(const QString& ownerTagName) const;

    Agreement* agreement;
    AgreeCustomer* customer;
    EvaluationStorage* storage;
    const QString legalFormTag;
    const QString isCustomerTag;
    const QString basisGivenTag;
    const QString basisDocumentTag;
    const QString basisDateTag;
    std::unique_ptr<OrganizationOnTag> org;
    std::unique_ptr<PersonOnTag> person;
    std::unique_ptr<BusinessmanOnTag> businessman;
};

#endif
