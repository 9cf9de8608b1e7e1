#include "runtime/autoevalexception.h"
#include "runtime/moneyexception.h"
#include "values/money.h"

#include <QTest>

#include <limits>

Q_DECLARE_METATYPE(Money)

namespace {

Money kopecks(long long k)
{
    Money m;
    m.let(k);
    return m;
}

template <typename Value>
Money letFrom(Value rubles)
{
    Money m;
    m.let(rubles);
    return m;
}

// Stand-ins for the digits argument of round() in the rounding table.
constexpr int TruncateCents = std::numeric_limits<int>::min();
constexpr int RoundSmart = std::numeric_limits<int>::max();

} // namespace

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
    void amounts_data();
    void amounts();
    void refusedConstructions();
    void comparisons_data();
    void comparisons();
    void text_data();
    void text();
    void unknownFormatThrows();
    void parse_data();
    void parse();
    void rounding_data();
    void rounding();
};

void TestMoney::refusedConstructions()
{
    try {
        Money(5, 101);
        QFAIL("a kopeck part above 100 must be refused");
    } catch (const AutoEvalException& e) {
        QCOMPARE(e.getFile(), QStringLiteral("money"));
        QCOMPARE(e.getLine(), 23);
    }
    Money m;
    QVERIFY_THROWS_EXCEPTION(AutoEvalException, m.let(Real()));
    QVERIFY(m.isNull());
}

void TestMoney::amounts_data()
{
    QTest::addColumn<Money>("result");
    QTest::addColumn<bool>("null");
    QTest::addColumn<qint64>("cents");
    const Money ten(10, 0);
    QTest::newRow("let(1.237) adds a half kopeck") << letFrom(1.237) << false << qint64(124);
    QTest::newRow("let(Real(1.237)) truncates") << letFrom(Real(1.237)) << false << qint64(123);
    QTest::newRow("let(-1.237) truncates toward zero") << letFrom(-1.237) << false << qint64(-123);
    QTest::newRow("5 rubles 100 kopecks") << Money(5, 100) << false << qint64(600);
    QTest::newRow("large rubles") << Money(90000000000000L, 99) << false << qint64(9000000000000099LL);
    QTest::newRow("null + 1") << (Money() + Money(1, 0)) << true << qint64(0);
    QTest::newRow("sum") << (Money(1, 50) + Money(2, 75)) << false << qint64(425);
    QTest::newRow("difference") << (Money(1, 50) - Money(2, 75)) << false << qint64(-125);
    QTest::newRow("1 - null") << (Money(1, 0) - Money()) << true << qint64(0);
    QTest::newRow("null - 1") << (Money() - Money(1, 0)) << true << qint64(0);
    constexpr qint64 most = std::numeric_limits<qint64>::max(), least = std::numeric_limits<qint64>::min();
    QTest::newRow("sum saturates") << (kopecks(most) + kopecks(1)) << false << most;
    QTest::newRow("difference saturates") << (kopecks(least) - kopecks(1)) << false << least;
    QTest::newRow("+= saturates") << [&] { Money m = kopecks(most); m += kopecks(most); return m; }() << false << most;
    QTest::newRow("times integer") << (Money(1, 50) * 3) << false << qint64(450);
    QTest::newRow("times double rounds") << (kopecks(333) * 0.5) << false << qint64(167);
    QTest::newRow("times negative half moves up") << (kopecks(-5) * 0.5) << false << qint64(-2);
    QTest::newRow("times Real") << (Money(2, 0) * Real(1.5)) << false << qint64(300);
    QTest::newRow("times null Real") << (Money(2, 0) * Real()) << true << qint64(0);
    QTest::newRow("money times money") << (kopecks(3) * kopecks(4)) << false << qint64(12);
    QTest::newRow("20 / 3 rounds") << (Money(20, 0) / 3L) << false << qint64(667);
    QTest::newRow("/ 0") << (ten / 0L) << true << qint64(0);
    QTest::newRow("beyond 32 bits") << (kopecks(900000000000LL) / 2L) << false << qint64(450000000000LL);
    QTest::newRow("/ Real") << (ten / Real(4)) << false << qint64(250);
    QTest::newRow("/ Real 0") << (ten / Real(0.0)) << true << qint64(0);
    QTest::newRow("ratio 10 / 3 rubles") << (ten / Money(3, 0)) << false << qint64(3);
    QTest::newRow("ratio 10 / 4 rubles rounds up") << (ten / Money(4, 0)) << false << qint64(3);
    QTest::newRow("ratio by zero") << (ten / kopecks(0)) << true << qint64(0);
    QTest::newRow("+= in place") << [] { Money m(1, 0); m += Money(0, 50); return m; }() << false << qint64(150);
    QTest::newRow("+= null") << [] { Money m(1, 0); m += Money(); return m; }() << true << qint64(0);
    QTest::newRow("null +=") << [] { Money m; m += Money(1, 0); return m; }() << true << qint64(0);
    QTest::newRow("/= 3 in place") << [] { Money m(10, 0); m /= 3; return m; }() << false << qint64(333);
    QTest::newRow("/= 0") << [] { Money m(10, 0); m /= 0; return m; }() << true << qint64(0);
    QTest::newRow("-1.00 /= 3 rounds like /") << [] { Money m(-1, 0); m /= 3; return m; }() << false << qint64(-33);
    QTest::newRow("-2.00 /= 3 rounds like /") << [] { Money m(-2, 0); m /= 3; return m; }() << false << qint64(-67);
}

