#ifndef ZENTAVO_EQUIPMENTTABLEONTAG_H
#define ZENTAVO_EQUIPMENTTABLEONTAG_H

#include "evaluation/equipmenttable.h"
#include "evaluation/tagtable.h"

#include <array>

// An equipment table read from the evaluation's tags once, when it is created, and
// edited in memory afterwards; its rows reach the tags only through save().
// Row i is stored as a marker tag "<prefix>СТРОКА_i" with the value true and one
// tag "<prefix><column>_i" per column; the rows end at the first missing marker.
class ZENTAVO_EXPORT EquipmentTableOnTag : public EquipmentTable
{
public:
    // kind is one of TableKind; any other value throws AutoEvalException.
    EquipmentTableOnTag(int kind, EvaluationStorage* storage);
    ~EquipmentTableOnTag() override;

    void save(QIODevice& out) override;
    int count() override;
    bool insertRow(int row) override;
    bool removeRow(int row) override;

    QString& getPart(int row, QString& part) override { return cell(row, Part, part); }
    void setPart(int row, const QString& part) override { setCell(row, Part, part); }
    QString& getSource(int row, QString& source) override { return cell(row, Source, source); }
    void setSource(int row, const QString& source) override { setCell(row, Source, source); }
    Money& getPrice(int row, Money& price) override { return cell(row, Price, price); }
    void setPrice(int row, const Money& price) override { setCell(row, Price, price); }
    QString& getRemovedPart(int row, QString& part) override { return cell(row, RemovedPart, part); }
    void setRemovedPart(int row, const QString& part) override { setCell(row, RemovedPart, part); }
    QString& getRemovedPartSource(int row, QString& source) override { return cell(row, RemovedPartSource, source); }
    void setRemovedPartSource(int row, const QString& source) override { setCell(row, RemovedPartSource, source); }
    Money& getRemovedPartPrice(int row, Money& price) override { return cell(row, RemovedPartPrice, price); }
    void setRemovedPartPrice(int row, const Money& price) override { setCell(row, RemovedPartPrice, price); }
    Money& getWork(int row, Money& work) override { return cell(row, Work, work); }
    void setWork(int row, const Money& work) override { setCell(row, Work, work); }
    bool getDepreciation(int row, bool* valid) override;
    void setDepreciation(int row, bool depreciation) override { setCell(row, Depreciation, depreciation); }
    Real& getWear(int row, Real& wear) override { return wearAt(row, wear); }
    void setWear(int row, const Real& wear) override { setCell(row, Wear, wear); }

    // Answers "<prefix><column>_<row>" (name upper-cased): a row that does not exist
    // gives a null value. False for names of other tables and names without a row.
    bool getTag(const QString& name, QString& value, long flags) const;

    int getKind() const { return kind; }
    // The names it answers, without their row index.
    static QStringList tagNames(int kind);

private:
    // The columns in the order a row's tag lines are written.
    enum Column : int {
        Part,
        Source,
        Price,
        Work,
        Depreciation,
        Wear,
        RemovedPart,
        RemovedPartSource,
        RemovedPartPrice,
        ColumnCount
    };
    struct ColumnInfo
    {
        QString word;
        TagTable::Kind kind;
        bool conversionOnly;
        // The table that computes the column instead of keeping it; -1 for none.
        int computedIn;
    };
    using Row = std::array<TagTable::Value, ColumnCount>;

    static const ColumnInfo& info(Column column);
    bool hasColumn(Column column) const;
    bool writesColumn(Column column) const;
    static Row emptyRow();

    bool isRow(int row) const { return row >= 0 && row < rows.size(); }
    template <typename T>
    T& cell(int row, Column column, T& out) const
    {
        out = isRow(row) ? std::get<T>(rows.at(row).at(column)) : T();
        return out;
    }
    template <typename T>
    void setCell(int row, Column column, const T& value)
    {
        if (isRow(row))
            rows[row][column] = value;
    }
    bool depreciationAt(int row) const;
    Real& wearAt(int row, Real& out) const;
    TagTable::Value cellValue(int row, Column column) const;

    QString cellTag(Column column, int row) const;
    void readRows();
    bool hasMarker(int row) const;

    int kind;
    EvaluationStorage* storage;
    QString columnTags[ColumnCount];
    QString markerTag;
    QList<Row> rows;
};

#endif
