#include "runtime/fileappenderrotated.h"

#include <QFileInfo>
#include <QMutexLocker>

namespace {

void replaceFile(const QString& from, const QString& to)
{
    if (QFile::exists(to))
        QFile::remove(to);
    QFile::rename(from, to);
}

} // namespace

FileAppenderRotated::FileAppenderRotated(const QString& fileName, qint64 limit)
    : FileAppender(fileName), rotateLimit(limit)
{
}

FileAppenderRotated::~FileAppenderRotated() = default;

void FileAppenderRotated::setRotateLimit(qint64 limit)
{
    rotateLimit.store(limit);
}

qint64 FileAppenderRotated::getRotateLimit() const
{
    return rotateLimit.load();
}

void FileAppenderRotated::setRotateCount(int count)
{
    rotateCount.store(count);
}

int FileAppenderRotated::getRotateCount() const
{
    return rotateCount.load();
}

void FileAppenderRotated::append(const QDateTime& time, Logger::LogLevel level, const char* file,
                                 int line, const char* function, const QString& message)
{
    FileAppender::append(time, level, file, line, function, message);
    // The cheap test runs unlocked; the mutex is taken only when a rotation is due.
    if (!exceedsLimit())
        return;
    QMutexLocker locker(&writeMutex());
    // Another thread may have rotated while this one waited: rotating again would
    // move a fresh, small file aside and push the oldest one out too early.
    if (!exceedsLimit())
        return;
    closeFile();
    rotate();
}

// The size on disk, not the open file's: FileAppender flushes every line.
bool FileAppenderRotated::exceedsLimit() const
{
    const QFileInfo info(fileName());
    return info.exists() && info.size() > rotateLimit.load();
}

void FileAppenderRotated::rotate()
{
    const int count = rotateCount.load();
    for (int number = count - 1; number >= 1; --number) {
        const QString older = rotatedName(number);
        if (QFile::exists(older))
            replaceFile(older, rotatedName(number + 1));
    }
    if (count > 1)
        replaceFile(fileName(), rotatedName(1));
    else
        QFile::remove(fileName());
}

QString FileAppenderRotated::rotatedName(int number) const
{
    // The two-argument arg() substitutes both at once, so a "%2" inside a path is kept.
    return QStringLiteral("%1.%2").arg(fileName(), QString::number(number));
}
