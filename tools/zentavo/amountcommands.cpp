// zentavo words AMOUNT, zentavo money AMOUNT [FLAGS]: amounts as reports write them.

#include "commandline.h"
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
        ToolConsole::fail(ToolConsole::tr("not an amount: \"%1\"").arg(text), ToolConsole::Usage);
    return ok;
}

} // namespace

int runWords(const QStringList& arguments)
{
    CommandLine line(QStringLiteral("words"), QStringLiteral("AMOUNT"),
                     ToolConsole::tr("Writes an amount in words, as contracts write it."));
    if (!line.parse(arguments, 1, 1))
        return line.exitCode();
    Money amount;
    if (!parseAmount(line.positional().at(0), amount))
        return ToolConsole::Usage;
    QString words;
    ToolConsole::out() << TagUtils::processFlagSUMM_IN_WORDS(amount, words) << '\n';
    return ToolConsole::Success;
}

int runMoney(const QStringList& arguments)
{
    CommandLine line(
        QStringLiteral("money"), QStringLiteral("AMOUNT [FLAGS]"),
        ToolConsole::tr(
            "Shows an amount as a report tag with these flag letters shows it (R in words, T rounded, ...)."));
    if (!line.parse(arguments, 1, 2))
        return line.exitCode();
    const QStringList values = line.positional();
    Money amount;
    if (!parseAmount(values.at(0), amount))
        return ToolConsole::Usage;
    const QString letters = values.value(1);
    tagflag_t flags = 0;
    for (const QChar letter : letters)
        flags |= TagUtils::flagForLetter(letter);
    QString value;
    TagUtils::condProcessFlagMONEY(flags, amount, value);
    ToolConsole::out() << values.at(0) << (letters.isEmpty() ? QString() : QLatin1Char('#') + letters) << " = " << value
                       << '\n';
    return ToolConsole::Success;
}
