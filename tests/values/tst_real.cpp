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
    void plusAssignKeepsPrecisionAndNull();
    void equality_data();
    void equality();
    void text_data();
    void text();
    void localizedTextUsesLocaleDecimalPoint();
    void fromString_data();
    void fromString();
    void rounding_data();
    void rounding();
    void digits_data();
    void digits();
    void readingNullThrowsWithLocation();
    void precisionIsCappedAndDoesNotChangeValue();
    void variantConversion();
    void letEKeepsNullState();
};

void TestReal::nullPropagatesThroughArithmetic_data()
{
    QTest::addColumn<Real>("result");
    QTest::addColumn<bool>("null");
    QTest::addColumn<double>("value");
    QTest::newRow("null + 1") << (nullReal() + Real(1)) << true << 0.0;
    QTest::newRow("null * 2") << (nullReal() * Real(2)) << true << 0.0;
    QTest::newRow("2 / null") << (Real(2) / nullReal()) << true << 0.0;
    QTest::newRow("pow(null, 2)") << pow(nullReal(), Real(2)) << true << 0.0;
    QTest::newRow("3 - null") << (3.0 - nullReal()) << true << 0.0;
    QTest::newRow("3 - 1.5") << (3.0 - Real(1.5)) << false << 1.5;
    QTest::newRow("2 + 3") << (Real(2) + Real(3)) << false << 5.0;
    QTest::newRow("2 * 3") << (Real(2) * Real(3)) << false << 6.0;
    QTest::newRow("3 / 2") << (Real(3) / Real(2)) << false << 1.5;
    QTest::newRow("2 / 1e-13 counts as zero") << (Real(2) / Real(1e-13)) << true << 0.0;
    QTest::newRow("2 / 1e-11") << (Real(2) / Real(1e-11)) << false << 2e11;
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
    QTest::addColumn<bool>("less");
    QTest::newRow("0.1 + 0.2 and 0.3") << (Real(0.1) + Real(0.2)) << Real(0.3) << true << false;
    QTest::newRow("1e-13 and 0") << Real(1e-13) << Real(0.0) << true << false;
    QTest::newRow("1e-11 and 0") << Real(1e-11) << Real(0.0) << false << false;
    QTest::newRow("1 and 1.0001") << Real(1) << Real(1.0001) << false << true;
    QTest::newRow("large relative") << Real(1e15) << Real(1e15 + 0.5) << true << true;
    QTest::newRow("both null") << nullReal() << nullReal() << true << false;
    QTest::newRow("null and 0") << nullReal() << Real(0.0) << false << false;
    QTest::newRow("0 and null") << Real(0.0) << nullReal() << false << false;
    QTest::newRow("different precision") << withPrecision(2.5, 0) << Real(2.5) << true << false;
}

void TestReal::equality()
{
    QFETCH(Real, a);
    QFETCH(Real, b);
    QFETCH(bool, equal);
    QFETCH(bool, less);
    QCOMPARE(a == b, equal);
    QCOMPARE(a != b, !equal);
    QCOMPARE(a < b, less); // plain comparison: no tolerance, false with a null side
    QCOMPARE(b > a, less);
}

void TestReal::text_data()
{
    QTest::addColumn<Real>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1.0") << Real(1.0) << QStringLiteral("1");
    QTest::newRow("2.5") << Real(2.5) << QStringLiteral("2.5");
    QTest::newRow("100 precision 5") << Real(100) << QStringLiteral("100");
    QTest::newRow("10 precision 0") << withPrecision(10, 0) << QStringLiteral("10");
    QTest::newRow("2.5 precision 0 rounds in text") << withPrecision(2.46, 0) << QStringLiteral("2");
    QTest::newRow("1.23456789 precision 5") << Real(1.23456789) << QStringLiteral("1.23457");
    QTest::newRow("0.1 + 0.2 precision 2") << withPrecision(0.30000000000000004, 2) << QStringLiteral("0.3");
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
    QTest::newRow("ru comma") << QStringLiteral("ru_RU") << QStringLiteral("1,5") << true << 1.5;
    QTest::newRow("ru falls back to point") << QStringLiteral("ru_RU") << QStringLiteral("1.5") << true << 1.5;
    QTest::newRow("negative") << QStringLiteral("C") << QStringLiteral("-0.25") << true << -0.25;
    QTest::newRow("empty") << QStringLiteral("C") << QString() << false << 0.0;
    QTest::newRow("letters") << QStringLiteral("C") << QStringLiteral("abc") << false << 0.0;
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
    QTest::newRow("0") << 0.0 << 0;
    QTest::newRow("beyond int clamps") << 1e12 << std::numeric_limits<int>::max();
    QTest::newRow("below int clamps") << -1e12 << std::numeric_limits<int>::min();
}

void TestReal::rounding()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(Real(value).getRound(), rounded);
}

void TestReal::digits_data()
{
    QTest::addColumn<Real>("value");
    QTest::addColumn<int>("digits");
    QTest::newRow("0.4") << Real(0.4) << 1;
    QTest::newRow("0") << Real(0.0) << 1;
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

QTEST_GUILESS_MAIN(TestReal)
#include "tst_real.moc"
