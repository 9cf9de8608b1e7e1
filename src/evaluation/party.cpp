#include "evaluation/party.h"

#include "evaluation/businessman.h"
#include "evaluation/organization.h"
#include "evaluation/person.h"
#include "values/tagutils.h"

#include <QIODevice>

namespace {

const QString& legalEntityText()
{
    static const QString text = QStringLiteral("Юридическое лицо");
    return text;
}

const QString& personText()
{
    static const QString text = QStringLiteral("Физическое лицо");
    return text;
}

const QString& soleProprietorText()
{
    static const QString text = QStringLiteral("Индивидуальный предприниматель");
    return text;
}

} // namespace

QString Party::legalFormText(customertype_t type)
{
    switch (type) {
    case CUSTOMER_LEGAL_ENTITY:
        return legalEntityText();
    case CUSTOMER_SOLE_PROPRIETOR:
        return soleProprietorText();
    case CUSTOMER_PERSON:
        break;
    }
    return personText();
}

customertype_t Party::typeOfLegalForm(const QString& text)
{
    if (text == legalEntityText())
        return CUSTOMER_LEGAL_ENTITY;
    if (text == soleProprietorText())
        return CUSTOMER_SOLE_PROPRIETOR;
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

bool Party::getTagOfCurrentKind(const QString& name, QString& value, long flags)
{
    switch (getType()) {
    case CUSTOMER_LEGAL_ENTITY:
        return getOrg()->getTag(name, value, flags);
    case CUSTOMER_SOLE_PROPRIETOR:
        return getBusinessman()->getTag(name, value, flags);
    case CUSTOMER_PERSON:
        break;
    }
    return getPeople()->getTag(name, value, flags);
}

void Party::saveCurrentKind(QIODevice& out, const QString& legalFormTag)
{
    const customertype_t type = getType();
    QString form = legalFormText(type);
    QByteArray line;
    out.write(TagUtils::mkTagLine(legalFormTag, form, line));
    switch (type) {
    case CUSTOMER_LEGAL_ENTITY:
        getOrg()->save(out);
        return;
    case CUSTOMER_SOLE_PROPRIETOR:
        getBusinessman()->save(out);
        return;
    case CUSTOMER_PERSON:
        break;
    }
    getPeople()->save(out);
}
