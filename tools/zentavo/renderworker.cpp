#include "renderworker.h"

#include "interruption.h"
#include "toolconsole.h"
#include "workerprotocol.h"

#include <QCoreApplication>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

RenderWorker::RenderWorker(Render render) : render(std::move(render)) {}

int RenderWorker::run()
{
    QByteArray line, word;
    QString evaluation;
    while (readLine(line)) {
        if (!WorkerProtocol::read(line, word, evaluation) || word != WorkerProtocol::Evaluation)
            return ToolConsole::fail(
                ToolConsole::tr("not a request of the render: \"%1\"").arg(QString::fromUtf8(line)));
        const RenderBatch::Hooks hooks{
            [](const QString& document) { send(WorkerProtocol::line(WorkerProtocol::Started, document)); },
            // Each document as it is written: a worker that dies later has not hidden it.
            [](const QString& document) { send(WorkerProtocol::line(WorkerProtocol::Written, document)); },
            [this](const QString& folder, QString& refusal) { return claim(folder, refusal); }};
        const RenderBatch::Outcome outcome = render(evaluation, hooks);
        report(outcome);
        // Interrupted, the worker ends holding the evaluation: the parent knows whether
        // the whole render was stopped, or only this worker.
        if (outcome.interrupted)
            break;
        send(WorkerProtocol::line(WorkerProtocol::End));
    }
    if (!Interruption::happened())
        return ToolConsole::Success;
    return ToolConsole::fail(ToolConsole::tr("interrupted by %1").arg(Interruption::signalName()),
                             Interruption::exitCode());
}

bool RenderWorker::readLine(QByteArray& line)
{
    for (;;) {
        const qsizetype end = input.indexOf('\n');
        if (end >= 0) {
            line = input.left(end + 1);
            input.remove(0, end + 1);
            return true;
        }
        if (Interruption::happened())
            return false;
        pollfd waits[] = {{STDIN_FILENO, POLLIN, 0}, {Interruption::wakeDescriptor(), POLLIN, 0}};
        if (::poll(waits, waits[1].fd >= 0 ? 2 : 1, -1) < 0 && errno != EINTR)
            return false;
        if (!(waits[0].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[4096];
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
            return false;
        if (got > 0)
            input.append(buffer, got);
    }
}

// The parent holds the folders of the whole render, and answers at once.
bool RenderWorker::claim(const QString& folder, QString& refusal)
{
    send(WorkerProtocol::line(WorkerProtocol::Claim, folder));
    QByteArray line, word;
    QString value;
    if (!readLine(line) || !WorkerProtocol::read(line, word, value)) {
        refusal = ToolConsole::tr("the render ended before the folder %1 was granted").arg(folder);
        return false;
    }
    if (word == WorkerProtocol::Granted)
        return true;
    refusal = value;
    return false;
}

void RenderWorker::report(const RenderBatch::Outcome& outcome)
{
    QByteArray lines;
    if (!outcome.folder.isEmpty())
        lines += WorkerProtocol::line(WorkerProtocol::Folder, outcome.folder);
    for (const QString& document : outcome.skipped)
        lines += WorkerProtocol::line(WorkerProtocol::Skipped, document);
    for (const QString& finding : outcome.findings)
        lines += WorkerProtocol::line(WorkerProtocol::Finding, finding);
    if (!outcome.error.isEmpty())
        lines += WorkerProtocol::line(outcome.writeFailed ? WorkerProtocol::Unwritten : WorkerProtocol::Failed, outcome.error);
    send(lines);
}

void RenderWorker::send(const QByteArray& line)
{
    QTextStream& out = ToolConsole::out();
    out << QString::fromUtf8(line);
    out.flush();
}
