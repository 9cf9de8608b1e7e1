#ifndef ZENTAVO_MONEY_H
#define ZENTAVO_MONEY_H

#include "zentavo_export.h"

#include "values/real.h"

#include <QDebug>
#include <QString>

// An amount of money as a whole number of kopecks (hundredths of a ruble) in 64
// bits, so sums are exact, with a null state (no amount entered) that arithmetic
// propagates. Its text forms are the ones written into tags and reports.
class ZENTAVO_EXPORT Money
{
public:
    enum MoneyFormat {
        FMT_NATURAL = 0, // "123" when there are no kopecks, else "123.45"
        FMT_FULL = 1     // always "123.45", "123.00"
    };

    Money();
    Money(long rubles, int kopecks);

    void letNull();
    void let(long long kopecks);
    void let(double rubles);
    void let(const Real& rubles);
    void let(long rubles, int kopecks);

    bool isNull() const { return null; }
    qint64 getCents() const;
    double getRubles() const;
    qint64 getRublesPart() const;
    qint64 getCentsPart() const;

    void truncateCentsPart();
    void round(int digits);
    void roundSmart();

    Money operator+=(const Money& b);
    Money operator/=(long n);

    QString& toString(QString& out, MoneyFormat fmt) const;
    static bool fromString(Money& out, const QString& s, MoneyFormat fmt, bool* ok);
    bool fromString(const QString& s, MoneyFormat fmt);

private:
    void throwIfNull() const;

    qint64 cents;
    bool null;
};

ZENTAVO_EXPORT Money operator+(const Money& a, const Money& b);
ZENTAVO_EXPORT Money operator-(const Money& a, const Money& b);
ZENTAVO_EXPORT Money operator*(const Money& m, long long n);
// Keeps `amount * 3` unambiguous between the integer and the double product.
ZENTAVO_EXPORT Money operator*(const Money& m, int n);
ZENTAVO_EXPORT Money operator*(const Money& m, double d);
ZENTAVO_EXPORT Money operator*(const Money& m, const Real& r);
ZENTAVO_EXPORT Money operator*(const Money& a, const Money& b);
ZENTAVO_EXPORT Money operator/(const Money& m, long n);
ZENTAVO_EXPORT Money operator/(const Money& m, const Real& r);
// The ratio of two amounts to one decimal, held in the kopeck field: not an amount.
ZENTAVO_EXPORT Money operator/(const Money& a, const Money& b);
ZENTAVO_EXPORT bool operator==(const Money& a, const Money& b);
ZENTAVO_EXPORT bool operator!=(const Money& a, const Money& b);
ZENTAVO_EXPORT bool operator<(const Money& a, const Money& b);
ZENTAVO_EXPORT bool operator>(const Money& a, const Money& b);
ZENTAVO_EXPORT QDebug operator<<(QDebug dbg, const Money& m);

#endif