void TestMoney::amounts()
{
    QFETCH(Money, result);
    QFETCH(bool, null);
    QFETCH(qint64, cents);
    QCOMPARE(result.isNull(), null);
    if (null)
        QVERIFY_THROWS_EXCEPTION(MoneyException, result.getCents());
    if (!null)
        QCOMPARE(result.getCents(), cents);
}

void TestMoney::comparisons_data()
{
    QTest::addColumn<Money>("a");
    QTest::addColumn<Money>("b");
    QTest::addColumn<bool>("equal");
    QTest::addColumn<bool>("less");
    QTest::addColumn<bool>("greater");
    QTest::newRow("both null") << Money() << Money() << true << false << false;
    QTest::newRow("null and zero") << Money() << kopecks(0) << false << false << false;
    QTest::newRow("equal") << Money(1, 5) << kopecks(105) << true << false << false;
    QTest::newRow("less") << Money(-1, 0) << Money(0, 1) << false << true << false;
    QTest::newRow("greater") << Money(2, 0) << Money(1, 99) << false << false << true;
}

void TestMoney::comparisons()
{
    QFETCH(Money, a);
    QFETCH(Money, b);
    QFETCH(bool, equal);
    QFETCH(bool, less);
    QFETCH(bool, greater);
    QCOMPARE(a == b, equal);
    QCOMPARE(a < b, less);
    QCOMPARE(a > b, greater);
}

void TestMoney::text_data()
{
    QTest::addColumn<qint64>("cents");
    QTest::addColumn<QString>("naturalText");
    QTest::addColumn<QString>("fullText");
    QTest::newRow("123.45") << qint64(12345) << QStringLiteral("123.45") << QStringLiteral("123.45");
    QTest::newRow("-123.45") << qint64(-12345) << QStringLiteral("-123.45") << QStringLiteral("-123.45");
    QTest::newRow("0") << qint64(0) << QStringLiteral("0") << QStringLiteral("0.00");
    QTest::newRow("-0.50 keeps its sign") << qint64(-50) << QStringLiteral("-0.50") << QStringLiteral("-0.50");
    QTest::newRow("-0.05") << qint64(-5) << QStringLiteral("-0.05") << QStringLiteral("-0.05");
}

void TestMoney::text()
{
    QFETCH(qint64, cents);
    QFETCH(QString, naturalText);
    QFETCH(QString, fullText);
    const Money m = kopecks(cents);
    QString out;
    QCOMPARE(m.toString(out, Money::FMT_NATURAL), naturalText);
    QCOMPARE(m.toString(out, Money::FMT_FULL), fullText);
}

void TestMoney::unknownFormatThrows()
{
    QString out;
    const auto unknown = static_cast<Money::MoneyFormat>(7);
    QVERIFY_THROWS_EXCEPTION(MoneyException, Money(1, 0).toString(out, unknown));
    Money m;
    QVERIFY_THROWS_EXCEPTION(MoneyException, Money::fromString(m, QStringLiteral("1"), Money::FMT_FULL, nullptr));
}

