#include "runtime/autoevalexception.h"
#include "values/real.h"

#include <QLocale>
#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(Real)

namespace {

Real nullReal()
{
    return Real();
}

Real withPrecision(double v, unsigned short p)
{
    Real r(v);
    r.precision(p);
    return r;
}

} // namespace

class TestReal : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void nullPropagatesThroughArithmetic_data();
    void nullPropagatesThroughArithmetic();
    void divisionByFuzzyZeroIsNull_data();
    void divisionByFuzzyZeroIsNull();
    void plusAssignKeepsPrecisionAndNull();
    void equality_data();
    void equality();
    void ordering_data();
    void ordering();
    void text_data();
    void text();
    void localizedTextUsesLocaleDecimalPoint();
    void fromString_data();
    void fromString();
    void rounding_data();
    void rounding();
    void roundingOutsideIntRangeIsClamped();
    void digits_data();
    void digits();
    void readingNullThrowsWithLocation();
    void precisionIsCappedAndDoesNotChangeValue();
    void assignmentResetsPrecision();
    void variantConversion();
    void letEKeepsNullState();
    void debugStreamQuotesText();
};

void TestReal::nullPropagatesThroughArithmetic_data()
{
    QTest::addColumn<Real>("result");
    QTest::addColumn<bool>("null");
    QTest::addColumn<double>("value");
    QTest::newRow("null + 1") << (nullReal() + Real(1)) << true << 0.0;
    QTest::newRow("1 - null") << (Real(1) - nullReal()) << true << 0.0;
    QTest::newRow("null * 2") << (nullReal() * Real(2)) << true << 0.0;
    QTest::newRow("null / 2") << (nullReal() / Real(2)) << true << 0.0;
    QTest::newRow("2 / null") << (Real(2) / nullReal()) << true << 0.0;
    QTest::newRow("pow(null, 2)") << pow(nullReal(), Real(2)) << true << 0.0;
    QTest::newRow("pow(2, null)") << pow(Real(2), nullReal()) << true << 0.0;
    QTest::newRow("3 - null") << (3.0 - nullReal()) << true << 0.0;
    QTest::newRow("3 - 1.5") << (3.0 - Real(1.5)) << false << 1.5;
    QTest::newRow("2 + 3") << (Real(2) + Real(3)) << false << 5.0;
    QTest::newRow("2 - 3") << (Real(2) - Real(3)) << false << -1.0;
    QTest::newRow("2 * 3") << (Real(2) * Real(3)) << false << 6.0;
    QTest::newRow("3 / 2") << (Real(3) / Real(2)) << false << 1.5;
    QTest::newRow("pow(2, 10)") << pow(Real(2), Real(10)) << false << 1024.0;
}

void TestReal::nullPropagatesThroughArithmetic()
{
    QFETCH(Real, result);
    QFETCH(bool, null);
    QFETCH(double, value);
    QCOMPARE(result.isNull(), null);
    if (!null)
        QCOMPARE(result.getVal(), value);
    QCOMPARE(result.getPrecision(), Real::MaxPrecision);
}

void TestReal::divisionByFuzzyZeroIsNull_data()
{
    QTest::addColumn<double>("divisor");
    QTest::addColumn<bool>("null");
    QTest::newRow("0") << 0.0 << true;
    QTest::newRow("1e-13") << 1e-13 << true;
    QTest::newRow("-1e-13") << -1e-13 << true;
    QTest::newRow("1e-11") << 1e-11 << false;
    QTest::newRow("0.5") << 0.5 << false;
}

void TestReal::divisionByFuzzyZeroIsNull()
{
    QFETCH(double, divisor);
    QFETCH(bool, null);
    const Real quotient = Real(2) / Real(divisor);
    QCOMPARE(quotient.isNull(), null);
    if (!null)
        QCOMPARE(quotient.getVal(), 2.0 / divisor);
}

void TestReal::plusAssignKeepsPrecisionAndNull()
{
    Real a = withPrecision(1.25, 2);
    const Real copy = (a += Real(2));
    QCOMPARE(a.getVal(), 3.25);
    QCOMPARE(a.getPrecision(), static_cast<unsigned short>(2));
    QCOMPARE(copy.getVal(), 3.25);

    a += nullReal();
    QVERIFY(a.isNull());
    Real b;
    b += Real(1);
    QVERIFY(b.isNull());
}

