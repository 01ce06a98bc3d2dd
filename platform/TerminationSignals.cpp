#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace tarvane {

namespace {

constexpr std::array HandledSignals = {SIGTERM, SIGHUP, SIGINT};

// Touched only by the signal handler and by installing it.
volatile std::sig_atomic_t g_writeEnd = -1;
volatile std::sig_atomic_t g_received = 0;

void OnTerminationSignal(int signalNumber)
{
    if (g_received) {
        // The first one is still being handled, or its close hangs: give up at once.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    g_received = 1;
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = write(g_writeEnd, &byte, 1);
    errno = saved;
}

} // namespace

void TTerminationSignals::InstallHandlers(int writeEnd)
{
    g_writeEnd = writeEnd;
    g_received = 0;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : HandledSignals)
        sigaction(signalNumber, &action, nullptr);
}

void TTerminationSignals::RestoreDefaultHandlers()
{
    for (const int signalNumber : HandledSignals)
        std::signal(signalNumber, SIG_DFL);
    g_writeEnd = -1;
}

TTerminationSignals::TTerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // no pipe, no handlers: the signals keep their default action
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TTerminationSignals::ReadPending);
    InstallHandlers(m_pipe[1]);
}

TTerminationSignals::~TTerminationSignals()
{
    if (m_pipe[0] < 0)
        return;
    RestoreDefaultHandlers();
    close(m_pipe[0]);
    close(m_pipe[1]);
}

void TTerminationSignals::ReadPending()
{
    unsigned char byte = 0;
    while (read(m_pipe[0], &byte, 1) == 1)
        emit Received(byte);
    // Handled, and the program still runs (a close was refused): the next signal asks again.
    g_received = 0;
}

} // namespace tarvane
