#include "runtime/moneyexception.h"

const char* MoneyException::what() const noexcept
{
    return "MoneyException: a null amount was read as a number, or an unknown money format was asked for";
}

void MoneyException::raise() const
{
    throw *this;
}

MoneyException* MoneyException::clone() const
{
    return new MoneyException(*this);
}
