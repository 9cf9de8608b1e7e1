#ifndef ZENTAVO_BANKACCOUNT_H
#define ZENTAVO_BANKACCOUNT_H

#include "zentavo_export.h"

#include "values/tagtypes.h"
#include "values/tagutils.h"

#include <QHash>
#include <QString>
#include <QStringList>

class QIODevice;

// The bank account of a legal entity or a sole proprietor. Its tag names carry the
// kind and role of the party it belongs to; each field also answers an older, shorter
// name that templates still use. Where the values live is the implementation's choice.
class ZENTAVO_EXPORT BankAccount
{
public:
    // Also the order in which the fields are written.
    enum field_t { BANK_NAME = 0, ACCOUNT = 1, CORRESPONDENT_ACCOUNT = 2, BIC = 3 };
    static constexpr int FieldCount = 4;

    BankAccount(customertype_t type, customerrole_t role);
    virtual ~BankAccount();
    BankAccount(const BankAccount&) = delete;
    BankAccount& operator=(const BankAccount&) = delete;

    virtual QString& getText(field_t field, QString& value) = 0;
    virtual void setText(field_t field, const QString& value) = 0;

    // Knows each field by its primary name and by its alias.
    bool getTag(const QString& name, QString& value, long flags);
    // One line per field, always under the primary name; with an index of 0 or more
    // each name carries it, as the copies of an appraisal company in an evaluation do.
    void save(QIODevice& out, int index = TagUtils::NoIndex);

    const QString& tagName(field_t field) const { return names[field]; }
    // Every name it answers, aliases included.
    static QStringList tagNames(customertype_t type, customerrole_t role);

private:
    QString names[FieldCount];
    QHash<QString, field_t> fieldsByName;
};

#endif
