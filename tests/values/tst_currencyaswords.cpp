#include "values/currencyaswords.h"

#include <QtTest>

#include <limits>

class TestCurrencyAsWords : public QObject
{
    Q_OBJECT

private slots:
    void convert_data();
    void convert();
    void convertAsList_data();
    void convertAsList();
    void nonFiniteGivesEmptyText_data();
    void nonFiniteGivesEmptyText();
    void convertKopecks_data();
    void convertKopecks();
};

void TestCurrencyAsWords::convert_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("expected");

    // Units and teens: masculine ruble, forms change at 1, 2-4, 5-20.
    QTest::newRow("1") << 1.0 << QStringLiteral("Один рубль 00 копеек");
    QTest::newRow("2") << 2.0 << QStringLiteral("Два рубля 00 копеек");
    QTest::newRow("4") << 4.0 << QStringLiteral("Четыре рубля 00 копеек");
    QTest::newRow("5") << 5.0 << QStringLiteral("Пять рублей 00 копеек");
    QTest::newRow("10") << 10.0 << QStringLiteral("Десять рублей 00 копеек");
    QTest::newRow("12") << 12.0 << QStringLiteral("Двенадцать рублей 00 копеек");
    QTest::newRow("14") << 14.0 << QStringLiteral("Четырнадцать рублей 00 копеек");
    QTest::newRow("15") << 15.0 << QStringLiteral("Пятнадцать рублей 00 копеек");
    QTest::newRow("19") << 19.0 << QStringLiteral("Девятнадцать рублей 00 копеек");
    QTest::newRow("20") << 20.0 << QStringLiteral("Двадцать рублей 00 копеек");
    QTest::newRow("21") << 21.0 << QStringLiteral("Двадцать один рубль 00 копеек");
    QTest::newRow("22") << 22.0 << QStringLiteral("Двадцать два рубля 00 копеек");

    // Hundreds, and the teens after a hundred.
    QTest::newRow("100") << 100.0 << QStringLiteral("Сто рублей 00 копеек");
    QTest::newRow("101") << 101.0 << QStringLiteral("Сто один рубль 00 копеек");
    QTest::newRow("111") << 111.0 << QStringLiteral("Сто одиннадцать рублей 00 копеек");
    QTest::newRow("121") << 121.0 << QStringLiteral("Сто двадцать один рубль 00 копеек");
    // Together these name every hundreds, tens and teens word once.
    QTest::newRow("318 456 738") << 318456738.0
                                 << QStringLiteral("Триста восемнадцать миллионов четыреста пятьдесят шесть тысяч "
                                                   "семьсот тридцать восемь рублей 00 копеек");
    QTest::newRow("567 613 816") << 567613816.0
                                 << QStringLiteral("Пятьсот шестьдесят семь миллионов шестьсот тринадцать тысяч "
                                                   "восемьсот шестнадцать рублей 00 копеек");
    QTest::newRow("874 917 999") << 874917999.0
                                 << QStringLiteral("Восемьсот семьдесят четыре миллиона девятьсот семнадцать тысяч "
                                                   "девятьсот девяносто девять рублей 00 копеек");
    QTest::newRow("1 240 080") << 1240080.0
                               << QStringLiteral("Один миллион двести сорок тысяч восемьдесят рублей 00 копеек");

    // Thousands are feminine; an empty group of three digits is left out.
    QTest::newRow("1 001") << 1001.0 << QStringLiteral("Одна тысяча один рубль 00 копеек");
    QTest::newRow("11 000") << 11000.0 << QStringLiteral("Одиннадцать тысяч рублей 00 копеек");
    QTest::newRow("21 000") << 21000.0 << QStringLiteral("Двадцать одна тысяча рублей 00 копеек");
    QTest::newRow("22 000") << 22000.0 << QStringLiteral("Двадцать две тысячи рублей 00 копеек");
    QTest::newRow("101 000") << 101000.0 << QStringLiteral("Сто одна тысяча рублей 00 копеек");

    // Millions, billions, trillions.
    QTest::newRow("1 001 001") << 1001001.0
                               << QStringLiteral("Один миллион одна тысяча один рубль 00 копеек");
    QTest::newRow("21 000 000") << 21e6 << QStringLiteral("Двадцать один миллион рублей 00 копеек");
    QTest::newRow("1 000 000 000") << 1e9 << QStringLiteral("Один миллиард рублей 00 копеек");
    QTest::newRow("2 000 000 000") << 2e9 << QStringLiteral("Два миллиарда рублей 00 копеек");
    QTest::newRow("1 000 000 000 000") << 1e12 << QStringLiteral("Один триллион рублей 00 копеек");
    QTest::newRow("2 000 000 000 000") << 2e12 << QStringLiteral("Два триллиона рублей 00 копеек");
    QTest::newRow("maximum") << 999999999999999.0
                             << QStringLiteral("Девятьсот девяносто девять триллионов "
                                               "девятьсот девяносто девять миллиардов "
                                               "девятьсот девяносто девять миллионов "
                                               "девятьсот девяносто девять тысяч "
                                               "девятьсот девяносто девять рублей 00 копеек");

    // Kopecks: two digits and their own word.
    QTest::newRow("0.02") << 0.02 << QStringLiteral("Ноль рублей 02 копейки");
    QTest::newRow("0.11") << 0.11 << QStringLiteral("Ноль рублей 11 копеек");
    QTest::newRow("0.12") << 0.12 << QStringLiteral("Ноль рублей 12 копеек");
    QTest::newRow("0.14") << 0.14 << QStringLiteral("Ноль рублей 14 копеек");
    QTest::newRow("0.21") << 0.21 << QStringLiteral("Ноль рублей 21 копейка");
    QTest::newRow("0.22") << 0.22 << QStringLiteral("Ноль рублей 22 копейки");
    QTest::newRow("123 456.78") << 123456.78
                                << QStringLiteral("Сто двадцать три тысячи четыреста пятьдесят "
                                                  "шесть рублей 78 копеек");
    QTest::newRow("kopecks of a large amount") << 99999999999.99
                                               << QStringLiteral("Девяносто девять миллиардов "
                                                                 "девятьсот девяносто девять миллионов "
                                                                 "девятьсот девяносто девять тысяч "
                                                                 "девятьсот девяносто девять рублей "
                                                                 "99 копеек");

    // Rounding to whole kopecks, with a carry into the rubles.
    QTest::newRow("0.005 rounds up") << 0.005 << QStringLiteral("Ноль рублей 01 копейка");
    QTest::newRow("1.999 carries") << 1.999 << QStringLiteral("Два рубля 00 копеек");
    QTest::newRow("999.996 carries") << 999.996 << QStringLiteral("Одна тысяча рублей 00 копеек");

    // Negative amounts; one that rounds to zero kopecks has no sign.
    QTest::newRow("-100") << -100.0 << QStringLiteral("Минус сто рублей 00 копеек");
    QTest::newRow("-21 000.22") << -21000.22
                                << QStringLiteral("Минус двадцать одна тысяча рублей 22 копейки");
    QTest::newRow("-0.50") << -0.5 << QStringLiteral("Минус ноль рублей 50 копеек");
    QTest::newRow("-0.004") << -0.004 << QStringLiteral("Ноль рублей 00 копеек");
    QTest::newRow("-0") << -0.0 << QStringLiteral("Ноль рублей 00 копеек");

    // Beyond the range of words: rubles in digits, ruble word still agreeing.
    QTest::newRow("10^15") << 1e15 << QStringLiteral("1000000000000000 рублей 00 копеек");
    QTest::newRow("10^15 + 1") << 1000000000000001.0
                               << QStringLiteral("1000000000000001 рубль 00 копеек");
    QTest::newRow("-10^15") << -1e15 << QStringLiteral("Минус 1000000000000000 рублей 00 копеек");
    QTest::newRow("10^20") << 1e20 << QStringLiteral("100000000000000000000 рублей 00 копеек");
}

