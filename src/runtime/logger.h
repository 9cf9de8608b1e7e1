#ifndef ZENTAVO_LOGGER_H
#define ZENTAVO_LOGGER_H

#include "zentavo_export.h"

#include <QDateTime>
#include <QDebug>
#include <QString>

#include <optional>

class AbstractAppender;

// Diagnostic lines of the library. A call site takes a stream from write(), feeds it
// values the way one feeds QDebug, and the finished line goes to every appender the
// host has registered when the stream is destroyed at the end of the statement.
// The logger never owns its appenders: the host keeps each one alive while registered.
class ZENTAVO_EXPORT Logger
{
public:
    enum LogLevel { Trace = 0, Debug, Info, Warning, Error, Fatal };

    // One log line under construction. While no appender is registered it is inert:
    // no QDebug is built and the streamed values are never formatted.
    class ZENTAVO_EXPORT Stream
    {
    public:
        Stream(LogLevel lineLevel, const char* sourceFile, int sourceLine, const char* sourceFunction);
        ~Stream();
        Q_DISABLE_COPY(Stream)

        template <typename T>
        Stream& operator<<(const T& value)
        {
            if (debug)
                *debug << value;
            return *this;
        }

    private:
        QString message;
        std::optional<QDebug> debug;
        QDateTime time;
        const char* file;
        const char* function;
        int line;
        LogLevel level;
    };

    static Stream write(LogLevel level, const char* file, int line, const char* function);

    // Registering an appender twice has no further effect. Removing one waits until
    // the lines being handed to it on other threads are done.
    static void registerAppender(AbstractAppender* appender);
    static void removeAppender(AbstractAppender* appender);

    // "Trace", "Debug", ... as shown in log files.
    static QString levelName(LogLevel level);

private:
    static bool isActive();
    static void dispatch(const QDateTime& time, LogLevel level, const char* file, int line,
                         const char* function, const QString& message);
};

#define LOG_TRACE() Logger::write(Logger::Trace, __FILE__, __LINE__, Q_FUNC_INFO)
#define LOG_DEBUG() Logger::write(Logger::Debug, __FILE__, __LINE__, Q_FUNC_INFO)
#define LOG_INFO() Logger::write(Logger::Info, __FILE__, __LINE__, Q_FUNC_INFO)
#define LOG_WARNING() Logger::write(Logger::Warning, __FILE__, __LINE__, Q_FUNC_INFO)
#define LOG_ERROR() Logger::write(Logger::Error, __FILE__, __LINE__, Q_FUNC_INFO)

#endif
