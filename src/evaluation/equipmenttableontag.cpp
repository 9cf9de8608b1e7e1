#include "evaluation/equipmenttableontag.h"

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
    for (int column = 0; column < ColumnCount; ++column)
        names << prefix + info(Column(column)).word;
    return names;
}

// A completion row's depreciation follows its wear, and a missing part has no wear:
// those two cells are computed, never written.
const EquipmentTableOnTag::ColumnInfo& EquipmentTableOnTag::info(Column column)
{
    using Kind = TagTable::Kind;
    static const ColumnInfo table[] = {
        {QStringLiteral("ДЕТАЛЬ"), Kind::Text, false, -1},
        {QStringLiteral("ИСТОЧНИК"), Kind::Text, false, -1},
        {QStringLiteral("ЦЕНА"), Kind::Money, false, -1},
        {QStringLiteral("РАБОТА"), Kind::Money, false, -1},
        {QStringLiteral("АМОРТИЗАЦИЯ"), Kind::Bool, false, Completion},
        {QStringLiteral("ИЗНОС"), Kind::Real, false, Removal},
        {QStringLiteral("СНЯТО_ДЕТАЛЬ"), Kind::Text, true, -1},
        {QStringLiteral("СНЯТО_ИСТОЧНИК"), Kind::Text, true, -1},
        {QStringLiteral("СНЯТО_ЦЕНА"), Kind::Money, true, -1},
    };
    static_assert(std::size(table) == ColumnCount, "one entry per column, in column order");
    return table[column];
}

// Every table answers every column's name; only conversion rows keep the removed part.
bool EquipmentTableOnTag::hasColumn(Column column) const
{
    return kind == Conversion || !info(column).conversionOnly;
}

bool EquipmentTableOnTag::writesColumn(Column column) const
{
    return hasColumn(column) && info(column).computedIn != kind;
}

EquipmentTableOnTag::Row EquipmentTableOnTag::emptyRow()
{
    Row row;
    for (int column = 0; column < ColumnCount; ++column)
        row[column] = TagTable::nullValue(info(Column(column)).kind);
    return row;
}

int EquipmentTableOnTag::count()
{
    return int(rows.size());
}

bool EquipmentTableOnTag::insertRow(int row)
{
    if (row < 0 || row > rows.size())
        return false;
    rows.insert(row, emptyRow());
    return true;
}

bool EquipmentTableOnTag::removeRow(int row)
{
    if (!isRow(row))
        return false;
    rows.removeAt(row);
    return true;
}

bool EquipmentTableOnTag::getDepreciation(int row, bool* valid)
{
    if (valid)
        *valid = isRow(row);
    return depreciationAt(row);
}

bool EquipmentTableOnTag::depreciationAt(int row) const
{
    if (!isRow(row))
        return false;
    if (kind != Completion)
        return std::get<bool>(rows.at(row).at(Depreciation));
    const Real& wear = std::get<Real>(rows.at(row).at(Wear));
    return !wear.isNull() && !wear.isZERO();
}

Real& EquipmentTableOnTag::wearAt(int row, Real& out) const
{
    if (kind != Removal)
        return cell(row, Wear, out);
    out = Real();
    return out;
}

TagTable::Value EquipmentTableOnTag::cellValue(int row, Column column) const
{
    Real wear;
    switch (column) {
    case Depreciation:
        return depreciationAt(row);
    case Wear:
        return wearAt(row, wear);
    default:
        return rows.at(row).at(column);
    }
}

QString EquipmentTableOnTag::cellTag(Column column, int row) const
{
    QString tag;
    return TagUtils::appendIndex(columnTags[column], row, tag);
}

void EquipmentTableOnTag::readRows()
{
    for (int row = 0; hasMarker(row); ++row) {
        Row read = emptyRow();
        for (int column = 0; column < ColumnCount; ++column) {
            if (hasColumn(Column(column)))
                read[column] = TagTable::read(*storage, cellTag(Column(column), row), info(Column(column)).kind);
        }
        rows.append(read);
    }
}

bool EquipmentTableOnTag::hasMarker(int row) const
{
    QString tag;
    bool marked = false;
    return storage->getTag(TagUtils::appendIndex(markerTag, row, tag), marked);
}

bool EquipmentTableOnTag::getTag(const QString& name, QString& value, long flags) const
{
    int row = 0;
    QString base;
    if (!TagUtils::extractIndex(name, row, base))
        return false;
    for (int column = 0; column < ColumnCount; ++column) {
        if (base != columnTags[column])
            continue;
        if (isRow(row))
            TagTable::reportText(cellValue(row, Column(column)), flags, value);
        else
            value = QString();
        return true;
    }
    return false;
}

void EquipmentTableOnTag::save(QIODevice& out)
{
    QByteArray line;
    QString marker;
    for (int row = 0; row < rows.size(); ++row) {
        out.write(TagUtils::mkTagLine(TagUtils::appendIndex(markerTag, row, marker), true, line));
        for (int column = 0; column < ColumnCount; ++column) {
            if (writesColumn(Column(column)))
                out.write(TagTable::tagLine(cellTag(Column(column), row), cellValue(row, Column(column)), line));
        }
    }
}
