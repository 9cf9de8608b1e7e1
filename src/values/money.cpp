#include "values/money.h"

#include "runtime/autoevalexception.h"
#include "runtime/moneyexception.h"

#include <QRegularExpression>
#include <QStringList>

#include <cmath>
#include <limits>

namespace {

constexpr qint64 Int64Max = std::numeric_limits<qint64>::max();
constexpr qint64 Int64Min = std::numeric_limits<qint64>::min();

// Truncates toward zero, clamped to the 64-bit range so that no conversion overflows.
qint64 truncateToInt64(double d)
{
    if (d >= static_cast<double>(Int64Max))
        return Int64Max;
    if (d <= static_cast<double>(Int64Min))
        return Int64Min;
    return static_cast<qint64>(d);
}

qint64 saturatedProduct(qint64 a, qint64 b)
{
    qint64 product = 0;
    if (!qMulOverflow(a, b, &product))
        return product;
    return (a < 0) != (b < 0) ? Int64Min : Int64Max;
}

qint64 saturatedSum(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (!qAddOverflow(a, b, &sum))
        return sum;
    return a < 0 ? Int64Min : Int64Max;
}

qint64 saturatedDifference(qint64 a, qint64 b)
{
    qint64 difference = 0;
    if (!qSubOverflow(a, b, &difference))
        return difference;
    return a < 0 ? Int64Min : Int64Max;
}

Money fromCents(qint64 cents)
{
    Money m;
    m.let(static_cast<long long>(cents));
    return m;
}

bool isDecimalDigits(const QString& s)
{
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return !s.isEmpty();
}

// Reads the kopeck piece of "12.5" / "12.34" / "12.349": one digit means tens of
// kopecks, digits beyond the second are cut off without rounding.
bool parseKopecks(QString text, int& kopecks)
{
    if (text.isEmpty())
        return false;
    if (text.size() == 1)
        text += QLatin1Char('0');
    text.truncate(2);
    if (!isDecimalDigits(text))
        return false;
    kopecks = text.toInt();
    return true;
}

bool parseAmount(const QString& s, qint64& cents)
{
    static const QRegularExpression separator(QStringLiteral("\\.|,"), QRegularExpression::UseUnicodePropertiesOption);
    const QStringList pieces = s.split(separator);
    if (pieces.size() > 2)
        return false;
    int kopecks = 0;
    if (pieces.size() == 2 && !parseKopecks(pieces.at(1), kopecks))
        return false;
    bool ok = false;
    const qint64 rubles = pieces.at(0).toLongLong(&ok);
    if (!ok || rubles > Int64Max / 100 || rubles < Int64Min / 100)
        return false;
    // The sign is read from the text, so "-0.50" is minus fifty kopecks.
    const bool negative = pieces.at(0).trimmed().startsWith(QLatin1Char('-'));
    cents = rubles * 100 + (negative ? -kopecks : kopecks);
    return true;
}

} // namespace

Money::Money() : cents(0), null(true)
{
}

Money::Money(long rubles, int kopecks) : cents(0), null(true)
{
    let(rubles, kopecks);
}

void Money::letNull()
{
    cents = 0;
    null = true;
}

void Money::let(long long kopecks)
{
    cents = kopecks;
    null = false;
}

void Money::let(double rubles)
{
    if (std::isnan(rubles)) {
        letNull();
        return;
    }
    let(static_cast<long long>(truncateToInt64(100.0 * rubles + 0.5)));
}

void Money::let(const Real& rubles)
{
    let(static_cast<long long>(truncateToInt64(100.0 * rubles.getVal())));
}

void Money::let(long rubles, int kopecks)
{
    if (kopecks > 100)
        throw AutoEvalException(QStringLiteral("money"), 23);
    let(static_cast<long long>(static_cast<qint64>(rubles) * 100 + kopecks));
}

void Money::throwIfNull() const
{
    if (null)
        throw MoneyException();
}

qint64 Money::getCents() const
{
    throwIfNull();
    return cents;
}

double Money::getRubles() const
{
    throwIfNull();
    return static_cast<double>(cents) / 100.0;
}

qint64 Money::getRublesPart() const
{
    throwIfNull();
    return cents / 100;
}

qint64 Money::getCentsPart() const
{
    throwIfNull();
    return cents % 100;
}

void Money::truncateCentsPart()
{
    if (null)
        return;
    cents = (cents / 100 + (cents % 100) / 50) * 100;
}

void Money::round(int digits)
{
    int toRemove = digits + 2;
    if (null || toRemove <= 0 || cents <= 0)
        return;
    qint64 scale = 1;
    qint64 last = 0;
    do {
        last = cents % 10;
        cents /= 10;
        scale = saturatedProduct(scale, 10);
        --toRemove;
    } while (toRemove != 0 && cents != 0);
    if (last > 4)
        ++cents;
    cents = saturatedProduct(cents, scale);
}

