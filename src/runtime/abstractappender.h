#ifndef ZENTAVO_ABSTRACTAPPENDER_H
#define ZENTAVO_ABSTRACTAPPENDER_H

#include "zentavo_export.h"

#include "runtime/logger.h"

#include <QMutex>

#include <atomic>

// A destination of log lines. Logger calls append() from whichever thread logs, so
// an appender serialises its output with writeMutex(). Lines of a level below
// detailsLevel() never reach append().
class ZENTAVO_EXPORT AbstractAppender
{
public:
    AbstractAppender() = default;
    virtual ~AbstractAppender();
    Q_DISABLE_COPY(AbstractAppender)

    Logger::LogLevel detailsLevel() const;
    void setDetailsLevel(Logger::LogLevel level);

    virtual void append(const QDateTime& time, Logger::LogLevel level, const char* file, int line,
                        const char* function, const QString& message) = 0;

protected:
    QMutex& writeMutex() { return mutex; }

private:
    QMutex mutex;
    std::atomic<Logger::LogLevel> threshold{Logger::Trace};
};

#endif