void TestCurrencyAsWords::convert()
{
    QFETCH(double, amount);
    QFETCH(QString, expected);

    CurrencyAsWords converter;
    QString text;
    QString& result = converter.convert(amount, text);

    QCOMPARE(text, expected);
    QCOMPARE(&result, &text);
}

void TestCurrencyAsWords::convertAsList_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("rubles");
    QTest::addColumn<QString>("kopecks");

    QTest::newRow("123 456.78") << 123456.78
                                << QStringLiteral("Сто двадцать три тысячи четыреста пятьдесят "
                                                  "шесть рублей")
                                << QStringLiteral("78 копеек");
    QTest::newRow("-2 000.02") << -2000.02 << QStringLiteral("Минус две тысячи рублей")
                               << QStringLiteral("02 копейки");
    QTest::newRow("beyond the range") << 2e15 << QStringLiteral("2000000000000000 рублей")
                                      << QStringLiteral("00 копеек");
}

void TestCurrencyAsWords::convertAsList()
{
    QFETCH(double, amount);
    QFETCH(QString, rubles);
    QFETCH(QString, kopecks);

    CurrencyAsWords converter;
    QStringList pieces{QStringLiteral("left over from before")};
    QStringList& result = converter.convertAsList(amount, pieces);

    QCOMPARE(pieces, QStringList({rubles, kopecks}));
    QCOMPARE(&result, &pieces);
}

