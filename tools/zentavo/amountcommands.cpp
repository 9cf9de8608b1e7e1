// zentavo words AMOUNT, zentavo money AMOUNT [FLAGS]: amounts as reports write them.

#include "subcommands.h"
#include "toolconsole.h"

#include "values/money.h"
#include "values/tagutils.h"

#include <QCoreApplication>

namespace {

bool parseAmount(const QString& text, Money& amount)
{
    bool ok = false;
    TagUtils::parseMoney(text, &ok, amount);
    if (!ok)
        ToolConsole::fail(QCoreApplication::translate("zentavo", "not an amount: \"%1\"").arg(text));
    return ok;
}

} // namespace

int runWords(const QStringList& arguments)
{
    if (arguments.size() != 1)
        return ToolConsole::fail(QStringLiteral("usage: zentavo words AMOUNT"), ToolConsole::Usage);
    Money amount;
    if (!parseAmount(arguments.at(0), amount))
        return ToolConsole::Usage;
    QString words;
    ToolConsole::out() << TagUtils::processFlagSUMM_IN_WORDS(amount, words) << '\n';
    return ToolConsole::Success;
}

int runMoney(const QStringList& arguments)
{
    if (arguments.isEmpty() || arguments.size() > 2)
        return ToolConsole::fail(QStringLiteral("usage: zentavo money AMOUNT [FLAGS]"), ToolConsole::Usage);
    Money amount;
    if (!parseAmount(arguments.at(0), amount))
        return ToolConsole::Usage;
    const QString letters = arguments.value(1);
    tagflag_t flags = 0;
    for (const QChar letter : letters)
        flags |= TagUtils::flagForLetter(letter);
    QString value;
    TagUtils::condProcessFlagMONEY(flags, amount, value);
    ToolConsole::out() << arguments.at(0) << (letters.isEmpty() ? QString() : QLatin1Char('#') + letters)
                       << " = " << value << '\n';
    return ToolConsole::Success;
}
