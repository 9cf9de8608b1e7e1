#include "model/party.h"

#include "model/businessman.h"
#include "model/evaluationstorage.h"
#include "model/organization.h"
#include "model/person.h"
#include "values/tagutils.h"

#include <QIODevice>

QString Party::legalFormText(customertype_t type)
{
    switch (type) {
    case CUSTOMER_LEGAL_ENTITY:
        return QStringLiteral("Юридическое лицо");
    case CUSTOMER_SOLE_PROPRIETOR:
        return QStringLiteral("Индивидуальный предприниматель");
    case CUSTOMER_PERSON:
        break;
    }
    return QStringLiteral("Физическое лицо");
}

customertype_t Party::typeOfLegalForm(const QString& text)
{
    for (const customertype_t type : {CUSTOMER_LEGAL_ENTITY, CUSTOMER_SOLE_PROPRIETOR}) {
        if (text == legalFormText(type))
            return type;
    }
    return CUSTOMER_PERSON;
}

QStringList Party::tagNames(customertype_t type, customerrole_t role)
{
    switch (type) {
    case CUSTOMER_LEGAL_ENTITY:
        return Organization::tagNames(role);
    case CUSTOMER_SOLE_PROPRIETOR:
        return Businessman::tagNames(role);
    case CUSTOMER_PERSON:
        break;
    }
    return Person::tagNames(CUSTOMER_PERSON, role);
}

customertype_t Party::storedType(const EvaluationStorage& storage, const QString& legalFormTag)
{
    QString form;
    return typeOfLegalForm(storage.getTag(legalFormTag, form));
}

void Party::storeType(EvaluationStorage& storage, const QString& legalFormTag, customertype_t type)
{
    storage.setTag(legalFormTag, legalFormText(type));
}

PartyPart* Party::detailsOfCurrentKind()
{
    switch (getType()) {
    case CUSTOMER_LEGAL_ENTITY:
        return getOrg();
    case CUSTOMER_SOLE_PROPRIETOR:
        return getBusinessman();
    case CUSTOMER_PERSON:
        break;
    }
    return getPeople();
}

bool Party::getTagOfCurrentKind(const QString& name, QString& value, long flags)
{
    return detailsOfCurrentKind()->getTag(name, value, flags);
}

void Party::saveCurrentKind(QIODevice& out, const QString& legalFormTag)
{
    QString form = legalFormText(getType());
    QByteArray line;
    out.write(TagUtils::mkTagLine(legalFormTag, form, line));
    detailsOfCurrentKind()->save(out);
}
