#ifndef ZENTAVO_PARTY_H
#define ZENTAVO_PARTY_H

#include "zentavo_export.h"

#include "values/tagtypes.h"

#include <QString>
#include <QStringList>

class Businessman;
class EvaluationStorage;
class Organization;
class PartyPart;
class Person;
class QIODevice;

// A party of a valuation: the customer of the agreement, the owner of the vehicle or
// the appraisal company. A party is a legal entity, a natural person or a sole
// proprietor, and keeps the details of each kind in an object of its own whose tag
// names carry the party's role, so the same field of two parties never collides.
class ZENTAVO_EXPORT Party
{
public:
    Party() = default;
    virtual ~Party() = default;
    Q_DISABLE_COPY(Party)

    // Answers the report tags of the party's current kind only; name is upper-cased.
    virtual bool getTag(const QString& name, QString& value, long flags) = 0;
    virtual void save(QIODevice& out) = 0;
    virtual customertype_t getType() const = 0;
    virtual void setType(customertype_t type) = 0;
    virtual Organization* getOrg() = 0;
    virtual Person* getPeople() = 0;
    virtual Businessman* getBusinessman() = 0;

    // The text that records a kind of party; any kind but 0 and 2 is a natural person.
    static QString legalFormText(customertype_t type);
    // The kind a recorded text stands for; an unknown or empty text is a natural person.
    static customertype_t typeOfLegalForm(const QString& text);
    // The report tags a party of this kind answers in this role.
    static QStringList tagNames(customertype_t type, customerrole_t role);

protected:
    // The kind of a party kept in tags, as the legal form text under the given tag.
    static customertype_t storedType(const EvaluationStorage& storage, const QString& legalFormTag);
    static void storeType(EvaluationStorage& storage, const QString& legalFormTag, customertype_t type);
    PartyPart* detailsOfCurrentKind();
    // For parties that keep all three kinds: only the object of the current kind is asked.
    bool getTagOfCurrentKind(const QString& name, QString& value, long flags);
    // The legal form line under the given tag, then the lines of the current kind's object.
    void saveCurrentKind(QIODevice& out, const QString& legalFormTag);
};

#endif
