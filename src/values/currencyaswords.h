#ifndef ZENTAVO_CURRENCYASWORDS_H
#define ZENTAVO_CURRENCYASWORDS_H

#include "values/currency.h"

// Writes an amount the way Russian accounting documents do:
// "Сто двадцать три тысячи четыреста пятьдесят шесть рублей 78 копеек".
// Rubles in words with the right gender and plural, kopecks as two digits with
// their word, "Минус" before a negative amount, the first letter upper case.
class ZENTAVO_EXPORT CurrencyAsWords : public Currency
{
public:
    QString& convert(double amount, QString& out) override;
    QStringList& convertAsList(double amount, QStringList& out) override;

    // The same text for an amount held as whole kopecks, exact for every 64-bit amount
    // (a double loses the kopecks of amounts above about 10^13 rubles).
    QString& convertKopecks(qint64 kopecks, QString& out);
    QStringList& convertKopecksAsList(qint64 kopecks, QStringList& out);
};

#endif
