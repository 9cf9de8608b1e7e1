// zentavo: the command-line host of the library.
//   zentavo render EVALUATION... --templates DIR|URL --out DIR [--only NAME...] [--overwrite]
//                  [--jobs N] [--pdf] [--strict] [--shard K/N] [--summary-json FILE]
//                                                the documents of evaluations
//   zentavo tags EVALUATION [NAME[#FLAGS]...]    the stored tags, or report tags resolved
//   zentavo set EVALUATION [--from TAGFILE] NAME=VALUE...   create or edit an evaluation
//   zentavo photo add EVALUATION FILE...         add photos to an evaluation
//   zentavo company logo EVALUATION FILE         the logo of its appraisal company, in the catalog
//   zentavo check TEMPLATE [EVALUATION]          a template's tags and its errors, with their values
//   zentavo words AMOUNT                         an amount in words, as contracts write it
//   zentavo money AMOUNT [FLAGS]                 an amount as a report tag with flag letters shows it
//   zentavo catalog update [vehicles|people|banks] [--server URL]   refresh the catalogs from the network
//   zentavo bank import FILE.zip                 import a bank directory archive
// Each command says more with --help (or zentavo help COMMAND).

#include "catalogcommands.h"
#include "subcommands.h"
#include "toolconsole.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>

namespace {

struct Subcommand
{
    const char* name;
    const char* usage;
    // Takes the command line after the program name, the subcommand's name first.
    int (*run)(const QStringList& commandLine);
};

// For subcommands that take only the arguments after their name.
template <int (*run)(const QStringList&)>
int afterName(const QStringList& commandLine)
{
    return run(commandLine.mid(1));
}

// One line per subcommand.
const Subcommand subcommands[] = {
    {"render",
     "EVALUATION... --templates DIR|URL --out DIR [--only NAME...] [--overwrite] [--jobs N] [--pdf] [--strict] "
     "[--shard K/N] [--summary-json FILE]",
     afterName<runRender>},
    {"tags", "EVALUATION [NAME[#FLAGS]...]", afterName<runTags>},
    {"set", "EVALUATION [--from TAGFILE] NAME=VALUE...", afterName<runSet>},
    {"photo", "add EVALUATION FILE...", afterName<runPhoto>},
    {"company", "logo EVALUATION FILE", afterName<runCompany>},
    {"check", "TEMPLATE [EVALUATION]", afterName<runCheck>},
    {"words", "AMOUNT", afterName<runWords>},
    {"money", "AMOUNT [FLAGS]", afterName<runMoney>},
    {"catalog", "update [vehicles|people|banks] [--server URL]", runCatalogCommand},
    {"bank", "import FILE.zip", runCatalogCommand},
};

int usage()
{
    QTextStream& out = ToolConsole::out();
    out << ToolConsole::tr("usage:") << '\n';
    for (const Subcommand& subcommand : subcommands)
        out << "  zentavo " << subcommand.name << ' ' << subcommand.usage << '\n';
    out << ToolConsole::tr("zentavo COMMAND --help (or zentavo help COMMAND) says more of a command.") << '\n';
    return ToolConsole::Success;
}

int dispatch(const QStringList& arguments)
{
    const QString name = arguments.value(0);
    if (name == QLatin1String("help") && arguments.size() > 1)
        return dispatch(QStringList{arguments.at(1), QStringLiteral("--help")});
    if (name.isEmpty() || name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help"))
        return usage();
    for (const Subcommand& subcommand : subcommands)
        if (name == QLatin1String(subcommand.name))
            return subcommand.run(arguments);
    return ToolConsole::fail(ToolConsole::tr("unknown command \"%1\"; zentavo --help lists the commands").arg(name),
                             ToolConsole::Usage);
}

// The tool's messages in the user's language (LANGUAGE, LC_ALL, LC_MESSAGES or LANG, as
// every program reads them): the embedded Russian translation, with Qt's own for its
// texts where the system has it. Any other language keeps the English texts.
void speakTheUsersLanguage(QCoreApplication& app)
{
    static QTranslator tool, qt;
    if (!tool.load(QLocale(), QStringLiteral("zentavo"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        return;
    app.installTranslator(&tool);
    if (qt.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qt);
}

} // namespace

int main(int argc, char* argv[])
{
    ToolConsole::prepareEnvironment();
    int result = ToolConsole::Failure;
    {
        QGuiApplication app(argc, argv);
        QGuiApplication::setApplicationName(QStringLiteral("zentavo"));
        speakTheUsersLanguage(app);
        try {
            result = dispatch(QGuiApplication::arguments().mid(1));
        } catch (const std::exception& e) {
            result = ToolConsole::fail(ToolConsole::tr("internal error: %1").arg(QString::fromLocal8Bit(e.what())),
                                       ToolConsole::InternalError);
        }
    }
    ToolConsole::cleanUp();
    return result;
}