void Money::roundSmart()
{
    if (null)
        return;
    qint64 v = cents;
    qint64 scale = 1;
    bool bigBand = false;
    if (v > 100) {
        bigBand = v > 99999;
        const qint64 limit = bigBand ? 1000 : 100;
        qint64 last = 0;
        do {
            last = v % 10;
            v /= 10;
            scale *= 10;
        } while (v > limit);
        if (last > 4)
            ++v;
    }
    const qint64 d = v % 10;
    // Large amounts with four or more removed digits keep a third digit of 0 or 5.
    if (bigBand && scale > 1000) {
        if (d > 7)
            v += 10 - d;
        else if (d > 2)
            v += 5 - d;
        else
            v -= d;
    } else if (d > 4) {
        v += 10 - d;
    } else {
        v -= d;
    }
    cents = saturatedProduct(v, scale);
}

Money Money::operator+=(const Money& b)
{
    if (null || b.null)
        letNull();
    else
        cents = saturatedSum(cents, b.cents);
    return *this;
}

// Rounds exactly as the quotient does: a negative amount is not a kopeck off.
Money Money::operator/=(long n)
{
    if (null)
        return *this;
    *this = *this / n;
    return *this;
}

QString& Money::toString(QString& out, MoneyFormat fmt) const
{
    if (null) {
        out = QString();
        return out;
    }
    if (fmt != FMT_NATURAL && fmt != FMT_FULL)
        throw MoneyException();
    const qint64 rubles = cents / 100;
    const qint64 kopecks = cents % 100;
    const qint64 printedKopecks = cents <= 0 ? -kopecks : kopecks;
    // Between -1 and 0 ruble the rubles part is 0 and would lose the sign.
    const QString sign = cents < 0 && rubles == 0 ? QStringLiteral("-") : QString();
    if (fmt == FMT_NATURAL && kopecks == 0)
        out = sign + QString::number(rubles);
    else
        out = sign + QStringLiteral("%1.%2").arg(rubles).arg(printedKopecks, 2, 10, QLatin1Char('0'));
    return out;
}

bool Money::fromString(Money& out, const QString& s, MoneyFormat fmt, bool* ok)
{
    qint64 parsed = 0;
    bool success = !s.isEmpty();
    if (success && fmt != FMT_NATURAL)
        throw MoneyException();
    success = success && parseAmount(s, parsed);
    if (success)
        out.let(static_cast<long long>(parsed));
    else
        out.letNull();
    if (ok)
        *ok = success;
    return success;
}

bool Money::fromString(const QString& s, MoneyFormat fmt)
{
    return fromString(*this, s, fmt, nullptr);
}

Money operator+(const Money& a, const Money& b)
{
    return a.isNull() || b.isNull() ? Money() : fromCents(saturatedSum(a.getCents(), b.getCents()));
}

Money operator-(const Money& a, const Money& b)
{
    return a.isNull() || b.isNull() ? Money() : fromCents(saturatedDifference(a.getCents(), b.getCents()));
}

Money operator*(const Money& m, long long n)
{
    return m.isNull() ? Money() : fromCents(saturatedProduct(m.getCents(), n));
}

Money operator*(const Money& m, int n)
{
    return m * static_cast<long long>(n);
}

Money operator*(const Money& m, double d)
{
    return m.isNull() ? Money() : fromCents(Real::round64(static_cast<double>(m.getCents()) * d));
}

Money operator*(const Money& m, const Real& r)
{
    return r.isNull() ? Money() : m * r.getVal();
}

Money operator*(const Money& a, const Money& b)
{
    return a.isNull() || b.isNull() ? Money() : fromCents(saturatedProduct(a.getCents(), b.getCents()));
}

Money operator/(const Money& m, long n)
{
    if (m.isNull() || n == 0)
        return Money();
    return fromCents(Real::round64(static_cast<double>(m.getCents()) / static_cast<double>(n)));
}

Money operator/(const Money& m, const Real& r)
{
    if (m.isNull() || r.isNull() || r.getVal() == 0.0)
        return Money();
    return fromCents(Real::round64(static_cast<double>(m.getCents()) / r.getVal()));
}

Money operator/(const Money& a, const Money& b)
{
    if (a.isNull() || b.isNull() || b.getCents() == 0)
        return Money();
    const qint64 dividend = a.getCents();
    const qint64 divisor = b.getCents();
    // Ten times the ratio, truncated; split up when ten times the dividend would overflow.
    qint64 tenfold = 0;
    if (qMulOverflow(dividend, qint64(10), &tenfold))
        tenfold = dividend / divisor * 10 + (dividend % divisor) * 10 / divisor;
    else
        tenfold /= divisor;
    if (tenfold % 10 > 4)
        tenfold += 10;
    return fromCents(tenfold / 10);
}

bool operator==(const Money& a, const Money& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a.getCents() == b.getCents();
}

bool operator!=(const Money& a, const Money& b)
{
    return !(a == b);
}

bool operator<(const Money& a, const Money& b)
{
    return !a.isNull() && !b.isNull() && a.getCents() < b.getCents();
}

bool operator>(const Money& a, const Money& b)
{
    return !a.isNull() && !b.isNull() && a.getCents() > b.getCents();
}

QDebug operator<<(QDebug dbg, const Money& m)
{
    QString text;
    m.toString(text, Money::FMT_NATURAL);
    QDebugStateSaver saver(dbg);
    dbg.noquote().nospace() << '"' << text << '"';
    return dbg;
}
