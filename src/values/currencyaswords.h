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
};

#endif
