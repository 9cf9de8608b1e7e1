#include "evaluation/evaluationfilelock.h"

#include "runtime/logger.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace {

// Two names of one file are one file: a relative path, a linked folder, a link of the
// user's own. A file not saved yet is named by its folder's real path.
QString canonicalOf(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    const QString folder = info.absoluteDir().canonicalPath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + QLatin1Char('/') + info.fileName();
}

} // namespace

EvaluationFileLock::EvaluationFileLock(const QString& evaluationPath) : evaluation(canonicalOf(evaluationPath))
{
    file = std::make_unique<QLockFile>(evaluation + QStringLiteral(".lock"));
    // A save of a large evaluation may take longer than any age that would call the lock
    // stale; only a lock whose process is gone is taken over.
    file->setStaleLockTime(0);
}

EvaluationFileLock::~EvaluationFileLock() = default;

bool EvaluationFileLock::lock(int waitMs)
{
    error.clear();
    if (file->isLocked() || file->tryLock(waitMs))
        return true;
    const QString shown = QDir::toNativeSeparators(evaluation);
    switch (file->error()) {
    case QLockFile::LockFailedError:
        error = tr("%1 is being saved by another program; try again when it has finished").arg(shown);
        break;
    case QLockFile::PermissionError:
        error = tr("%1 cannot be saved: no permission to write in its folder").arg(shown);
        break;
    default:
        error = tr("%1 cannot be locked for saving").arg(shown);
        break;
    }
    LOG_WARNING() << "evaluation lock not taken:" << QFileInfo(evaluation).fileName() << "error" << file->error();
    return false;
}

void EvaluationFileLock::unlock()
{
    file->unlock();
}

bool EvaluationFileLock::isLocked() const
{
    return file->isLocked();
}

bool EvaluationFileLock::covers(const QString& evaluationPath) const
{
    return canonicalOf(evaluationPath) == evaluation;
}