void TestMoney::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<qint64>("cents");
    QTest::newRow("123") << QStringLiteral("123") << true << qint64(12300);
    QTest::newRow("123,45") << QStringLiteral("123,45") << true << qint64(12345);
    QTest::newRow("123.5 means 50 kopecks") << QStringLiteral("123.5") << true << qint64(12350);
    QTest::newRow("12.3456 cut, not rounded") << QStringLiteral("12.3456") << true << qint64(1234);
    QTest::newRow("-0.50") << QStringLiteral("-0.50") << true << qint64(-50);
    QTest::newRow("12.05") << QStringLiteral("12.05") << true << qint64(1205);
    QTest::newRow("empty") << QString() << false << qint64(0);
    QTest::newRow("1.2.3") << QStringLiteral("1.2.3") << false << qint64(0);
    QTest::newRow("12.") << QStringLiteral("12.") << false << qint64(0);
    QTest::newRow(".5") << QStringLiteral(".5") << false << qint64(0);
    QTest::newRow("signed kopecks") << QStringLiteral("12.-5") << false << qint64(0);
    QTest::newRow("too many rubles") << QStringLiteral("999999999999999999") << false << qint64(0);
}

void TestMoney::parse()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(qint64, cents);
    Money out(99, 0);
    bool parsed = !ok;
    QCOMPARE(Money::fromString(out, text, Money::FMT_NATURAL, &parsed), ok);
    QCOMPARE(parsed, ok);
    QCOMPARE(out.isNull(), !ok);
    if (ok)
        QCOMPARE(out.getCents(), cents);

    Money member(1, 0);
    QCOMPARE(member.fromString(text, Money::FMT_NATURAL), ok);
    QCOMPARE(member.isNull(), !ok);
}

void TestMoney::rounding_data()
{
    QTest::addColumn<qint64>("before");
    QTest::addColumn<int>("digits");
    QTest::addColumn<qint64>("after");
    QTest::newRow("cents part 50 rounds up") << qint64(12350) << TruncateCents << qint64(12400);
    QTest::newRow("cents part 49 rounds down") << qint64(12349) << TruncateCents << qint64(12300);
    QTest::newRow("negative cents part 50") << qint64(-12350) << TruncateCents << qint64(-12400);
    QTest::newRow("12345 to rubles") << qint64(12345) << 0 << qint64(12300);
    QTest::newRow("12350 to rubles") << qint64(12350) << 0 << qint64(12400);
    QTest::newRow("12345 to tens of kopecks") << qint64(12345) << -1 << qint64(12350);
    QTest::newRow("to thousands") << qint64(123456789) << 3 << qint64(123500000);
    QTest::newRow("negative unchanged") << qint64(-12345) << 0 << qint64(-12345);
    QTest::newRow("small, leading digit below 5") << qint64(40) << 3 << qint64(0);
    QTest::newRow("small, leading digit 5 or above") << qint64(70) << 3 << qint64(100);
    QTest::newRow("huge power saturates") << qint64(5000000000000000000LL) << 20
                                          << std::numeric_limits<qint64>::max();
    QTest::newRow("smart 57") << qint64(57) << RoundSmart << qint64(60);
    QTest::newRow("smart 0") << qint64(0) << RoundSmart << qint64(0);
    QTest::newRow("smart -57") << qint64(-57) << RoundSmart << qint64(-50);
    QTest::newRow("smart 12345") << qint64(12345) << RoundSmart << qint64(10000);
    QTest::newRow("smart 15000") << qint64(15000) << RoundSmart << qint64(20000);
    QTest::newRow("smart 1450, a removed 5 carries") << qint64(1450) << RoundSmart << qint64(2000);
    QTest::newRow("smart 99999") << qint64(99999) << RoundSmart << qint64(100000);
    QTest::newRow("smart 123456") << qint64(123456) << RoundSmart << qint64(120000);
    QTest::newRow("smart 1001001, third digit 0 or 5") << qint64(1001001) << RoundSmart << qint64(1000000);
    QTest::newRow("smart 12345678") << qint64(12345678) << RoundSmart << qint64(12500000);
    QTest::newRow("smart 128000000") << qint64(128000000) << RoundSmart << qint64(130000000);
    QTest::newRow("smart 127000000") << qint64(127000000) << RoundSmart << qint64(125000000);
}

void TestMoney::rounding()
{
    QFETCH(qint64, before);
    QFETCH(int, digits);
    QFETCH(qint64, after);
    Money m = kopecks(before);
    if (digits == TruncateCents)
        m.truncateCentsPart();
    else if (digits == RoundSmart)
        m.roundSmart();
    else
        m.round(digits);
    QCOMPARE(m.getCents(), after);
}

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
