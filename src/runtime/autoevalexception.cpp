#include "runtime/autoevalexception.h"

#include <utility>

AutoEvalException::AutoEvalException(QString file, int line) : AutoEvalException(std::move(file), line, QString())
{
}

AutoEvalException::AutoEvalException(QString file, int line, QString message)
    : file(std::move(file)), message(std::move(message)), line(line)
{
    description = QStringLiteral("AutoEvalException at %1:%2").arg(this->file).arg(line).toUtf8();
    if (!this->message.isEmpty())
        description += ": " + this->message.toUtf8();
}

const char* AutoEvalException::what() const noexcept
{
    return description.constData();
}

void AutoEvalException::raise() const
{
    throw *this;
}

AutoEvalException* AutoEvalException::clone() const
{
    return new AutoEvalException(*this);
}
