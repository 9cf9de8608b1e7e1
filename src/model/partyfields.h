#ifndef ZENTAVO_PARTYFIELDS_H
#define ZENTAVO_PARTYFIELDS_H

#include "zentavo_export.h"

#include "model/fieldkind.h"
#include "values/tagtypes.h"
#include "values/tagutils.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <cstddef>
#include <functional>

class EvaluationStorage;
class QIODevice;

// The fields of one part of a party (an organisation, a person, a sole proprietor's own
// details, a bank account, an identity document, an appraisal company's insurance
// policy), each described once in a table: the word of its tag, the older word templates
// still use, the kind of its value and its column in the catalog database. From the
// table come the tag names of the party's kind and role, the report tags, the tag lines
// of the evaluation file and the catalog row. The values live in the evaluation's tags
// when a storage is given, otherwise in memory, as a catalog record keeps them.
class ZENTAVO_EXPORT PartyFields
{
public:
    // One field of a party's part: its code, the word of its tag, the kind of its value and
    // its column in the catalog database.
    struct Field
    {
        int code;              // the field's value in the enumeration of its part
        const char* word;      // the tag name is the word and the party's suffix
        const char* alias;     // an older word that templates still use, or nullptr
        FieldKind::kind_t kind;
        const char* column;    // its column in the catalog table that keeps the part
    };
    // A table of fields, in the order of the tag lines; the codes run from 0 without a
    // gap. Tables are constant arrays that live as long as the program.
    class Table
    {
    public:
        template <std::size_t N>
        constexpr Table(const Field (&fields)[N])
            : first(fields)
            , count(int(N))
        {
        }
        const Field* begin() const { return first; }
        const Field* end() const { return first + count; }
        int size() const { return count; }

    private:
        const Field* first;
        int count;
    };

    PartyFields(Table table, customertype_t type, customerrole_t role, EvaluationStorage* storage);
    Q_DISABLE_COPY(PartyFields)

    QVariant value(int code) const;
    void setValue(int code, const QVariant& value);
    // The value as the tag holds it, and a value given as tag text.
    QString& text(int code, QString& out) const;
    void setText(int code, const QString& text);

    const QString& tagName(int code) const { return names.at(code); }
    // The names follow a party that changes its kind.
    void setType(customertype_t type);

    // A report tag of these fields, under its name or its older name, shaped by its flags.
    bool getTag(const QString& name, QString& value, long flags) const;
    // One line a field, always under its name; each name carries the index if one is given.
    void save(QIODevice& out, int index = TagUtils::NoIndex) const;
    // A copy in memory takes the values an evaluation keeps under the index. A text that
    // does not parse gives the value the parse gives, or, with KeepUnparsed, changes nothing.
    enum unparsed_t { TakeUnparsed, KeepUnparsed };
    void loadFromStorage(int index, const EvaluationStorage& storage, unparsed_t unparsed = TakeUnparsed);

    QStringList columns() const;
    // The values as the catalog row keeps them, by column.
    QVariantMap columnValues() const;
    void readColumns(const std::function<QVariant(const QString& column)>& stored);

    // Every name the fields answer, in table order, each older name after its own.
    static QStringList tagNames(Table table, customertype_t type, customerrole_t role);

private:
    const Field& field(int code) const { return *byCode.at(code); }

    const Table table;
    customerrole_t role;
    EvaluationStorage* storage;
    QList<const Field*> byCode;
    QList<QString> names;       // by code
    QHash<QString, int> codes;  // by name and by older name
    QList<QVariant> values;     // by code, when kept in memory
};

#endif
