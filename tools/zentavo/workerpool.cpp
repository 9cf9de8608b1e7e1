#include "workerpool.h"

#include "folderclaims.h"
#include "interruption.h"
#include "renderprogress.h"
#include "toolconsole.h"
#include "workerprotocol.h"

#include "runtime/logger.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <csignal>

namespace {

// Enough of a worker's standard error for its last words, however much it says.
constexpr int kKeptErrorBytes = 16384;
// How long interrupted workers have to finish the document in hand.
constexpr int kStopGraceMs = 30000;

// What a worker said last on standard error: its failure line, else its last line.
QString ownMessage(const QByteArray& errors)
{
    const QStringList lines = QString::fromUtf8(errors).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QLatin1String prefix(ToolConsole::Prefix);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line)
        if (line->startsWith(prefix) && !line->startsWith(QLatin1String(ToolConsole::WarningPrefix)))
            return line->mid(prefix.size());
    return lines.isEmpty() ? QString() : lines.constLast().trimmed();
}

} // namespace

WorkerPool::WorkerPool(QStringList workerArguments, int jobs, FolderClaims& claims, RenderProgress& progress)
    : arguments(std::move(workerArguments)), jobs(jobs), claims(claims), progress(progress)
{
}

WorkerPool::~WorkerPool()
{
    for (const std::unique_ptr<Worker>& worker : workers)
        if (worker->process.state() != QProcess::NotRunning) {
            worker->process.kill();
            worker->process.waitForFinished(5000);
        }
}

QList<RenderBatch::Outcome> WorkerPool::render(const QStringList& list)
{
    evaluations = list;
    outcomes = QList<RenderBatch::Outcome>(list.size());
    next = 0;
    QEventLoop wait;
    loop = &wait;
    QObject::connect(&Interruption::instance(), &Interruption::interrupted, &wait, [this] { stopAll(); });
    for (int i = 0; i < jobs && next < evaluations.size(); ++i)
        startWorker();
    if (anyAlive())
        wait.exec();
    loop = nullptr;
    for (int i = next; i < evaluations.size(); ++i)
        outcomes[i].interrupted = true;
    return outcomes;
}

void WorkerPool::startWorker()
{
    if (Interruption::happened() || next >= evaluations.size())
        return;
    workers.push_back(std::make_unique<Worker>());
    Worker& worker = *workers.back();
    QProcess& process = worker.process;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [this, &worker] { readOutput(worker); });
    QObject::connect(&process, &QProcess::readyReadStandardError, &process, [&worker] { keepErrors(worker); });
    QObject::connect(&process, &QProcess::errorOccurred, &process, [this, &worker](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            ended(worker,
                  ToolConsole::tr("the worker process cannot be started: %1").arg(worker.process.errorString()));
    });
    QObject::connect(&process, &QProcess::finished, &process, [this, &worker](int code, QProcess::ExitStatus status) {
        readOutput(worker);
        keepErrors(worker);
        ended(worker, causeOfEnd(worker, code, status));
    });
    // It holds its first evaluation from the start: a worker that cannot start fails it.
    worker.held = next++;
    process.start(QCoreApplication::applicationFilePath(), arguments);
    if (!worker.gone)
        process.write(WorkerProtocol::line(WorkerProtocol::Evaluation, evaluations.at(worker.held)));
}

void WorkerPool::keepErrors(Worker& worker)
{
    worker.errors = (worker.errors + worker.process.readAllStandardError()).right(kKeptErrorBytes);
}

void WorkerPool::feed(Worker& worker)
{
    if (!Interruption::happened() && next < evaluations.size()) {
        worker.held = next++;
        worker.process.write(WorkerProtocol::line(WorkerProtocol::Evaluation, evaluations.at(worker.held)));
    } else {
        worker.process.closeWriteChannel();
    }
}

void WorkerPool::readOutput(Worker& worker)
{
    QByteArray word;
    QString value;
    while (worker.process.canReadLine()) {
        const QByteArray line = worker.process.readLine();
        if (WorkerProtocol::read(line, word, value))
            take(worker, word, value);
        else
            LOG_WARNING() << "a worker wrote a line that is none of the render's, of" << line.size() << "bytes";
    }
}

