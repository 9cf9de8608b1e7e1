#include "evaluation/equipmenttableontag.h"

#include "model/evaluationstorage.h"
#include "runtime/autoevalexception.h"
#include "values/tagutils.h"

#include <QIODevice>

#include <iterator>

namespace {

QString tablePrefix(int kind)
{
    switch (kind) {
    case EquipmentTable::Completion:
        return QStringLiteral("ДОУКОМПЛЕКТАЦИЯ_");
    case EquipmentTable::Removal:
        return QStringLiteral("РАЗУКОМПЛЕКТАЦИЯ_");
    case EquipmentTable::Conversion:
        return QStringLiteral("ПЕРЕОБОРУДОВАНИЕ_");
    }
    ZENTAVO_THROW();
}

} // namespace

EquipmentTableOnTag::EquipmentTableOnTag(int kind, EvaluationStorage* storage) : kind(kind), storage(storage)
{
    const QString prefix = tablePrefix(kind);
    for (int column = 0; column < ColumnCount; ++column)
        columnTags[column] = prefix + info(Column(column)).word;
    markerTag = prefix + QStringLiteral("СТРОКА");
    readRows();
}

EquipmentTableOnTag::~EquipmentTableOnTag() = default;

QStringList EquipmentTableOnTag::tagNames(int kind)
{
    const QString prefix = tablePrefix(kind);
    QStringList names;
    for (Column column : resolvedColumns())
        names << prefix + info(column).word;
    return names;
}

const EquipmentTableOnTag::ColumnInfo& EquipmentTableOnTag::info(Column column)
{
    static const ColumnInfo table[] = {
        {QStringLiteral("ДЕТАЛЬ"), CellKind::Text, &Row::part, nullptr},
        {QStringLiteral("ИСТОЧНИК"), CellKind::Text, &Row::source, nullptr},
        {QStringLiteral("ЦЕНА"), CellKind::Amount, nullptr, &Row::price},
        {QStringLiteral("СНЯТО_ДЕТАЛЬ"), CellKind::Text, &Row::removedPart, nullptr},
        {QStringLiteral("СНЯТО_ИСТОЧНИК"), CellKind::Text, &Row::removedPartSource, nullptr},
        {QStringLiteral("СНЯТО_ЦЕНА"), CellKind::Amount, nullptr, &Row::removedPartPrice},
        {QStringLiteral("РАБОТА"), CellKind::Amount, nullptr, &Row::work},
        {QStringLiteral("АМОРТИЗАЦИЯ"), CellKind::Flag, nullptr, nullptr},
        {QStringLiteral("ИЗНОС"), CellKind::Number, nullptr, nullptr},
    };
    static_assert(std::size(table) == ColumnCount, "one entry per column, in column order");
    return table[column];
}

const QList<EquipmentTableOnTag::Column>& EquipmentTableOnTag::storedColumns() const
{
    static const QList<Column> plain = {Part, Source, Price, Work, Depreciation, Wear};
    static const QList<Column> conversion = {Part, Source, Price, RemovedPart, RemovedPartSource,
                                             RemovedPartPrice, Work, Depreciation, Wear};
    return kind == Conversion ? conversion : plain;
}

// Completion rows keep no depreciation flag (it follows the wear) and removal rows
// no wear, so neither is written for them.
const QList<EquipmentTableOnTag::Column>& EquipmentTableOnTag::writtenColumns() const
{
    static const QList<Column> byKind[] = {
        {Part, Source, Price, Work, Wear},
        {Part, Source, Price, Work, Depreciation},
        {Part, Source, Price, Work, Depreciation, Wear, RemovedPart, RemovedPartSource, RemovedPartPrice},
    };
    return byKind[kind];
}

const QList<EquipmentTableOnTag::Column>& EquipmentTableOnTag::resolvedColumns()
{
    static const QList<Column> order = {Part, Source, Price, RemovedPartPrice, Work,
                                        Wear, Depreciation, RemovedPart, RemovedPartSource};
    return order;
}

int EquipmentTableOnTag::count()
{
    return int(rows.size());
}

bool EquipmentTableOnTag::insertRow(int row)
{
    if (row < 0 || row > rows.size())
        return false;
    rows.insert(row, Row());
    return true;
}

bool EquipmentTableOnTag::removeRow(int row)
{
    if (!isRow(row))
        return false;
    rows.removeAt(row);
    return true;
}

QString& EquipmentTableOnTag::getPart(int row, QString& part)
{
    return textAt(row, &Row::part, part);
}

void EquipmentTableOnTag::setPart(int row, const QString& part)
{
    setCell(row, &Row::part, part);
}

QString& EquipmentTableOnTag::getSource(int row, QString& source)
{
    return textAt(row, &Row::source, source);
}

void EquipmentTableOnTag::setSource(int row, const QString& source)
{
    setCell(row, &Row::source, source);
}

Money& EquipmentTableOnTag::getPrice(int row, Money& price)
{
    return amountAt(row, &Row::price, price);
}

void EquipmentTableOnTag::setPrice(int row, const Money& price)
{
    setCell(row, &Row::price, price);
}

QString& EquipmentTableOnTag::getRemovedPart(int row, QString& part)
{
    return textAt(row, &Row::removedPart, part);
}

void EquipmentTableOnTag::setRemovedPart(int row, const QString& part)
{
    setCell(row, &Row::removedPart, part);
}

QString& EquipmentTableOnTag::getRemovedPartSource(int row, QString& source)
{
    return textAt(row, &Row::removedPartSource, source);
}

