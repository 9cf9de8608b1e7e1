#include "interruption.h"

#include "toolconsole.h"

#include "runtime/logger.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t caught = 0;
int wakePipe[2] = {-1, -1};

// Only async-signal-safe work here: remember the first signal, wake whoever waits.
void onSignal(int number)
{
    if (caught == 0)
        caught = number;
    const char byte = 1;
    const int saved = errno;
    [[maybe_unused]] const ssize_t ignored = ::write(wakePipe[1], &byte, 1);
    errno = saved;
}

} // namespace

Interruption& Interruption::instance()
{
    static Interruption interruption;
    return interruption;
}

void Interruption::install()
{
    if (notifier)
        return;
    if (::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        LOG_WARNING() << "no pipe for signals; Ctrl-C ends the tool at once";
        return;
    }
    notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &Interruption::onWake);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

void Interruption::onWake()
{
    char bytes[64];
    while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
    // Told once, however many signals came.
    if (notifier->isEnabled()) {
        notifier->setEnabled(false);
        LOG_WARNING() << "interrupted by signal" << int(caught);
        emit interrupted();
    }
}

bool Interruption::happened()
{
    return caught != 0;
}

int Interruption::signalNumber()
{
    return caught;
}

int Interruption::exitCode()
{
    return caught == SIGINT ? ToolConsole::InterruptedBySigint : ToolConsole::InterruptedBySigterm;
}

QString Interruption::signalName()
{
    return nameOf(caught);
}

QString Interruption::nameOf(int signal)
{
    switch (signal) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

int Interruption::wakeDescriptor()
{
    return wakePipe[0];
}
