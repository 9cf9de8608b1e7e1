#ifndef ZENTAVO_EVALUATIONFILELOCK_H
#define ZENTAVO_EVALUATIONFILELOCK_H

#include "zentavo_export.h"

#include <QCoreApplication>
#include <QString>

#include <memory>

class QLockFile;

// One writer per evaluation file at a time, across processes: a lock file beside the
// evaluation ("NAME.lock") while a save, or a whole load-change-save, is going on. A
// second writer waits a bounded time, then gives up with a message naming the file. A
// lock left by a process that died is taken over.
class ZENTAVO_EXPORT EvaluationFileLock
{
    Q_DECLARE_TR_FUNCTIONS(EvaluationFileLock)

public:
    // How long a writer waits for another one to finish.
    static constexpr int DefaultWaitMs = 10000;

    explicit EvaluationFileLock(const QString& evaluationPath);
    ~EvaluationFileLock();
    Q_DISABLE_COPY(EvaluationFileLock)

    bool lock(int waitMs = DefaultWaitMs);
    void unlock();
    bool isLocked() const;
    // Whether this lock is for the given evaluation file.
    bool covers(const QString& evaluationPath) const;
    // One line naming the file and why it could not be locked.
    QString errorString() const { return error; }

private:
    QString evaluation;
    std::unique_ptr<QLockFile> file;
    QString error;
};

#endif