void TestReal::equality_data()
{
    QTest::addColumn<Real>("a");
    QTest::addColumn<Real>("b");
    QTest::addColumn<bool>("equal");
    QTest::newRow("0.1 + 0.2 and 0.3") << (Real(0.1) + Real(0.2)) << Real(0.3) << true;
    QTest::newRow("1e-13 and 0") << Real(1e-13) << Real(0.0) << true;
    QTest::newRow("1e-11 and 0") << Real(1e-11) << Real(0.0) << false;
    QTest::newRow("1 and 1.0001") << Real(1) << Real(1.0001) << false;
    QTest::newRow("large relative") << Real(1e15) << Real(1e15 + 0.5) << true;
    QTest::newRow("both null") << nullReal() << nullReal() << true;
    QTest::newRow("null and 0") << nullReal() << Real(0.0) << false;
    QTest::newRow("0 and null") << Real(0.0) << nullReal() << false;
    QTest::newRow("different precision") << withPrecision(2.5, 0) << Real(2.5) << true;
}

void TestReal::equality()
{
    QFETCH(Real, a);
    QFETCH(Real, b);
    QFETCH(bool, equal);
    QCOMPARE(a == b, equal);
    QCOMPARE(a != b, !equal);
}

void TestReal::ordering_data()
{
    QTest::addColumn<Real>("a");
    QTest::addColumn<Real>("b");
    QTest::addColumn<bool>("less");
    QTest::addColumn<bool>("greater");
    QTest::newRow("1 < 2") << Real(1) << Real(2) << true << false;
    QTest::newRow("2 > 1") << Real(2) << Real(1) << false << true;
    QTest::newRow("no tolerance") << Real(0.0) << Real(1e-13) << true << false;
    QTest::newRow("null left") << nullReal() << Real(1) << false << false;
    QTest::newRow("null right") << Real(1) << nullReal() << false << false;
    QTest::newRow("both null") << nullReal() << nullReal() << false << false;
}

void TestReal::ordering()
{
    QFETCH(Real, a);
    QFETCH(Real, b);
    QFETCH(bool, less);
    QFETCH(bool, greater);
    QCOMPARE(a < b, less);
    QCOMPARE(a > b, greater);
}

void TestReal::text_data()
{
    QTest::addColumn<Real>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.0") << Real(1.0) << QStringLiteral("1");
    QTest::newRow("2.5") << Real(2.5) << QStringLiteral("2.5");
    QTest::newRow("12.5 precision 5") << Real(12.5) << QStringLiteral("12.5");
    QTest::newRow("100 precision 5") << Real(100) << QStringLiteral("100");
    QTest::newRow("10 precision 0") << withPrecision(10, 0) << QStringLiteral("10");
    QTest::newRow("2.5 precision 0 rounds in text") << withPrecision(2.46, 0) << QStringLiteral("2");
    QTest::newRow("1.23456789 precision 5") << Real(1.23456789) << QStringLiteral("1.23457");
    QTest::newRow("0.1 + 0.2 precision 2") << withPrecision(0.30000000000000004, 2) << QStringLiteral("0.3");
    QTest::newRow("negative") << Real(-3.75) << QStringLiteral("-3.75");
    QTest::newRow("tiny") << Real(1e-7) << QStringLiteral("0");
}

void TestReal::text()
{
    QFETCH(Real, value);
    QFETCH(QString, text);
    QString out;
    QCOMPARE(value.toString(out, false), text);
    QCOMPARE(value.toString(out, true), text); // the C locale is in force
}

void TestReal::localizedTextUsesLocaleDecimalPoint()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QString out;
    QCOMPARE(Real(12.5).toString(out, true), QStringLiteral("12,5"));
    QCOMPARE(Real(12.5).toString(out, false), QStringLiteral("12.5"));
    QVERIFY(Real().toString(out, true).isNull());
}

void TestReal::fromString_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("C point") << QStringLiteral("C") << QStringLiteral("1.5") << true << 1.5;
    QTest::newRow("ru comma") << QStringLiteral("ru_RU") << QStringLiteral("1,5") << true << 1.5;
    QTest::newRow("ru falls back to point") << QStringLiteral("ru_RU") << QStringLiteral("1.5") << true << 1.5;
    QTest::newRow("negative") << QStringLiteral("C") << QStringLiteral("-0.25") << true << -0.25;
    QTest::newRow("empty") << QStringLiteral("C") << QString() << false << 0.0;
    QTest::newRow("letters") << QStringLiteral("C") << QStringLiteral("abc") << false << 0.0;
    QTest::newRow("two points") << QStringLiteral("C") << QStringLiteral("1.2.3") << false << 0.0;
}

