#ifndef ZENTAVO_MONEYEXCEPTION_H
#define ZENTAVO_MONEYEXCEPTION_H

#include "zentavo_export.h"

#include <QException>

// Thrown when a null amount is read as a number or an unknown text format is asked for.
class ZENTAVO_EXPORT MoneyException : public QException
{
public:
    const char* what() const noexcept override;
    void raise() const override;
    MoneyException* clone() const override;
};

#endif