void WorkerPool::take(Worker& worker, const QByteArray& word, const QString& value)
{
    if (worker.held < 0)
        return;
    RenderBatch::Outcome& outcome = outcomes[worker.held];
    if (word == WorkerProtocol::Started) {
        progress.documentStarted(value);
    } else if (word == WorkerProtocol::Claim) {
        QString refusal;
        const bool granted = claims.claim(value, evaluations.at(worker.held), refusal);
        if (granted)
            outcome.folder = value;
        worker.process.write(granted ? WorkerProtocol::line(WorkerProtocol::Granted)
                                     : WorkerProtocol::line(WorkerProtocol::Refused, refusal));
    } else if (word == WorkerProtocol::Folder) {
        outcome.folder = value;
    } else if (word == WorkerProtocol::Written) {
        outcome.written.append(value);
    } else if (word == WorkerProtocol::Skipped) {
        outcome.skipped.append(value);
    } else if (word == WorkerProtocol::Finding) {
        outcome.findings.append(value);
    } else if (word == WorkerProtocol::Failed || word == WorkerProtocol::Unwritten) {
        outcome.error = value;
        outcome.writeFailed = word == WorkerProtocol::Unwritten;
    } else if (word == WorkerProtocol::End) {
        worker.held = -1;
        feed(worker);
    }
}

QString WorkerPool::causeOfEnd(const Worker& worker, int code, QProcess::ExitStatus status) const
{
    // Stopped along with the render: not a failure of its own.
    if (Interruption::happened()
        && (status == QProcess::CrashExit || code == ToolConsole::InterruptedBySigint
            || code == ToolConsole::InterruptedBySigterm))
        return QString();
    const QString message = ownMessage(worker.errors);
    // Stopped from outside before it could catch the signal (it had just started): the
    // exit code of a process a signal ended is the signal's number.
    if (status == QProcess::CrashExit && (code == SIGINT || code == SIGTERM))
        return ToolConsole::tr("the worker process was interrupted by %1").arg(Interruption::nameOf(code));
    if (status == QProcess::CrashExit)
        return message.isEmpty() ? ToolConsole::tr("the worker process crashed")
                                 : ToolConsole::tr("the worker process crashed: %1").arg(message);
    if (code != ToolConsole::Success)
        return message.isEmpty() ? ToolConsole::tr("the worker process ended with exit code %1").arg(code) : message;
    if (worker.held >= 0)
        return ToolConsole::tr("the worker process ended before it was done");
    return QString();
}

void WorkerPool::ended(Worker& worker, const QString& cause)
{
    if (worker.gone)
        return;
    worker.gone = true;
    if (worker.held >= 0) {
        RenderBatch::Outcome& outcome = outcomes[worker.held];
        if (!cause.isEmpty() && outcome.error.isEmpty())
            outcome.error = cause;
        else if (cause.isEmpty() && outcome.error.isEmpty())
            outcome.interrupted = true;
        worker.held = -1;
    } else if (!cause.isEmpty()) {
        failures.append(cause);
    }
    startWorker();
    if (!anyAlive() && loop)
        loop->quit();
}

// Busy workers get SIGTERM and finish the document in hand; idle ones hear the end of
// their input. Whoever has not ended after the grace time is killed.
void WorkerPool::stopAll()
{
    for (const std::unique_ptr<Worker>& worker : workers) {
        if (worker->gone)
            continue;
        if (worker->held >= 0)
            worker->process.terminate();
        else
            worker->process.closeWriteChannel();
    }
    QTimer::singleShot(kStopGraceMs, loop, [this] {
        for (const std::unique_ptr<Worker>& worker : workers)
            if (!worker->gone)
                worker->process.kill();
    });
}

bool WorkerPool::anyAlive() const
{
    for (const std::unique_ptr<Worker>& worker : workers)
        if (!worker->gone)
            return true;
    return false;
}
