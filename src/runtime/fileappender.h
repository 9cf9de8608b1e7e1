#ifndef ZENTAVO_FILEAPPENDER_H
#define ZENTAVO_FILEAPPENDER_H

#include "zentavo_export.h"

#include "runtime/abstractappender.h"

#include <QFile>
#include <QString>

// Appends log lines to a file. Each is one UTF-8 line, ended by LF:
//   2026-12-05T19:50:56.123 [Trace] src/catalog/bank.cpp:42 <void Bank::load()> bic= "044525225"
// The file is opened at the first write (appending to what is there) and flushed
// after every line, so its size on disk is always current.
class ZENTAVO_EXPORT FileAppender : public AbstractAppender
{
public:
    explicit FileAppender(const QString& fileName);
    ~FileAppender() override;

    QString fileName() const;

    void append(const QDateTime& time, Logger::LogLevel level, const char* file, int line,
                const char* function, const QString& message) override;

    static QByteArray formatLine(const QDateTime& time, Logger::LogLevel level, const char* file,
                                 int line, const char* function, const QString& message);

protected:
    // The caller holds writeMutex(). The next line opens the file afresh.
    void closeFile();

private:
    bool ensureOpen();

    const QString name;
    QFile logFile;
    bool openFailureReported = false;
};

#endif