void EquipmentTableOnTag::setRemovedPartSource(int row, const QString& source)
{
    setCell(row, &Row::removedPartSource, source);
}

Money& EquipmentTableOnTag::getRemovedPartPrice(int row, Money& price)
{
    return amountAt(row, &Row::removedPartPrice, price);
}

void EquipmentTableOnTag::setRemovedPartPrice(int row, const Money& price)
{
    setCell(row, &Row::removedPartPrice, price);
}

Money& EquipmentTableOnTag::getWork(int row, Money& work)
{
    return amountAt(row, &Row::work, work);
}

void EquipmentTableOnTag::setWork(int row, const Money& work)
{
    setCell(row, &Row::work, work);
}

bool EquipmentTableOnTag::getDepreciation(int row, bool* valid)
{
    if (valid)
        *valid = isRow(row);
    return depreciationAt(row);
}

void EquipmentTableOnTag::setDepreciation(int row, bool depreciation)
{
    setCell(row, &Row::depreciation, depreciation);
}

Real& EquipmentTableOnTag::getWear(int row, Real& wear)
{
    return wearAt(row, wear);
}

void EquipmentTableOnTag::setWear(int row, const Real& wear)
{
    setCell(row, &Row::wear, wear);
}

QString& EquipmentTableOnTag::textAt(int row, QString Row::*cell, QString& out) const
{
    out = isRow(row) ? rows.at(row).*cell : QString();
    return out;
}

Money& EquipmentTableOnTag::amountAt(int row, Money Row::*cell, Money& out) const
{
    out = isRow(row) ? rows.at(row).*cell : Money();
    return out;
}

bool EquipmentTableOnTag::depreciationAt(int row) const
{
    if (!isRow(row))
        return false;
    if (kind != Completion)
        return rows.at(row).depreciation;
    const Real& wear = rows.at(row).wear;
    return !wear.isNull() && !wear.isZERO();
}

Real& EquipmentTableOnTag::wearAt(int row, Real& out) const
{
    out = isRow(row) && kind != Removal ? rows.at(row).wear : Real();
    return out;
}

QString EquipmentTableOnTag::cellTag(Column column, int row) const
{
    QString tag;
    return TagUtils::appendIndex(columnTags[column], row, tag);
}

void EquipmentTableOnTag::readRows()
{
    for (int row = 0; hasMarker(row); ++row) {
        Row read;
        for (Column column : storedColumns())
            readCell(column, row, read);
        rows.append(read);
    }
}

bool EquipmentTableOnTag::hasMarker(int row) const
{
    QString tag;
    bool marked = false;
    return storage->getTag(TagUtils::appendIndex(markerTag, row, tag), marked);
}

void EquipmentTableOnTag::readCell(Column column, int row, Row& into) const
{
    const ColumnInfo& cell = info(column);
    const QString tag = cellTag(column, row);
    switch (cell.kind) {
    case CellKind::Text:
        storage->getTag(tag, into.*cell.text);
        break;
    case CellKind::Amount:
        storage->getTag(tag, into.*cell.amount);
        break;
    case CellKind::Flag:
        storage->getTag(tag, into.depreciation);
        break;
    case CellKind::Number:
        storage->getTag(tag, into.wear);
        break;
    }
}

bool EquipmentTableOnTag::getTag(const QString& name, QString& value, long flags) const
{
    int row = 0;
    QString base;
    if (!TagUtils::extractIndex(name, row, base))
        return false;
    for (Column column : resolvedColumns()) {
        if (base == columnTags[column]) {
            cellText(column, row, flags, value);
            return true;
        }
    }
    return false;
}

QString& EquipmentTableOnTag::cellText(Column column, int row, long flags, QString& value) const
{
    const ColumnInfo& cell = info(column);
    switch (cell.kind) {
    case CellKind::Text:
        return textAt(row, cell.text, value);
    case CellKind::Amount: {
        Money amount;
        return TagUtils::condProcessFlagMONEY(flags, amountAt(row, cell.amount, amount), value);
    }
    case CellKind::Flag:
        if (!isRow(row)) {
            value = QString();
            return value;
        }
        return TagUtils::processBool(depreciationAt(row), value);
    case CellKind::Number: {
        Real wear;
        return TagUtils::processReal(wearAt(row, wear), value);
    }
    }
    return value;
}

void EquipmentTableOnTag::save(QIODevice& out)
{
    QByteArray line;
    QString marker;
    for (int row = 0; row < rows.size(); ++row) {
        out.write(TagUtils::mkTagLine(TagUtils::appendIndex(markerTag, row, marker), true, line));
        for (Column column : writtenColumns())
            out.write(cellLine(column, row, line));
    }
}

QByteArray& EquipmentTableOnTag::cellLine(Column column, int row, QByteArray& line) const
{
    const ColumnInfo& cell = info(column);
    const QString tag = cellTag(column, row);
    switch (cell.kind) {
    case CellKind::Text: {
        QString text;
        return TagUtils::mkTagLine(tag, textAt(row, cell.text, text), line);
    }
    case CellKind::Amount: {
        Money amount;
        return TagUtils::mkTagLine(tag, amountAt(row, cell.amount, amount), line);
    }
    case CellKind::Flag:
        return TagUtils::mkTagLine(tag, depreciationAt(row), line);
    case CellKind::Number: {
        Real wear;
        return TagUtils::mkTagLine(tag, wearAt(row, wear), line);
    }
    }
    return line;
}
