#ifndef ZENTAVO_TOOL_RENDERWORKER_H
#define ZENTAVO_TOOL_RENDERWORKER_H

#include "renderbatch.h"

#include <QByteArray>

#include <functional>

// A worker process of a render with --jobs: started once with the render's options, it
// renders each evaluation its parent sends on standard input and reports every document,
// failure and folder claim on standard output (WorkerProtocol), until the parent closes
// its input or a signal interrupts it. What it cannot report there (templates that do
// not load) it says on standard error, where the parent reads it.
class RenderWorker
{
public:
    using Render = std::function<RenderBatch::Outcome(const QString& evaluation, const RenderBatch::Hooks& hooks)>;

    explicit RenderWorker(Render render);
    // The exit code: success once the input has ended, the interruption's otherwise.
    int run();

private:
    // Waits for the parent's next line; false at the end of the input or on interruption.
    bool readLine(QByteArray& line);
    bool claim(const QString& folder, QString& refusal);
    void report(const RenderBatch::Outcome& outcome);
    static void send(const QByteArray& line);

    Render render;
    QByteArray input;
};

#endif
