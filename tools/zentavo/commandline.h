#ifndef ZENTAVO_TOOL_COMMANDLINE_H
#define ZENTAVO_TOOL_COMMANDLINE_H

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QHash>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

// The command line of one zentavo command, read the one way every command reads it:
// the options it declares (--name VALUE or --name=VALUE), --help printing its usage on
// standard output, and anything else refused with one line on standard error and the
// usage exit code. An argument such as "-5" or "-1234.5" is a number, not an option.
class CommandLine
{
public:
    // command as the user types it ("render", "photo add"), the synopsis of what follows
    // it, and one paragraph saying what the command does.
    CommandLine(const QString& command, const QString& synopsis, const QString& description);

    void addOption(const QCommandLineOption& option);
    // An option that takes several values in a row: after its first value, each following
    // argument that matches alsoTakes is one more value ("--only a.docx b.txt").
    void addListOption(const QCommandLineOption& option, const QRegularExpression& alsoTakes);

    // Reads the arguments that follow the command's words. False when the command is to
    // end at once with exitCode(): its help was printed, or a usage error was said. The
    // arguments that are not options number from minPositional to maxPositional (-1: any).
    bool parse(const QStringList& arguments, int minPositional, int maxPositional = -1);
    // For a command of two words ("photo add"): the arguments after the first word, which
    // must begin with the second.
    bool parseAfterWord(const QStringList& arguments, int minPositional, int maxPositional = -1);
    int exitCode() const { return code; }

    QStringList positional() const;
    bool isSet(const QString& name) const;
    QString value(const QString& name) const;
    QStringList values(const QString& name) const;

    // Says what is wrong with the command line, and its usage, in one line; answers the
    // usage exit code.
    int usageError(const QString& problem) const;
    QString usage() const;

private:
    QStringList prepared(const QStringList& arguments) const;
    QString helpText() const;

    QString command;
    QString synopsis;
    QString description;
    QCommandLineParser parser;
    QList<QCommandLineOption> options;
    QHash<QString, QRegularExpression> listOptions;
    int code = 0;
};

#endif
