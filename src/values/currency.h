#ifndef ZENTAVO_CURRENCY_H
#define ZENTAVO_CURRENCY_H

#include "zentavo_export.h"

#include <QString>
#include <QStringList>

// A converter that writes an amount of rubles as text.
class ZENTAVO_EXPORT Currency
{
public:
    virtual ~Currency() = default;

    // Fills out with the text of the amount (rubles, kopecks as the fraction); returns out.
    virtual QString& convert(double amount, QString& out) = 0;
    // The same text in its two pieces: the rubles part, then the kopecks part.
    virtual QStringList& convertAsList(double amount, QStringList& out) = 0;
};

#endif
