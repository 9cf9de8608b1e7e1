#ifndef ZENTAVO_TOOL_WORKERPOOL_H
#define ZENTAVO_TOOL_WORKERPOOL_H

#include "renderbatch.h"

#include <QProcess>
#include <QStringList>

#include <memory>
#include <vector>

class FolderClaims;
class QEventLoop;
class RenderProgress;

// The parent side of a render with --jobs N: up to N worker processes (RenderWorker),
// each started once and fed one evaluation after the other until none is left. A worker
// that cannot start, crashes or ends with an error fails the evaluation it held, with
// its own message, and another worker takes over the rest. The document folders of all
// workers are claimed here, so two evaluations never write into one folder. Interrupted,
// every worker finishes the document in hand and reports what it wrote.
class WorkerPool
{
public:
    WorkerPool(QStringList workerArguments, int jobs, FolderClaims& claims, RenderProgress& progress);
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // The outcome of each evaluation, in their order.
    QList<RenderBatch::Outcome> render(const QStringList& evaluations);
    // Failures of workers that held no evaluation at the time, one line each.
    QStringList workerFailures() const { return failures; }

private:
    struct Worker
    {
        QProcess process;
        int held = -1;
        QByteArray errors; // the end of what it wrote on standard error
        bool gone = false;
    };

    void startWorker();
    static void keepErrors(Worker& worker);
    void feed(Worker& worker);
    void readOutput(Worker& worker);
    void take(Worker& worker, const QByteArray& word, const QString& value);
    void ended(Worker& worker, const QString& cause);
    QString causeOfEnd(const Worker& worker, int code, QProcess::ExitStatus status) const;
    void stopAll();
    bool anyAlive() const;

    QStringList arguments;
    int jobs;
    FolderClaims& claims;
    RenderProgress& progress;
    QStringList evaluations;
    QList<RenderBatch::Outcome> outcomes;
    int next = 0;
    std::vector<std::unique_ptr<Worker>> workers;
    QStringList failures;
    QEventLoop* loop = nullptr;
};

#endif
