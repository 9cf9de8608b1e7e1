#include "runtime/fileappender.h"

#include <QMutexLocker>

FileAppender::FileAppender(const QString& fileName)
    : name(fileName), logFile(fileName)
{
}

FileAppender::~FileAppender() = default;

QString FileAppender::fileName() const
{
    return name;
}

void FileAppender::append(const QDateTime& time, Logger::LogLevel level, const char* file, int line,
                          const char* function, const QString& message)
{
    const QByteArray text = formatLine(time, level, file, line, function, message);
    QMutexLocker locker(&writeMutex());
    if (!ensureOpen())
        return;
    logFile.write(text);
    logFile.flush();
}

QByteArray FileAppender::formatLine(const QDateTime& time, Logger::LogLevel level, const char* file,
                                    int line, const char* function, const QString& message)
{
    QByteArray text = time.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toUtf8();
    text += " [";
    text += Logger::levelName(level).toUtf8();
    text += "] ";
    if (file) {
        text += file;
        text += ':';
        text += QByteArray::number(line);
        text += ' ';
    }
    if (function) {
        text += '<';
        text += function;
        text += "> ";
    }
    text += message.toUtf8();
    text += '\n';
    return text;
}

void FileAppender::closeFile()
{
    logFile.close();
}

bool FileAppender::ensureOpen()
{
    if (logFile.isOpen())
        return true;
    if (logFile.open(QIODevice::WriteOnly | QIODevice::Append))
        return true;
    // Reported once: a log that cannot be written must not flood the console, and
    // the next line tries again in case the folder has appeared meanwhile.
    if (!openFailureReported) {
        openFailureReported = true;
        qWarning("Log file %s cannot be opened: %s", qPrintable(name), qPrintable(logFile.errorString()));
    }
    return false;
}