void TestCurrencyAsWords::nonFiniteGivesEmptyText_data()
{
    QTest::addColumn<double>("amount");

    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("+infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("-infinity") << -std::numeric_limits<double>::infinity();
}

void TestCurrencyAsWords::nonFiniteGivesEmptyText()
{
    QFETCH(double, amount);

    CurrencyAsWords converter;
    QString text = QStringLiteral("old text");
    converter.convert(amount, text);
    QVERIFY(text.isEmpty());

    QStringList pieces{QStringLiteral("old"), QStringLiteral("pieces")};
    converter.convertAsList(amount, pieces);
    QVERIFY(pieces.isEmpty());
}

void TestCurrencyAsWords::convertKopecks_data()
{
    QTest::addColumn<qint64>("kopecks");
    QTest::addColumn<QString>("expected");

    const QString maxInWords = QStringLiteral("Девятьсот девяносто девять триллионов "
                                              "девятьсот девяносто девять миллиардов "
                                              "девятьсот девяносто девять миллионов "
                                              "девятьсот девяносто девять тысяч "
                                              "девятьсот девяносто девять рублей");
    QTest::newRow("zero") << qint64(0) << QStringLiteral("Ноль рублей 00 копеек");
    QTest::newRow("-1 kopeck") << qint64(-1) << QStringLiteral("Минус ноль рублей 01 копейка");
    QTest::newRow("-21 000.22") << qint64(-2100022)
                                << QStringLiteral("Минус двадцать одна тысяча рублей 22 копейки");
    // A double holds neither of these: its kopecks would be lost or wrong.
    QTest::newRow("12 345 678 901 234.57") << qint64(1234567890123457)
                                           << QStringLiteral("Двенадцать триллионов "
                                                             "триста сорок пять миллиардов "
                                                             "шестьсот семьдесят восемь миллионов "
                                                             "девятьсот одна тысяча "
                                                             "двести тридцать четыре рубля 57 копеек");
    QTest::newRow("largest in words, 99 kopecks") << qint64(99999999999999999)
                                                  << maxInWords + QStringLiteral(" 99 копеек");
    QTest::newRow("negative largest in words") << qint64(-99999999999999901)
                                               << QStringLiteral("Минус ") + maxInWords.toLower()
            + QStringLiteral(" 01 копейка");
    QTest::newRow("10^15 rubles 01 kopeck") << qint64(100000000000000001)
                                            << QStringLiteral("1000000000000000 рублей 01 копейка");
    QTest::newRow("64-bit maximum") << std::numeric_limits<qint64>::max()
                                    << QStringLiteral("92233720368547758 рублей 07 копеек");
    QTest::newRow("64-bit minimum") << std::numeric_limits<qint64>::min()
                                    << QStringLiteral("Минус 92233720368547758 рублей 08 копеек");
}

void TestCurrencyAsWords::convertKopecks()
{
    QFETCH(qint64, kopecks);
    QFETCH(QString, expected);

    CurrencyAsWords converter;
    QString text;
    QCOMPARE(converter.convertKopecks(kopecks, text), expected);
    QStringList pieces;
    QCOMPARE(converter.convertKopecksAsList(kopecks, pieces).join(QLatin1Char(' ')), expected);
}

QTEST_GUILESS_MAIN(TestCurrencyAsWords)
#include "tst_currencyaswords.moc"