void TestReal::fromString()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QLocale::setDefault(QLocale(locale));
    Real r(7);
    r.precision(2);
    bool parsed = !ok;
    r.fromString(text, &parsed);
    QCOMPARE(parsed, ok);
    QCOMPARE(r.isNull(), !ok);
    QCOMPARE(r.getPrecision(), static_cast<unsigned short>(2));
    if (ok)
        QCOMPARE(r.getVal(), value);
}

void TestReal::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("2.5") << 2.5 << 3;
    QTest::newRow("2.4") << 2.4 << 2;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("-2.6") << -2.6 << -3;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("0") << 0.0 << 0;
}

void TestReal::rounding()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(Real(value).getRound(), rounded);
    QCOMPARE(Real::round64(value), static_cast<qint64>(rounded));
}

void TestReal::roundingOutsideIntRangeIsClamped()
{
    QCOMPARE(Real(1e12).getRound(), std::numeric_limits<int>::max());
    QCOMPARE(Real(-1e12).getRound(), std::numeric_limits<int>::min());
    QCOMPARE(Real(std::numeric_limits<double>::infinity()).getRound(), std::numeric_limits<int>::max());
    QCOMPARE(Real(std::numeric_limits<double>::quiet_NaN()).getRound(), 0);
    QCOMPARE(Real::round64(1e30), std::numeric_limits<qint64>::max());
    QCOMPARE(Real::round64(1e12 + 0.5), static_cast<qint64>(1000000000001LL));
}

void TestReal::digits_data()
{
    QTest::addColumn<Real>("value");
    QTest::addColumn<int>("digits");
    QTest::newRow("0.4") << Real(0.4) << 1;
    QTest::newRow("0") << Real(0.0) << 1;
    QTest::newRow("9.4") << Real(9.4) << 1;
    QTest::newRow("9.5") << Real(9.5) << 2;
    QTest::newRow("99.6") << Real(99.6) << 3;
    QTest::newRow("-1234") << Real(-1234) << 4;
    QTest::newRow("null") << nullReal() << 0;
}

void TestReal::digits()
{
    QFETCH(Real, value);
    QFETCH(int, digits);
    QCOMPARE(value.getDigits(), digits);
}

void TestReal::readingNullThrowsWithLocation()
{
    Real r(3);
    r.letNull();
    try {
        r.getVal();
        QFAIL("getVal on a null value must throw");
    } catch (const AutoEvalException& e) {
        QCOMPARE(e.getFile(), QStringLiteral("real"));
        QCOMPARE(e.getLine(), 61);
    }
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, r.getRound());
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, r.isZERO());
}

void TestReal::precisionIsCappedAndDoesNotChangeValue()
{
    Real r(1.23456789);
    r.precision(9);
    QCOMPARE(r.getPrecision(), Real::MaxPrecision);
    r.precision(1);
    r.applyPrecision();
    QCOMPARE(r.getVal(), 1.23456789);
    r.let(4.56);
    QCOMPARE(r.getPrecision(), static_cast<unsigned short>(1));
}

void TestReal::assignmentResetsPrecision()
{
    Real r = withPrecision(1, 2);
    r = 3.5;
    QCOMPARE(r.getPrecision(), Real::MaxPrecision);
    QCOMPARE(r.getVal(), 3.5);
}

void TestReal::variantConversion()
{
    Real r = withPrecision(1, 2);
    r = QVariant(QStringLiteral("2.25"));
    QCOMPARE(r.getVal(), 2.25);
    QCOMPARE(r.getPrecision(), Real::MaxPrecision);

    r.precision(3);
    r = QVariant(QStringLiteral("not a number"));
    QVERIFY(r.isNull());
    QCOMPARE(r.getPrecision(), static_cast<unsigned short>(3));

    QVariant v(5);
    QCOMPARE(let(v, Real(1.5)).toDouble(), 1.5);
    let(v, nullReal());
    QVERIFY(!v.isValid());
}

void TestReal::letEKeepsNullState()
{
    Real r;
    r.letE();
    QVERIFY(r.isNull());
    Real e(0);
    e.precision(2);
    e.letE();
    QCOMPARE(e.getVal(), 193.0 / 71.0);
    QCOMPARE(e.getPrecision(), static_cast<unsigned short>(2));
}

void TestReal::debugStreamQuotesText()
{
    QString out;
    QDebug(&out) << Real(2.5) << Real();
    QCOMPARE(out, QStringLiteral("\"2.5\" \"\" "));
}

QTEST_GUILESS_MAIN(TestReal)
#include "tst_real.moc"
