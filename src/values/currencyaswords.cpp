#include "values/currencyaswords.h"

#include <cmath>
#include <cstdio>

// A double amount is rounded to whole kopecks first. The kopecks come from the fraction
// of the amount rather than from amount * 100, so a whole number of rubles stays exact
// (no stray kopecks) up to the largest amount written in words. A double holds about 16
// significant digits, so above about 10^13 rubles its kopecks are no longer exact:
// amounts kept as whole kopecks (Money) go through convertKopecks, exact for every one.
//
// Beyond 999 999 999 999 999 rubles Russian has no further scale word in use, so the
// rubles are written in digits followed by the ruble word in its proper form:
// "1000000000000001 рубль 00 копеек". The number is never clipped or lost.
// NaN and infinities are not amounts: the result is empty (out is cleared).

namespace {

enum PluralForm { One = 0, Few = 1, Many = 2 };

using Word = const char16_t*;
using Forms = Word[3]; // one, few (2-4), many

constexpr Word kHundreds[] = {nullptr, u"сто", u"двести", u"триста", u"четыреста",
                              u"пятьсот", u"шестьсот", u"семьсот", u"восемьсот", u"девятьсот"};
constexpr Word kTeens[] = {u"десять", u"одиннадцать", u"двенадцать", u"тринадцать",
                           u"четырнадцать", u"пятнадцать", u"шестнадцать", u"семнадцать",
                           u"восемнадцать", u"девятнадцать"};
constexpr Word kTens[] = {nullptr, nullptr, u"двадцать", u"тридцать", u"сорок",
                          u"пятьдесят", u"шестьдесят", u"семьдесят", u"восемьдесят", u"девяносто"};
constexpr Word kUnitsMasculine[] = {nullptr, u"один", u"два", u"три", u"четыре",
                                    u"пять", u"шесть", u"семь", u"восемь", u"девять"};
constexpr Word kUnitsFeminine[] = {nullptr, u"одна", u"две", u"три", u"четыре",
                                   u"пять", u"шесть", u"семь", u"восемь", u"девять"};

constexpr Forms kRubleForms = {u"рубль", u"рубля", u"рублей"};
constexpr Forms kKopeckForms = {u"копейка", u"копейки", u"копеек"};

struct Scale
{
    bool feminine;
    Forms forms;
};

// Index i names the group of three digits worth 1000^i; group 0 counts the rubles themselves.
constexpr Scale kScales[] = {
    {false, {nullptr, nullptr, nullptr}},
    {true, {u"тысяча", u"тысячи", u"тысяч"}},
    {false, {u"миллион", u"миллиона", u"миллионов"}},
    {false, {u"миллиард", u"миллиарда", u"миллиардов"}},
    {false, {u"триллион", u"триллиона", u"триллионов"}},
};
constexpr int kScaleCount = int(sizeof kScales / sizeof kScales[0]);
constexpr qint64 kMaxRublesInWords = 999'999'999'999'999;

struct RoundedAmount
{
    bool negative;
    double wholeRubles; // integer-valued, not negative
    int kopecks;        // 0..99
};

constexpr quint64 kKopecksPerRuble = 100;

PluralForm pluralForm(qint64 count)
{
    const int lastTwo = int(count % 100);
    if (lastTwo >= 11 && lastTwo <= 14)
        return Many;
    switch (lastTwo % 10) {
    case 1:
        return One;
    case 2:
    case 3:
    case 4:
        return Few;
    default:
        return Many;
    }
}

void appendWord(QStringList& words, Word word)
{
    if (word)
        words.append(QString::fromUtf16(word));
}

void appendGroup(int group, bool feminine, QStringList& words)
{
    appendWord(words, kHundreds[group / 100]);
    const int lastTwo = group % 100;
    if (lastTwo >= 10 && lastTwo <= 19) {
        appendWord(words, kTeens[lastTwo - 10]);
        return;
    }
    appendWord(words, kTens[lastTwo / 10]);
    appendWord(words, (feminine ? kUnitsFeminine : kUnitsMasculine)[lastTwo % 10]);
}

QString rublesInWords(qint64 rubles)
{
    if (rubles == 0)
        return QStringLiteral("ноль ") + QString::fromUtf16(kRubleForms[Many]);

    int groups[kScaleCount] = {};
    for (qint64 rest = rubles, i = 0; i < kScaleCount; rest /= 1000, ++i)
        groups[i] = int(rest % 1000);

    QStringList words;
    for (int scale = kScaleCount - 1; scale >= 0; --scale) {
        const int group = groups[scale];
        if (group == 0)
            continue;
        appendGroup(group, kScales[scale].feminine, words);
        appendWord(words, kScales[scale].forms[pluralForm(group)]);
    }
    appendWord(words, kRubleForms[pluralForm(groups[0])]);
    return words.join(QLatin1Char(' '));
}

QString rublesInDigits(const QString& digits, qint64 lastTwo)
{
    return digits + QLatin1Char(' ') + QString::fromUtf16(kRubleForms[pluralForm(lastTwo)]);
}

QString rublesText(quint64 wholeRubles)
{
    if (wholeRubles <= quint64(kMaxRublesInWords))
        return rublesInWords(qint64(wholeRubles));
    return rublesInDigits(QString::number(wholeRubles), qint64(wholeRubles % 100));
}

QString rublesText(double wholeRubles)
{
    if (wholeRubles <= double(kMaxRublesInWords))
        return rublesInWords(static_cast<qint64>(wholeRubles));
    char digits[400]; // the largest double has 309 digits
    std::snprintf(digits, sizeof digits, "%.0f", wholeRubles);
    return rublesInDigits(QString::fromLatin1(digits),
                          static_cast<qint64>(std::fmod(wholeRubles, 100.0)));
}

QString kopecksPart(int kopecks)
{
    return QStringLiteral("%1 %2")
        .arg(kopecks, 2, 10, QLatin1Char('0'))
        .arg(QString::fromUtf16(kKopeckForms[pluralForm(kopecks)]));
}

// Expects a finite amount.
RoundedAmount roundToKopecks(double amount)
{
    const double magnitude = std::fabs(amount);
    double whole = std::trunc(magnitude);
    int kopecks = int(std::lround((magnitude - whole) * 100.0));
    if (kopecks == 100) {
        whole += 1.0;
        kopecks = 0;
    }
    return {amount < 0.0 && (whole > 0.0 || kopecks > 0), whole, kopecks};
}

void composeAmount(bool negative, QString rubles, int kopecks, QStringList& out)
{
    if (negative)
        rubles.prepend(QStringLiteral("минус "));
    rubles[0] = rubles.at(0).toUpper();
    out << rubles << kopecksPart(kopecks);
}

} // namespace

QString& CurrencyAsWords::convert(double amount, QString& out)
{
    QStringList parts;
    convertAsList(amount, parts);
    out = parts.join(QLatin1Char(' '));
    return out;
}

QStringList& CurrencyAsWords::convertAsList(double amount, QStringList& out)
{
    out.clear();
    if (!std::isfinite(amount))
        return out;

    const RoundedAmount rounded = roundToKopecks(amount);
    composeAmount(rounded.negative, rublesText(rounded.wholeRubles), rounded.kopecks, out);
    return out;
}

QString& CurrencyAsWords::convertKopecks(qint64 kopecks, QString& out)
{
    QStringList parts;
    convertKopecksAsList(kopecks, parts);
    out = parts.join(QLatin1Char(' '));
    return out;
}

QStringList& CurrencyAsWords::convertKopecksAsList(qint64 kopecks, QStringList& out)
{
    out.clear();
    // Unsigned, so the magnitude of the most negative amount is representable.
    const quint64 magnitude = kopecks < 0 ? 0 - quint64(kopecks) : quint64(kopecks);
    composeAmount(kopecks < 0, rublesText(magnitude / kKopecksPerRuble),
                  int(magnitude % kKopecksPerRuble), out);
    return out;
}
