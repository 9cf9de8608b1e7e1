#ifndef ZENTAVO_TOOL_INTERRUPTION_H
#define ZENTAVO_TOOL_INTERRUPTION_H

#include <QObject>

class QSocketNotifier;

// Ctrl-C (SIGINT) and SIGTERM, turned from "die at once" into "stop at the next safe
// point": once install() ran, a signal only marks the run as interrupted, wakes the event
// loop and emits interrupted(), so the command can let the document in hand finish or
// vanish, remove its temporary files, stop its child processes and say what it wrote.
class Interruption : public QObject
{
    Q_OBJECT

public:
    static Interruption& instance();

    // Catches the two signals from now on, for the rest of the process.
    void install();

    // True from the moment a signal arrived, even before the event loop heard of it.
    static bool happened();
    static int signalNumber();
    // The exit code of a run the signal stopped.
    static int exitCode();
    static QString signalName();
    static QString nameOf(int signal);
    // Readable from the moment a signal arrived, for a wait outside the event loop.
    static int wakeDescriptor();

signals:
    void interrupted();

private:
    Interruption() = default;
    void onWake();

    QSocketNotifier* notifier = nullptr;
};

#endif
