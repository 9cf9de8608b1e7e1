#include "runtime/moneyexception.h"

void MoneyException::raise() const
{
    throw *this;
}

MoneyException* MoneyException::clone() const
{
    return new MoneyException(*this);
}
