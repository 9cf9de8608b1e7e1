#include "runtime/logger.h"

#include "runtime/abstractappender.h"

#include <QList>
#include <QReadWriteLock>

#include <atomic>

namespace {

struct AppenderRegistry
{
    QReadWriteLock lock;
    QList<AbstractAppender*> appenders;
};

AppenderRegistry& registry()
{
    static AppenderRegistry instance;
    return instance;
}

// Read on every log call before anything else, so it is kept apart from the
// registry: a plain atomic needs no construction guard.
std::atomic<bool>& anyAppender()
{
    static std::atomic<bool> flag{false};
    return flag;
}

// Set while this thread hands a line to the appenders. A line logged from inside
// an appender (for instance through a Qt message handler that forwards to the
// logger) is dropped instead of taking the appender's locks a second time.
bool& dispatchingOnThisThread()
{
    static thread_local bool dispatching = false;
    return dispatching;
}

class DispatchScope
{
public:
    DispatchScope() { dispatchingOnThisThread() = true; }
    ~DispatchScope() { dispatchingOnThisThread() = false; }
    Q_DISABLE_COPY(DispatchScope)
};

} // namespace

Logger::Stream::Stream(LogLevel lineLevel, const char* sourceFile, int sourceLine,
                       const char* sourceFunction)
    : file(sourceFile), function(sourceFunction), line(sourceLine), level(lineLevel)
{
    if (!Logger::isActive())
        return;
    time = QDateTime::currentDateTime();
    debug.emplace(&message);
}

Logger::Stream::~Stream()
{
    if (!debug)
        return;
    const bool spaced = debug->autoInsertSpaces();
    debug.reset(); // completes the text in message
    if (spaced && message.endsWith(QLatin1Char(' ')))
        message.chop(1);
    Logger::dispatch(time, level, file, line, function, message);
}

Logger::Stream Logger::write(LogLevel level, const char* file, int line, const char* function)
{
    return Stream(level, file, line, function);
}

void Logger::registerAppender(AbstractAppender* appender)
{
    if (!appender)
        return;
    AppenderRegistry& reg = registry();
    QWriteLocker locker(&reg.lock);
    if (!reg.appenders.contains(appender))
        reg.appenders.append(appender);
    anyAppender().store(true, std::memory_order_release);
}

void Logger::removeAppender(AbstractAppender* appender)
{
    AppenderRegistry& reg = registry();
    QWriteLocker locker(&reg.lock);
    reg.appenders.removeAll(appender);
    anyAppender().store(!reg.appenders.isEmpty(), std::memory_order_release);
}

QString Logger::levelName(LogLevel level)
{
    switch (level) {
    case Trace:
        return QStringLiteral("Trace");
    case Debug:
        return QStringLiteral("Debug");
    case Info:
        return QStringLiteral("Info");
    case Warning:
        return QStringLiteral("Warning");
    case Error:
        return QStringLiteral("Error");
    case Fatal:
        return QStringLiteral("Fatal");
    }
    return QString::number(int(level));
}

bool Logger::isActive()
{
    return anyAppender().load(std::memory_order_acquire) && !dispatchingOnThisThread();
}

void Logger::dispatch(const QDateTime& time, LogLevel level, const char* file, int line,
                      const char* function, const QString& message)
{
    if (dispatchingOnThisThread())
        return;
    const DispatchScope scope;
    AppenderRegistry& reg = registry();
    QReadLocker locker(&reg.lock);
    for (AbstractAppender* appender : std::as_const(reg.appenders)) {
        if (level >= appender->detailsLevel())
            appender->append(time, level, file, line, function, message);
    }
}
