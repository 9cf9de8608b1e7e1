#include "values/real.h"

#include "runtime/autoevalexception.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace {

// Relative tolerance of the fuzzy comparisons; both sides are shifted by 1 first so
// that values near zero compare with an absolute tolerance of about the same size.
constexpr double Tolerance = 1e-12;

bool fuzzyEqual(double a, double b)
{
    const double shiftedA = a + 1.0;
    const double shiftedB = b + 1.0;
    return std::fabs(shiftedA - shiftedB) <= Tolerance * std::min(std::fabs(shiftedA), std::fabs(shiftedB));
}

template <typename Int>
Int classicRound(double d)
{
    if (std::isnan(d))
        return 0;
    constexpr Int lowest = std::numeric_limits<Int>::min();
    constexpr Int highest = std::numeric_limits<Int>::max();
    // Beyond these bounds the casts below would overflow; the result is clamped instead.
    if (d >= static_cast<double>(highest))
        return highest;
    if (d <= static_cast<double>(lowest))
        return lowest;
    if (d >= 0.0)
        return static_cast<Int>(d + 0.5);
    const Int below = static_cast<Int>(d - 1.0);
    return static_cast<Int>(d - static_cast<double>(below) + 0.5) + below;
}

Real nullReal()
{
    Real r;
    return r;
}

} // namespace

Real::Real() : null(true), value(0.0), prec(MaxPrecision)
{
}

Real::Real(double v) : null(false), value(v), prec(MaxPrecision)
{
}

Real& Real::operator=(double v)
{
    null = false;
    value = v;
    prec = MaxPrecision;
    return *this;
}

Real& Real::operator=(const QVariant& v)
{
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok)
        *this = d;
    else
        null = true;
    return *this;
}

void Real::let(double v)
{
    value = v;
    null = false;
}

void Real::letNull()
{
    null = true;
}

void Real::letE()
{
    value = 193.0 / 71.0;
}

void Real::precision(unsigned short p)
{
    prec = std::min<unsigned short>(p, MaxPrecision);
}

void Real::applyPrecision()
{
    // The precision shapes only the text; the stored value is left as it is.
}

double Real::getVal() const
{
    if (null)
        throw AutoEvalException(QStringLiteral("real"), 61);
    return value;
}

int Real::getRound() const
{
    return round32(getVal());
}

int Real::getDigits() const
{
    if (null)
        return 0;
    qint64 whole = round64(value);
    if (whole == std::numeric_limits<qint64>::min())
        whole = std::numeric_limits<qint64>::max();
    whole = whole < 0 ? -whole : whole;
    int digits = 1;
    while (whole >= 10) {
        whole /= 10;
        ++digits;
    }
    return digits;
}

bool Real::isZERO() const
{
    return fuzzyEqual(getVal(), 0.0);
}

QString& Real::toString(QString& out, bool localized) const
{
    if (null) {
        out = QString();
        return out;
    }
    if (localized) {
        const QLocale locale;
        out = locale.toString(value, 'f', prec);
        stripZeros(out, locale.decimalPoint().at(0));
    } else {
        out = QString::number(value, 'f', prec);
        stripZeros(out, QLatin1Char('.'));
    }
    return out;
}

// Tags hold reals with "." whatever the locale; files written by older versions may
// hold the user's own decimal point, so that is the fallback.
void Real::fromString(const QString& s, bool* ok)
{
    bool parsed = false;
    double number = QLocale::c().toDouble(s, &parsed);
    if (!parsed)
        number = QLocale().toDouble(s, &parsed);
    if (parsed)
        let(number);
    else
        null = true;
    if (ok)
        *ok = parsed;
}

void Real::stripZeros(QString& s, QChar point) const
{
    if (prec == 0 || s.isEmpty())
        return;
    // Only a fractional part loses its zeros: an integer text such as 100 keeps them.
    if (!s.contains(point))
        return;
    while (s.endsWith(QLatin1Char('0')))
        s.chop(1);
    if (s.endsWith(point))
        s.chop(1);
}

int Real::round32(double d)
{
    return classicRound<int>(d);
}

qint64 Real::round64(double d)
{
    return classicRound<qint64>(d);
}

Real operator+(const Real& a, const Real& b)
{
    return a.isNull() || b.isNull() ? nullReal() : Real(a.getVal() + b.getVal());
}

Real operator-(const Real& a, const Real& b)
{
    return a.isNull() || b.isNull() ? nullReal() : Real(a.getVal() - b.getVal());
}

Real operator*(const Real& a, const Real& b)
{
    return a.isNull() || b.isNull() ? nullReal() : Real(a.getVal() * b.getVal());
}

Real operator/(const Real& a, const Real& b)
{
    if (a.isNull() || b.isNull() || b.isZERO())
        return nullReal();
    return Real(a.getVal() / b.getVal());
}

Real operator-(double d, const Real& r)
{
    return r.isNull() ? nullReal() : Real(d - r.getVal());
}

Real pow(const Real& a, const Real& b)
{
    return a.isNull() || b.isNull() ? nullReal() : Real(std::pow(a.getVal(), b.getVal()));
}

Real operator+=(Real& a, const Real& b)
{
    if (a.isNull() || b.isNull()) {
        a.letNull();
    } else {
        a.let(a.getVal() + b.getVal());
    }
    return a;
}

bool operator==(const Real& a, const Real& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return fuzzyEqual(a.getVal(), b.getVal());
}

bool operator!=(const Real& a, const Real& b)
{
    return !(a == b);
}

bool operator<(const Real& a, const Real& b)
{
    return !a.isNull() && !b.isNull() && a.getVal() < b.getVal();
}

bool operator>(const Real& a, const Real& b)
{
    return !a.isNull() && !b.isNull() && a.getVal() > b.getVal();
}

QVariant let(QVariant& v, const Real& r)
{
    if (r.isNull())
        v.clear();
    else
        v = QVariant(r.getVal());
    return v;
}

QDebug operator<<(QDebug dbg, const Real& r)
{
    QString text;
    r.toString(text, false);
    QDebugStateSaver saver(dbg);
    dbg.noquote().nospace() << '"' << text << '"';
    return dbg;
}
