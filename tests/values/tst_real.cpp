#include "runtime/autoevalexception.h"
#include "values/real.h"

#include <QLocale>
#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(Real)

namespace {

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
    void arithmeticPropagatesNull_data();
    void arithmeticPropagatesNull();
    void equality_data();
    void equality();
    void text_data();
    void text();
    void fromString_data();
    void fromString();
    void roundingAndDigits_data();
    void roundingAndDigits();
    void readingNullThrowsWithLocation();
    void precisionIsCappedAndOnlyAssignmentResetsIt();
};

void TestReal::arithmeticPropagatesNull_data()
{
    QTest::addColumn<Real>("result");
    QTest::addColumn<Real>("expected");
    const Real none;
    QTest::newRow("null + 1") << (none + Real(1)) << none;
    QTest::newRow("null * 2") << (none * Real(2)) << none;
    QTest::newRow("2 / null") << (Real(2) / none) << none;
    QTest::newRow("pow(null, 2)") << pow(none, Real(2)) << none;
    QTest::newRow("3 - null") << (3.0 - none) << none;
    QTest::newRow("null += 1") << [] { Real a; a += Real(1); return a; }() << none;
    QTest::newRow("1 += null") << [] { Real a(1); a += Real(); return a; }() << none;
    QTest::newRow("3 - 1.5") << (3.0 - Real(1.5)) << Real(1.5);
    QTest::newRow("2 * 3") << (Real(2) * Real(3)) << Real(6);
    QTest::newRow("2 / 1e-13 counts as zero") << (Real(2) / Real(1e-13)) << none;
    QTest::newRow("2 / 1e-11") << (Real(2) / Real(1e-11)) << Real(2e11);
    QTest::newRow("pow(2, 10)") << pow(Real(2), Real(10)) << Real(1024);
}

void TestReal::arithmeticPropagatesNull()
{
    QFETCH(Real, result);
    QFETCH(Real, expected);
    QVERIFY(result == expected); // null equals only null
}

void TestReal::equality_data()
{
    QTest::addColumn<Real>("a");
    QTest::addColumn<Real>("b");
    QTest::addColumn<bool>("equal");
    QTest::addColumn<bool>("less");
    QTest::newRow("1e-13 and 0") << Real(1e-13) << Real(0.0) << true << false;
    QTest::newRow("1e-11 and 0") << Real(1e-11) << Real(0.0) << false << false;
    QTest::newRow("large relative") << Real(1e15) << Real(1e15 + 0.5) << true << true;
    QTest::newRow("both null") << Real() << Real() << true << false;
    QTest::newRow("null and 0") << Real() << Real(0.0) << false << false;
    QTest::newRow("different precision") << withPrecision(2.5, 0) << Real(2.5) << true << false;
}

void TestReal::equality()
{
    QFETCH(Real, a);
    QFETCH(Real, b);
    QFETCH(bool, equal);
    QFETCH(bool, less);
    QCOMPARE(a == b, equal);
    QCOMPARE(a < b, less); // plain comparison: no tolerance, false with a null side
    QCOMPARE(b > a, less);
}

void TestReal::text_data()
{
    QTest::addColumn<Real>("value");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("localized");
    QTest::newRow("integer keeps its zeros") << Real(100) << QStringLiteral("100") << QStringLiteral("100");
    QTest::newRow("precision 0 rounds in text") << withPrecision(2.46, 0) << QStringLiteral("2") << QStringLiteral("2");
    QTest::newRow("trailing zeros go") << Real(12.5) << QStringLiteral("12.5") << QStringLiteral("12,5");
    QTest::newRow("five decimals") << Real(1.23456789) << QStringLiteral("1.23457") << QStringLiteral("1,23457");
    QTest::newRow("tiny") << Real(1e-7) << QStringLiteral("0") << QStringLiteral("0");
    QTest::newRow("null") << Real() << QString() << QString();
}

void TestReal::text()
{
    QFETCH(Real, value);
    QFETCH(QString, plain);
    QFETCH(QString, localized);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    QString out;
    QCOMPARE(value.toString(out, false), plain);
    QCOMPARE(value.toString(out, true), localized);
}

void TestReal::fromString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("locale comma") << QStringLiteral("1,5") << true << 1.5;
    QTest::newRow("falls back to point") << QStringLiteral("-1.5") << true << -1.5;
    QTest::newRow("letters") << QStringLiteral("abc") << false << 0.0;
}

void TestReal::fromString()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    Real r = withPrecision(7, 2);
    bool parsed = !ok;
    r.fromString(text, &parsed);
    QCOMPARE(parsed, ok);
    QCOMPARE(r.isNull(), !ok);
    if (ok)
        QCOMPARE(r.getVal(), value);
}

void TestReal::roundingAndDigits_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::addColumn<int>("digits");
    QTest::newRow("2.5 moves up") << 2.5 << 3 << 1;
    QTest::newRow("-2.5 moves up") << -2.5 << -2 << 1;
    QTest::newRow("-2.6") << -2.6 << -3 << 1;
    QTest::newRow("0.4") << 0.4 << 0 << 1;
    QTest::newRow("9.5 has two digits") << 9.5 << 10 << 2;
    QTest::newRow("beyond int clamps") << 1e12 << std::numeric_limits<int>::max() << 13;
    QTest::newRow("below int clamps") << -1e12 << std::numeric_limits<int>::min() << 13;
}

void TestReal::roundingAndDigits()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QFETCH(int, digits);
    QCOMPARE(Real(value).getRound(), rounded);
    QCOMPARE(Real(value).getDigits(), digits);
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
    QCOMPARE(r.getDigits(), 0);
}

void TestReal::precisionIsCappedAndOnlyAssignmentResetsIt()
{
    Real r = withPrecision(1.23456789, 9);
    QCOMPARE(r.getPrecision(), Real::MaxPrecision);
    r.precision(1);
    r.applyPrecision();
    QCOMPARE(r.getVal(), 1.23456789);
    r.let(4.5);
    r += Real(1);
    QCOMPARE(r.getPrecision(), static_cast<unsigned short>(1));
    r = QVariant(QStringLiteral("2.25"));
    QCOMPARE(r.getVal(), 2.25);
    QCOMPARE(r.getPrecision(), Real::MaxPrecision);
    r = QVariant(QStringLiteral("not a number"));
    QVERIFY(r.isNull());
    QVariant v(5);
    QCOMPARE(let(v, Real(1.5)).toDouble(), 1.5);
    QVERIFY(!let(v, Real()).isValid());
}

QTEST_GUILESS_MAIN(TestReal)
#include "tst_real.moc"
