#include "commandline.h"

#include "toolconsole.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

// Negative numbers are arguments, never options: they travel through the parser behind
// a mark no command line holds, which the accessors take off again.
const QChar numberMark(0xE000);

QString marked(const QString& argument)
{
    static const QRegularExpression negativeNumber(QStringLiteral("^-\\d"));
    return negativeNumber.match(argument).hasMatch() ? numberMark + argument : argument;
}

QString unmarked(QString argument)
{
    if (argument.startsWith(numberMark))
        argument.remove(0, 1);
    return argument;
}

QStringList unmarked(QStringList arguments)
{
    for (QString& argument : arguments)
        argument = unmarked(argument);
    return arguments;
}

QString withoutFinalStop(QString text)
{
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

// Lines of at most 80 characters, broken between words.
QString wrapped(const QString& text)
{
    QString result, line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > 80) {
            result += line + QLatin1Char('\n');
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return result + line;
}

} // namespace

CommandLine::CommandLine(const QString& command, const QString& synopsis, const QString& description)
    : command(command), synopsis(synopsis), description(description)
{
    addOption(QCommandLineOption({QStringLiteral("h"), QStringLiteral("help")}, ToolConsole::tr("shows this text")));
}

void CommandLine::addOption(const QCommandLineOption& option)
{
    options.append(option);
    parser.addOption(option);
}

void CommandLine::addListOption(const QCommandLineOption& option, const QRegularExpression& alsoTakes)
{
    addOption(option);
    listOptions.insert(option.names().constFirst(), alsoTakes);
}

// Each further value of a list option becomes an option of its own, as the parser reads them.
QStringList CommandLine::prepared(const QStringList& arguments) const
{
    QStringList result{QStringLiteral("zentavo ") + command};
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        result.append(marked(argument));
        for (auto list = listOptions.cbegin(); list != listOptions.cend(); ++list) {
            const QString option = QStringLiteral("--") + list.key();
            if (argument != option && !argument.startsWith(option + QLatin1Char('=')))
                continue;
            if (argument == option && i + 1 < arguments.size())
                result.append(marked(arguments.at(++i)));
            while (i + 1 < arguments.size() && !arguments.at(i + 1).startsWith(QLatin1Char('-'))
                   && list.value().match(arguments.at(i + 1)).hasMatch())
                result << option << arguments.at(++i);
        }
    }
    return result;
}

bool CommandLine::parse(const QStringList& arguments, int minPositional, int maxPositional)
{
    if (!parser.parse(prepared(arguments))) {
        code = usageError(withoutFinalStop(parser.errorText()));
        return false;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        ToolConsole::out() << helpText();
        code = ToolConsole::Success;
        return false;
    }
    const QStringList rest = positional();
    if (rest.size() < minPositional) {
        code = usageError(rest.isEmpty() ? ToolConsole::tr("arguments missing")
                                         : ToolConsole::tr("more arguments needed"));
        return false;
    }
    if (maxPositional >= 0 && rest.size() > maxPositional) {
        code = usageError(ToolConsole::tr("unexpected argument \"%1\"").arg(rest.at(maxPositional)));
        return false;
    }
    return true;
}

bool CommandLine::parseAfterWord(const QStringList& arguments, int minPositional, int maxPositional)
{
    const QString word = command.section(QLatin1Char(' '), 1);
    const bool named = arguments.value(0) == word;
    if (!parse(named ? arguments.mid(1) : arguments, minPositional, maxPositional))
        return false;
    if (named)
        return true;
    code = usageError(
        ToolConsole::tr("\"%1\" is followed by \"%2\"").arg(command.section(QLatin1Char(' '), 0, 0), word));
    return false;
}

QStringList CommandLine::positional() const
{
    return unmarked(parser.positionalArguments());
}

bool CommandLine::isSet(const QString& name) const
{
    return parser.isSet(name);
}

QString CommandLine::value(const QString& name) const
{
    return unmarked(parser.value(name));
}

QStringList CommandLine::values(const QString& name) const
{
    return unmarked(parser.values(name));
}

int CommandLine::usageError(const QString& problem) const
{
    return ToolConsole::fail(
        ToolConsole::tr("%1; usage: %2 (zentavo %3 --help says more)").arg(problem, usage(), command),
        ToolConsole::Usage);
}

QString CommandLine::usage() const
{
    return QStringLiteral("zentavo %1 %2").arg(command, synopsis).trimmed();
}

QString CommandLine::helpText() const
{
    QStringList names;
    int width = 0;
    for (const QCommandLineOption& option : options) {
        QString name = QStringLiteral("--") + option.names().constLast();
        if (!option.valueName().isEmpty())
            name += QLatin1Char(' ') + option.valueName();
        names.append(name);
        width = std::max(width, int(name.size()));
    }
    QString text = ToolConsole::tr("usage: %1\n\n%2\n\noptions:\n").arg(usage(), wrapped(description));
    for (int i = 0; i < options.size(); ++i)
        if (!(options.at(i).flags() & QCommandLineOption::HiddenFromHelp))
            text += QStringLiteral("  %1  %2\n").arg(names.at(i).leftJustified(width), options.at(i).description());
    return text;
}
