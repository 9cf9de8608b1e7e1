#include "evaluation/tagtable.h"

#include "values/tagutils.h"

#include <QIODevice>

namespace {

bool isWritten(TagTable::Mode mode)
{
    return mode != TagTable::Mode::ReportOnly;
}

bool isReported(TagTable::Mode mode)
{
    return mode != TagTable::Mode::FileOnly;
}

bool isComputed(TagTable::Mode mode, bool forReport)
{
    switch (mode) {
    case TagTable::Mode::Computed:
    case TagTable::Mode::ReportOnly:
        return true;
    case TagTable::Mode::ComputedInReports:
        return forReport;
    case TagTable::Mode::Stored:
    case TagTable::Mode::FileOnly:
        break;
    }
    return false;
}

template <typename T>
TagTable::Value storedAs(const EvaluationStorage& storage, const QString& name)
{
    T value{};
    return storage.getTag(name, value);
}

// How each kind of value is answered to a report.
struct ReportText
{
    long flags;
    QString& out;

    QString& operator()(const QString& text) const { return out = text; }
    QString& operator()(const QDate& date) const { return TagUtils::condProcessFlagDATE(flags, date, out); }
    QString& operator()(const Money& amount) const { return TagUtils::condProcessFlagMONEY(flags, amount, out); }
    QString& operator()(const Real& number) const { return TagUtils::processReal(number, out); }
    QString& operator()(int number) const { return TagUtils::processInt(number, out); }
    QString& operator()(bool flag) const { return TagUtils::processBool(flag, out); }
};

} // namespace

TagTable::TagTable(EvaluationStorage* storage, const Fields& fields, Compute compute)
    : storage(storage), fields(fields), compute(std::move(compute))
{
}

void TagTable::save(QIODevice& out) const
{
    QByteArray line;
    for (int field = 0; field < fields.size(); ++field) {
        if (isWritten(fields.at(field).mode))
            out.write(tagLine(name(field), fieldValue(field, false), line));
    }
}

// Every report tag name passes through here for each section until one answers, so
// the scan stays a plain walk over the array.
bool TagTable::getTag(const QString& name, QString& value, long flags) const
{
    const Field* const first = fields.constData();
    const Field* const end = first + fields.size();
    for (const Field* field = first; field != end; ++field) {
        if (field->name == name && isReported(field->mode)) {
            reportText(fieldValue(int(field - first), true), flags, value);
            return true;
        }
    }
    return false;
}

TagTable::Value TagTable::fieldValue(int field, bool forReport) const
{
    const Field& described = fields.at(field);
    if (isComputed(described.mode, forReport))
        return compute(field);
    return read(*storage, described.name, described.kind);
}

QStringList TagTable::reportedNames(const Fields& fields)
{
    QStringList names;
    for (const Field& field : fields) {
        if (isReported(field.mode))
            names << field.name;
    }
    return names;
}

TagTable::Value TagTable::read(const EvaluationStorage& storage, const QString& name, Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return storedAs<QString>(storage, name);
    case Kind::Date:
        return storedAs<QDate>(storage, name);
    case Kind::Money:
        return storedAs<Money>(storage, name);
    case Kind::Real:
        return storedAs<Real>(storage, name);
    case Kind::Int:
        return storedAs<int>(storage, name);
    case Kind::Bool:
        break;
    }
    return storedAs<bool>(storage, name);
}

TagTable::Value TagTable::nullValue(Kind kind)
{
    switch (kind) {
    case Kind::Text:
        return QString();
    case Kind::Date:
        return QDate();
    case Kind::Money:
        return Money();
    case Kind::Real:
        return Real();
    case Kind::Int:
        return -1;
    case Kind::Bool:
        break;
    }
    return false;
}

QString& TagTable::reportText(const Value& value, long flags, QString& out)
{
    return std::visit(ReportText{flags, out}, value);
}

QByteArray& TagTable::tagLine(const QString& name, const Value& value, QByteArray& out)
{
    return std::visit(
        [&](const auto& typed) -> QByteArray& {
            auto copy = typed; // a text line escapes its value in place
            return TagUtils::mkTagLine(name, copy, out);
        },
        value);
}
