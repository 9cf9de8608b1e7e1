#include "evaluation/vehicleownerontag.h"

#include "evaluation/agreecustomer.h"
#include "evaluation/agreement.h"
#include "evaluation/businessmanontag.h"
#include "model/evaluationstorage.h"
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

const TagTable::Fields& VehicleOwnerOnTag::fields()
{
    using Kind = TagTable::Kind;
    using Mode = TagTable::Mode;
    static const TagTable::Fields described = {
        {QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА-ОПРЕДЕЛЕНИЕ"), Kind::Bool, Mode::FileOnly},
        {QStringLiteral("ДОКУМЕНТ-ОСНОВАНИЕ_ЗАКАЗА"), Kind::Text, Mode::ComputedInReports},
        {QStringLiteral("ДАТА_ДОКУМЕНТ-ОСНОВАНИЯ_ЗАКАЗА"), Kind::Date, Mode::ComputedInReports},
        {QStringLiteral("СОБСТВЕННИК_ЯВЛЯЕТСЯ_ЗАКАЗЧИКОМ"), Kind::Bool, Mode::FileOnly},
    };
    return described;
}

const QStringList& VehicleOwnerOnTag::tagNames()
{
    static const QStringList names = TagTable::reportedNames(fields());
    return names;
}

VehicleOwnerOnTag::VehicleOwnerOnTag(Agreement* agreement, AgreeCustomer* customer, EvaluationStorage* storage)
    : agreement(agreement)
    , customer(customer)
    , storage(storage)
    , tags(storage, fields(), [this](int field) { return basisInReports(field); })
    , legalFormTag(QStringLiteral("ПРАВОВАЯ_ФОРМА_СОБСТВЕННИКА"))
{
}

VehicleOwnerOnTag::~VehicleOwnerOnTag() = default;

bool VehicleOwnerOnTag::getTag(const QString& name, QString& value, long flags)
{
    if (tags.getTag(name, value, flags))
        return true;
    if (!ownerIsCustomer())
        return getTagOfCurrentKind(name, value, flags);
    const QString asCustomer = customerTagName(name);
    return !asCustomer.isNull() && customer->getTag(asCustomer, value, flags);
}

// Until a basis document is given, reports name the valuation agreement and its date.
TagTable::Value VehicleOwnerOnTag::basisInReports(int field)
{
    const bool given = isBasisDocumentGiven();
    if (field == BasisDocument) {
        QString document = QStringLiteral("Договор на оценку");
        return given ? getBasisDocument(document) : document;
    }
    QDate date;
    return given ? getBasisDocumentDate(date) : agreement->getDate(date);
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
    tags.save(out);
    // The customer saves the party data of an owner who is the customer.
    if (!isCustomer())
        saveCurrentKind(out, legalFormTag);
}

customertype_t VehicleOwnerOnTag::getType() const
{
    return ownerIsCustomer() ? customer->getType() : ownType();
}

bool VehicleOwnerOnTag::ownerIsCustomer() const
{
    return isCustomerRead.get(*storage, [this] { return tags.get<bool>(IsCustomer); });
}

customertype_t VehicleOwnerOnTag::ownType() const
{
    return ownTypeRead.get(*storage, [this] { return storedType(*storage, legalFormTag); });
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
