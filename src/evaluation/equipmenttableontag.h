#ifndef ZENTAVO_EQUIPMENTTABLEONTAG_H
#define ZENTAVO_EQUIPMENTTABLEONTAG_H

#include "evaluation/equipmenttable.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

class EvaluationStorage;

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

    QString& getPart(int row, QString& part) override;
    void setPart(int row, const QString& part) override;
    QString& getSource(int row, QString& source) override;
    void setSource(int row, const QString& source) override;
    Money& getPrice(int row, Money& price) override;
    void setPrice(int row, const Money& price) override;
    QString& getRemovedPart(int row, QString& part) override;
    void setRemovedPart(int row, const QString& part) override;
    QString& getRemovedPartSource(int row, QString& source) override;
    void setRemovedPartSource(int row, const QString& source) override;
    Money& getRemovedPartPrice(int row, Money& price) override;
    void setRemovedPartPrice(int row, const Money& price) override;
    Money& getWork(int row, Money& work) override;
    void setWork(int row, const Money& work) override;
    bool getDepreciation(int row, bool* valid) override;
    void setDepreciation(int row, bool depreciation) override;
    Real& getWear(int row, Real& wear) override;
    void setWear(int row, const Real& wear) override;

    // Answers "<prefix><column>_<row>" (name upper-cased): a row that does not exist
    // gives a null value. False for names of other tables and names without a row.
    bool getTag(const QString& name, QString& value, long flags) const;

    int getKind() const { return kind; }
    // The names it answers, without their row index.
    static QStringList tagNames(int kind);

private:
    struct Row
    {
        QString part;
        QString source;
        Money price;
        QString removedPart;
        QString removedPartSource;
        Money removedPartPrice;
        Money work;
        bool depreciation = false;
        Real wear;
    };

    enum Column : int {
        Part,
        Source,
        Price,
        RemovedPart,
        RemovedPartSource,
        RemovedPartPrice,
        Work,
        Depreciation,
        Wear,
        ColumnCount
    };
    enum class CellKind { Text, Amount, Flag, Number };
    struct ColumnInfo
    {
        QString word;
        CellKind kind;
        QString Row::*text;
        Money Row::*amount;
    };
    static const ColumnInfo& info(Column column);
    const QList<Column>& storedColumns() const;
    const QList<Column>& writtenColumns() const;
    static const QList<Column>& resolvedColumns();

    bool isRow(int row) const { return row >= 0 && row < rows.size(); }
    QString& textAt(int row, QString Row::*cell, QString& out) const;
    Money& amountAt(int row, Money Row::*cell, Money& out) const;
    bool depreciationAt(int row) const;
    Real& wearAt(int row, Real& out) const;
    template <typename T>
    void setCell(int row, T Row::*cell, const T& value)
    {
        if (isRow(row))
            rows[row].*cell = value;
    }

    QString cellTag(Column column, int row) const;
    void readRows();
    bool hasMarker(int row) const;
    void readCell(Column column, int row, Row& into) const;
    QString& cellText(Column column, int row, long flags, QString& value) const;
    QByteArray& cellLine(Column column, int row, QByteArray& line) const;

    int kind;
    EvaluationStorage* storage;
    QString columnTags[ColumnCount];
    QString markerTag;
    QList<Row> rows;
};

#endif
