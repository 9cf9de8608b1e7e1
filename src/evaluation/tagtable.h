#ifndef ZENTAVO_TAGTABLE_H
#define ZENTAVO_TAGTABLE_H

#include "zentavo_export.h"

#include "model/evaluationstorage.h"
#include "values/money.h"
#include "values/real.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>

class QIODevice;

// The fields of a section kept in an evaluation's tags, described once: each field's
// tag name, the kind of its value and how the section uses it. The description gives
// the section its report tag names, its tag lines (in description order) and its
// answers to report tags; the section's accessors read and write through it by field
// number. A value's kind also decides which report flags shape it: a date honours "Y",
// an amount the rounding flags and "R"; the other kinds are answered as they read.
class ZENTAVO_EXPORT TagTable
{
public:
    enum class Kind { Text, Date, Money, Real, Int, Bool };

    // Where a field's value comes from in the file and in reports.
    enum class Mode {
        Stored,            // written and reported as stored
        Computed,          // written and reported as the section computes it
        ComputedInReports, // written as stored, reported as the section computes it
        ReportOnly,        // reported as the section computes it, never written
        FileOnly           // written as stored, never reported
    };

    // One field of a section: its tag name, the kind of its value and how it is used.
    struct Field
    {
        QString name;
        Kind kind;
        Mode mode = Mode::Stored;
    };
    using Fields = QList<Field>;

    using Value = std::variant<QString, QDate, Money, Real, int, bool>;
    // The value the section computes for a field that is not only stored.
    using Compute = std::function<Value(int field)>;

    TagTable(EvaluationStorage* storage, const Fields& fields, Compute compute = {});

    const QString& name(int field) const { return fields.at(field).name; }

    template <typename T>
    T& get(int field, T& value) const
    {
        return storage->getTag(name(field), value);
    }
    // For the kinds read as a plain value: int and bool.
    template <typename T>
    T get(int field) const
    {
        T value{};
        return get(field, value);
    }
    template <typename T>
    void set(int field, const T& value)
    {
        storage->setTag(name(field), value);
    }

    // One tag line per written field, in description order.
    void save(QIODevice& out) const;
    // The report text of the field with this name; false when no reported field has it.
    bool getTag(const QString& name, QString& value, long flags) const;

    // The names of the reported fields, in description order.
    static QStringList reportedNames(const Fields& fields);

    // The pieces of the above, for tables whose rows live in memory.
    static Value read(const EvaluationStorage& storage, const QString& name, Kind kind);
    static Value nullValue(Kind kind);
    static QString& reportText(const Value& value, long flags, QString& out);
    static QByteArray& tagLine(const QString& name, const Value& value, QByteArray& out);

private:
    Value fieldValue(int field, bool forReport) const;

    EvaluationStorage* storage;
    const Fields& fields;
    Compute compute;
};

#endif
