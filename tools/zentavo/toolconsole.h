#ifndef ZENTAVO_TOOL_TOOLCONSOLE_H
#define ZENTAVO_TOOL_TOOLCONSOLE_H

#include <QCoreApplication>
#include <QString>
#include <QTextStream>

// The tool's terminal: standard output for results, one line on standard error for a
// failure, and nothing else. Qt's own diagnostics go to the library log instead of the
// terminal.
class ToolConsole
{
    // What the tool says, in the user's language: ToolConsole::tr().
    Q_DECLARE_TR_FUNCTIONS(zentavo)

public:
    // Exit codes. A run stopped by a signal exits with 128 + the signal's number, as a
    // shell reports a command the signal ended.
    enum {
        Success = 0,
        Failure = 1,
        Usage = 2,
        InternalError = 3,
        InterruptedBySigint = 130,
        InterruptedBySigterm = 143
    };

    // Before the application object exists: the offscreen platform when there is no
    // display, a private runtime folder when none is set, and Qt's messages to the log.
    static void prepareEnvironment();
    // Removes the private runtime folder, if one was made.
    static void cleanUp();

    static QTextStream& out();
    static QTextStream& err();
    // What begins every line the tool writes on standard error, and a warning's line.
    static constexpr char Prefix[] = "zentavo: ";
    static constexpr char WarningPrefix[] = "zentavo: warning: ";

    // Writes "zentavo: message" on standard error; returns code.
    static int fail(const QString& message, int code = Failure);
    // Writes "zentavo: warning: message" on standard error.
    static void warn(const QString& message);
    static bool isTerminal(int fd);
};

#endif
