#ifndef ZENTAVO_RECORDINGAPPENDER_H
#define ZENTAVO_RECORDINGAPPENDER_H

#include "runtime/abstractappender.h"
#include "runtime/logger.h"

#include <QList>
#include <QMutexLocker>
#include <QStringList>

// An appender that keeps every line it receives, for tests that check what is logged.
class RecordingAppender : public AbstractAppender
{
public:
    struct Line
    {
        Logger::LogLevel level;
        QString file;
        int line;
        QString function;
        QString message;
    };

    void append(const QDateTime&, Logger::LogLevel level, const char* file, int line,
                const char* function, const QString& message) override
    {
        QMutexLocker locker(&writeMutex());
        lines.append({level, QString::fromUtf8(file), line, QString::fromUtf8(function), message});
    }

    QList<Line> recorded()
    {
        QMutexLocker locker(&writeMutex());
        return lines;
    }

    // The messages at the given level or above; by default every message.
    QStringList messages(Logger::LogLevel atLeast = Logger::Trace)
    {
        QStringList result;
        for (const Line& line : recorded()) {
            if (line.level >= atLeast)
                result.append(line.message);
        }
        return result;
    }

    void reset()
    {
        QMutexLocker locker(&writeMutex());
        lines.clear();
    }

private:
    QList<Line> lines;
};

// Keeps an appender registered for one scope, so a failed check never leaves it behind.
class AppenderRegistration
{
public:
    explicit AppenderRegistration(AbstractAppender* registered) : appender(registered)
    {
        Logger::registerAppender(appender);
    }
    ~AppenderRegistration() { Logger::removeAppender(appender); }
    AppenderRegistration(const AppenderRegistration&) = delete;
    AppenderRegistration& operator=(const AppenderRegistration&) = delete;

private:
    AbstractAppender* appender;
};

#endif
