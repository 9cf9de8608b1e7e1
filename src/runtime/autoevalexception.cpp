#include "runtime/autoevalexception.h"

#include <utility>

AutoEvalException::AutoEvalException(QString file, int line)
    : file(std::move(file)), line(line)
{
}

AutoEvalException::AutoEvalException(QString file, int line, QString message)
    : file(std::move(file)), message(std::move(message)), line(line)
{
}

void AutoEvalException::raise() const
{
    throw *this;
}

AutoEvalException* AutoEvalException::clone() const
{
    return new AutoEvalException(*this);
}
