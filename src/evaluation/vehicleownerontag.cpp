#include "evaluation/vehicleownerontag.h"

#include "evaluation/agreecustomer.h"
#include "evaluation/agreement.h"
#include "evaluation/businessmanontag.h"
#include "evaluation/evaluationstorage.h"
#include "evaluation/organizationontag.h"
#include "evaluation/personontag.h"
#include "runtime/autoevalexception.h"
#include "values/tagutils.h"

#include <QIODevice>

namespace {

// Errors of the owner name this file as the place of the failed check.
QString errorFile()
{
    return QStringLiteral("vehicleowner");
}

} // namespace

const QStringList& VehicleOwnerOnTag::tagNames()
{
    static const QStringList names = {
        QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА"),
        QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА"),
    };
    return names;
}

VehicleOwnerOnTag::VehicleOwnerOnTag(Agreement* agreement, AgreeCustomer* customer, EvaluationStorage* storage)
    : agreement(agreement)
    , customer(customer)
    , storage(storage)
    , legalFormTag(QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА"))
    , isCustomerTag(QStringLiteral("СОБСТВЕННИК_ЯВЛЯЕТСЯ_ЗАКАЗЧИКОМ"))
    , basisGivenTag(QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ"))
    , basisDocumentTag(tagNames().at(0))
    , basisDateTag(tagNames().at(1))
{
}

VehicleOwnerOnTag::~VehicleOwnerOnTag() = default;

bool VehicleOwnerOnTag::getTag(const QString& name, QString& value, long flags)
{
    if (getBasisDocumentTag(name, value, flags))
        return true;
    if (!ownerIsCustomer())
        return getTagOfCurrentKind(name, value, flags);
    const QString asCustomer = customerTagName(name);
    return !asCustomer.isNull() && customer->getTag(asCustomer, value, flags);
}

bool VehicleOwnerOnTag::getBasisDocumentTag(const QString& name, QString& value, long flags)
{
    if (name == basisDocumentTag) {
        if (isBasisDocumentGiven())
            getBasisDocument(value);
        else
            value = QStringLiteral("Договор на оценку");
        return true;
    }
    if (name == basisDateTag) {
        QDate date;
        if (isBasisDocumentGiven())
            getBasisDocumentDate(date);
        else
            agreement->getDate(date);
        TagUtils::condProcessFlagDATE(flags, date, value);
        return true;
    }
    return false;
}

// The customer's name of an owner's party tag of the current kind: the owner's role
// suffix at the end becomes the customer's. A null string for any other name.
QString VehicleOwnerOnTag::customerTagName(const QString& ownerTagName) const
{
    const customertype_t type = customer->getType();
    QString ownerSuffix;
    TagUtils::mkRole(type, ROLE_OWNER, ownerSuffix);
    if (!ownerTagName.endsWith(ownerSuffix))
        return QString();
    QString customerSuffix;
    TagUtils::mkRole(type, ROLE_CUSTOMER, customerSuffix);
    return ownerTagName.chopped(ownerSuffix.size()) + customerSuffix;
}

void VehicleOwnerOnTag::save(QIODevice& out)
{
    QByteArray line;
    QString document;
    QDate date;
    out.write(TagUtils::mkTagLine(basisGivenTag, isBasisDocumentGiven(), line));
    out.write(TagUtils::mkTagLine(basisDocumentTag, getBasisDocument(document), line));
    out.write(TagUtils::mkTagLine(basisDateTag, getBasisDocumentDate(date), line));
    const bool asCustomer = isCustomer();
    out.write(TagUtils::mkTagLine(isCustomerTag, asCustomer, line));
    // The customer saves the party data of an owner who is the customer.
    if (!asCustomer)
        saveCurrentKind(out, legalFormTag);
}

customertype_t VehicleOwnerOnTag::getType() const
{
    return ownerIsCustomer() ? customer->getType() : ownType();
}

customertype_t VehicleOwnerOnTag::ownType() const
{
    return storedType(*storage, legalFormTag);
}

void VehicleOwnerOnTag::setType(customertype_t type)
{
    storeType(*storage, legalFormTag, type);
}

Organization* VehicleOwnerOnTag::getOrg()
{
    if (!ownerIsCustomer())
        return getOwnerOrg();
    if (customer->getType() != CUSTOMER_LEGAL_ENTITY)
        throw AutoEvalException(errorFile(), __LINE__);
    return customer->getOrg();
}

Person* VehicleOwnerOnTag::getPeople()
{
    if (!ownerIsCustomer())
        return getOwnerPeople();
    if (customer->getType() != CUSTOMER_PERSON)
        throw AutoEvalException(errorFile(), __LINE__);
    return customer->getPeople();
}

Businessman* VehicleOwnerOnTag::getBusinessman()
{
    if (!ownerIsCustomer())
        return getOwnerBusinessman();
    if (customer->getType() != CUSTOMER_SOLE_PROPRIETOR)
        throw AutoEvalException(errorFile(), __LINE__);
    return customer->getBusinessman();
}

Organization* VehicleOwnerOnTag::getOwnerOrg()
{
    if (ownType() != CUSTOMER_LEGAL_ENTITY)
        throw AutoEvalException(errorFile(), __LINE__);
    if (!org)
        org = std::make_unique<OrganizationOnTag>(ROLE_OWNER, storage);
    return org.get();
}

Person* VehicleOwnerOnTag::getOwnerPeople()
{
    if (ownType() != CUSTOMER_PERSON)
        throw AutoEvalException(errorFile(), __LINE__);
    if (!person)
        person = std::make_unique<PersonOnTag>(ROLE_OWNER, storage);
    return person.get();
}

Businessman* VehicleOwnerOnTag::getOwnerBusinessman()
{
    if (ownType() != CUSTOMER_SOLE_PROPRIETOR)
        throw AutoEvalException(errorFile(), __LINE__);
    if (!businessman)
        businessman = std::make_unique<BusinessmanOnTag>(ROLE_OWNER, storage);
    return businessman.get();
}

bool VehicleOwnerOnTag::isCustomer()
{
    return ownerIsCustomer();
}

bool VehicleOwnerOnTag::ownerIsCustomer() const
{
    bool value = false;
    return storage->getTag(isCustomerTag, value);
}

void VehicleOwnerOnTag::setCustomer(bool value)
{
    storage->setTag(isCustomerTag, value);
}

bool VehicleOwnerOnTag::isBasisDocumentGiven()
{
    bool value = false;
    return storage->getTag(basisGivenTag, value);
}

void VehicleOwnerOnTag::setBasisDocumentGiven(bool value)
{
    storage->setTag(basisGivenTag, value);
}

QString& VehicleOwnerOnTag::getBasisDocument(QString& document)
{
    return storage->getTag(basisDocumentTag, document);
}

void VehicleOwnerOnTag::setBasisDocument(const QString& document)
{
    storage->setTag(basisDocumentTag, document);
}

QDate& VehicleOwnerOnTag::getBasisDocumentDate(QDate& date)
{
    return storage->getTag(basisDateTag, date);
}

void VehicleOwnerOnTag::setBasisDocumentDate(const QDate& date)
{
    storage->setTag(basisDateTag, date);
}
