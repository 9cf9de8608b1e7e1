#include "toolconsole.h"

#include "runtime/allocatortuning.h"
#include "runtime/logger.h"

#include <QByteArray>
#include <QDir>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

QByteArray privateRuntimeDir;

void toLog(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const Logger::LogLevel level = type == QtDebugMsg || type == QtInfoMsg ? Logger::Debug : Logger::Warning;
    Logger::write(level, context.file ? context.file : "qt", context.line, context.function ? context.function : "")
        << message;
}

} // namespace

void ToolConsole::prepareEnvironment()
{
    qInstallMessageHandler(toLog);
    // A render frees megabytes that the next document needs again: kept, they spare the
    // kernel handing out fresh pages for every document.
    AllocatorTuning::keepFreedMemory();
    // The library draws pictures with QPixmap, which needs a GUI application; on a
    // machine without a display the offscreen platform stands in.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        QByteArray pattern = QDir::tempPath().toLocal8Bit() + "/zentavo-runtime-XXXXXX";
        if (mkdtemp(pattern.data())) {
            privateRuntimeDir = pattern;
            qputenv("XDG_RUNTIME_DIR", privateRuntimeDir);
        }
    }
}

void ToolConsole::cleanUp()
{
    out().flush();
    err().flush();
    if (!privateRuntimeDir.isEmpty())
        QDir(QString::fromLocal8Bit(privateRuntimeDir)).removeRecursively();
}

QTextStream& ToolConsole::out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& ToolConsole::err()
{
    static QTextStream stream(stderr);
    return stream;
}

int ToolConsole::fail(const QString& message, int code)
{
    out().flush();
    err() << Prefix << message << Qt::endl;
    return code;
}

void ToolConsole::warn(const QString& message)
{
    out().flush();
    err() << WarningPrefix << message << Qt::endl;
}

bool ToolConsole::isTerminal(int fd)
{
    return isatty(fd) == 1;
}
