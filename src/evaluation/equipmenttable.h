#ifndef ZENTAVO_EQUIPMENTTABLE_H
#define ZENTAVO_EQUIPMENTTABLE_H

#include "zentavo_export.h"

#include "values/money.h"
#include "values/real.h"

#include <QString>

class QIODevice;

// One table of equipment changes of the vehicle, a row per part: parts added to
// the vehicle, parts missing from it, or parts fitted in place of removed ones
// (only conversion rows use the removed-part columns). Rows are numbered from 0.
// Reading a row that does not exist gives null values; writing to one does nothing.
class ZENTAVO_EXPORT EquipmentTable
{
public:
    enum TableKind : int {
        Completion = 0, // parts added to the vehicle
        Removal = 1,    // parts missing from the vehicle
        Conversion = 2  // a part fitted in place of a removed one
    };

    EquipmentTable() = default;
    virtual ~EquipmentTable() = default;
    Q_DISABLE_COPY(EquipmentTable)

    virtual void save(QIODevice& out) = 0;
    virtual int count() = 0;
    // Inserts an empty row before row; row == count() appends.
    virtual bool insertRow(int row) = 0;
    virtual bool removeRow(int row) = 0;

    virtual QString& getPart(int row, QString& part) = 0;
    virtual void setPart(int row, const QString& part) = 0;
    // Where the part's price comes from.
    virtual QString& getSource(int row, QString& source) = 0;
    virtual void setSource(int row, const QString& source) = 0;
    virtual Money& getPrice(int row, Money& price) = 0;
    virtual void setPrice(int row, const Money& price) = 0;
    virtual QString& getRemovedPart(int row, QString& part) = 0;
    virtual void setRemovedPart(int row, const QString& part) = 0;
    virtual QString& getRemovedPartSource(int row, QString& source) = 0;
    virtual void setRemovedPartSource(int row, const QString& source) = 0;
    virtual Money& getRemovedPartPrice(int row, Money& price) = 0;
    virtual void setRemovedPartPrice(int row, const Money& price) = 0;
    // The cost of the fitting work.
    virtual Money& getWork(int row, Money& work) = 0;
    virtual void setWork(int row, const Money& work) = 0;
    // Whether the part's wear is deducted. In the completion table this follows the
    // wear: true exactly when the row has a wear other than zero. valid, when not
    // null, receives whether the row exists.
    virtual bool getDepreciation(int row, bool* valid) = 0;
    virtual void setDepreciation(int row, bool depreciation) = 0;
    // Always null in the removal table: a missing part has no wear.
    virtual Real& getWear(int row, Real& wear) = 0;
    virtual void setWear(int row, const Real& wear) = 0;
};

#endif
