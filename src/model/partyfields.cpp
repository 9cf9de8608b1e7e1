#include "model/partyfields.h"

#include "model/evaluationstorage.h"

#include <QIODevice>

namespace {

QString suffixOf(customertype_t type, customerrole_t role)
{
    QString suffix;
    return TagUtils::mkRole(type, role, suffix);
}

} // namespace

PartyFields::PartyFields(Table table, customertype_t type, customerrole_t role, EvaluationStorage* storage)
    : table(table)
    , role(role)
    , storage(storage)
    , byCode(table.size())
    , names(table.size())
{
    for (const Field& described : table)
        byCode[described.code] = &described;
    if (!storage) {
        for (int code = 0; code < table.size(); ++code)
            values.append(FieldKind::empty(field(code).kind));
    }
    setType(type);
}

void PartyFields::setType(customertype_t type)
{
    const QString suffix = suffixOf(type, role);
    codes.clear();
    for (const Field& described : table) {
        names[described.code] = QString::fromUtf8(described.word) + suffix;
        codes.insert(names[described.code], described.code);
        if (described.alias)
            codes.insert(QString::fromUtf8(described.alias) + suffix, described.code);
    }
}

QVariant PartyFields::value(int code) const
{
    if (!storage)
        return values.at(code);
    QString text;
    return FieldKind::fromTagText(field(code).kind, storage->getTag(names.at(code), text));
}

void PartyFields::setValue(int code, const QVariant& value)
{
    if (!storage) {
        values[code] = value;
        return;
    }
    QString text;
    storage->setTag(names.at(code), FieldKind::tagText(field(code).kind, value, text));
}

QString& PartyFields::text(int code, QString& out) const
{
    if (storage)
        return storage->getTag(names.at(code), out);
    return FieldKind::tagText(field(code).kind, values.at(code), out);
}

void PartyFields::setText(int code, const QString& text)
{
    if (storage)
        storage->setTag(names.at(code), text);
    else
        values[code] = FieldKind::fromTagText(field(code).kind, text);
}

bool PartyFields::getTag(const QString& name, QString& value, long flags) const
{
    const auto found = codes.constFind(name);
    if (found == codes.cend())
        return false;
    FieldKind::reportText(field(*found).kind, this->value(*found), flags, value);
    return true;
}

void PartyFields::save(QIODevice& out, int index) const
{
    QByteArray line;
    QString name;
    for (const Field& described : table) {
        QString text;
        FieldKind::tagText(described.kind, value(described.code), text);
        out.write(TagUtils::mkTagLine(TagUtils::appendIndexIfAny(names.at(described.code), index, name), text, line));
    }
}

void PartyFields::loadFromStorage(int index, const EvaluationStorage& copied, unparsed_t unparsed)
{
    QString name;
    QString text;
    for (const Field& described : table) {
        bool parsed = false;
        copied.getTag(TagUtils::appendIndex(names.at(described.code), index, name), text);
        const QVariant read = FieldKind::fromTagText(described.kind, text, &parsed);
        if (parsed || unparsed == TakeUnparsed)
            setValue(described.code, read);
    }
}

QStringList PartyFields::columns() const
{
    QStringList named;
    for (const Field& described : table)
        named << QString::fromLatin1(described.column);
    return named;
}

QVariantMap PartyFields::columnValues() const
{
    QVariantMap row;
    for (const Field& described : table)
        row.insert(QString::fromLatin1(described.column), FieldKind::toColumn(described.kind, value(described.code)));
    return row;
}

void PartyFields::readColumns(const std::function<QVariant(const QString& column)>& stored)
{
    for (const Field& described : table)
        setValue(described.code, FieldKind::fromColumn(described.kind, stored(QString::fromLatin1(described.column))));
}

QStringList PartyFields::tagNames(Table table, customertype_t type, customerrole_t role)
{
    const QString suffix = suffixOf(type, role);
    QStringList answered;
    for (const Field& described : table) {
        answered << QString::fromUtf8(described.word) + suffix;
        if (described.alias)
            answered << QString::fromUtf8(described.alias) + suffix;
    }
    return answered;
}
