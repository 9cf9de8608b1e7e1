#ifndef ZENTAVO_REAL_H
#define ZENTAVO_REAL_H

#include "zentavo_export.h"

#include <QChar>
#include <QDebug>
#include <QString>
#include <QVariant>

// A double with a null state (no value entered yet) and a display precision of
// 0 to 5 decimals. Null propagates through arithmetic; equality is fuzzy. The
// precision only shapes text output, it never changes the value.
class ZENTAVO_EXPORT Real
{
public:
    static constexpr unsigned short MaxPrecision = 5;

    Real();
    Real(double v); // implicit on purpose: plain numbers mix freely with Real

    Real& operator=(double v);
    Real& operator=(const QVariant& v);

    void let(double v);
    void letNull();
    // Sets the value to 193/71, a close rational approximation of e.
    void letE();
    void precision(unsigned short p);
    unsigned short getPrecision() const { return prec; }
    void applyPrecision();

    bool isNull() const { return null; }
    double getVal() const;
    int getRound() const;
    int getDigits() const;
    bool isZERO() const;

    QString& toString(QString& out, bool localized) const;
    void fromString(const QString& s, bool* ok);
    void stripZeros(QString& s, QChar point) const;

    // The framework's classic rounding of doubles to integers: halves move toward
    // positive infinity (2.5 -> 3, -2.5 -> -2). Values outside the integer type's
    // range are clamped to it, NaN gives 0.
    static int round32(double d);
    static qint64 round64(double d);

private:
    bool null;
    double value;
    unsigned short prec;
};

ZENTAVO_EXPORT Real operator+(const Real& a, const Real& b);
ZENTAVO_EXPORT Real operator-(const Real& a, const Real& b);
ZENTAVO_EXPORT Real operator*(const Real& a, const Real& b);
ZENTAVO_EXPORT Real operator/(const Real& a, const Real& b);
ZENTAVO_EXPORT Real operator-(double d, const Real& r);
ZENTAVO_EXPORT Real pow(const Real& a, const Real& b);
ZENTAVO_EXPORT Real operator+=(Real& a, const Real& b);
ZENTAVO_EXPORT bool operator==(const Real& a, const Real& b);
ZENTAVO_EXPORT bool operator!=(const Real& a, const Real& b);
ZENTAVO_EXPORT bool operator<(const Real& a, const Real& b);
ZENTAVO_EXPORT bool operator>(const Real& a, const Real& b);
ZENTAVO_EXPORT QVariant let(QVariant& v, const Real& r);
ZENTAVO_EXPORT QDebug operator<<(QDebug dbg, const Real& r);

#endif
