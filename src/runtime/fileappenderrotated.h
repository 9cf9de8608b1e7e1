#ifndef ZENTAVO_FILEAPPENDERROTATED_H
#define ZENTAVO_FILEAPPENDERROTATED_H

#include "zentavo_export.h"

#include "runtime/fileappender.h"

#include <atomic>

// A log file L that is moved aside once it grows beyond a size limit: the lines go on
// in a fresh L, the previous files move up one number (L -> L.1 -> L.2 ...), and only
// L.1 (newest) to L.n are kept, n being the rotate count. With a count of 1 or less
// an oversized L is deleted instead of kept.
class ZENTAVO_EXPORT FileAppenderRotated : public FileAppender
{
public:
    FileAppenderRotated(const QString& fileName, qint64 limit);
    ~FileAppenderRotated() override;

    void setRotateLimit(qint64 limit);
    qint64 getRotateLimit() const;
    void setRotateCount(int count);
    int getRotateCount() const;

    void append(const QDateTime& time, Logger::LogLevel level, const char* file, int line,
                const char* function, const QString& message) override;

private:
    bool exceedsLimit() const;
    void rotate();
    QString rotatedName(int number) const;

    std::atomic<qint64> rotateLimit;
    std::atomic<int> rotateCount{9};
};

#endif
