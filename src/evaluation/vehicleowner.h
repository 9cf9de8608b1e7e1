#ifndef ZENTAVO_VEHICLEOWNER_H
#define ZENTAVO_VEHICLEOWNER_H

#include "model/party.h"

#include <QDate>

// The owner of the valued vehicle. The owner may be the customer of the agreement;
// then the owner's kind and details are the customer's. The order of the valuation
// rests on a basis document, by default the valuation agreement itself.
class ZENTAVO_EXPORT VehicleOwner : public Party
{
public:
    virtual bool isCustomer() = 0;
    virtual void setCustomer(bool value) = 0;
    // Whether the basis document is given explicitly rather than being the agreement.
    virtual bool isBasisDocumentGiven() = 0;
    virtual void setBasisDocumentGiven(bool value) = 0;
    virtual QString& getBasisDocument(QString& document) = 0;
    virtual void setBasisDocument(const QString& document) = 0;
    virtual QDate& getBasisDocumentDate(QDate& date) = 0;
    virtual void setBasisDocumentDate(const QDate& date) = 0;

    // The owner's own details, of the kind its own legal form names, whether or not
    // the owner is the customer. The Party accessors give the customer's details
    // while the owner is the customer.
    virtual Organization* getOwnerOrg() = 0;
    virtual Person* getOwnerPeople() = 0;
    virtual Businessman* getOwnerBusinessman() = 0;
};

#endif
