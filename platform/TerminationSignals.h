#pragma once

#include <QObject>

class QSocketNotifier;

namespace tarvane {

// The end of the desktop session, a kill from a terminal or Ctrl+C (SIGTERM, SIGHUP, SIGINT)
// reported in the event loop as Received, so the program can close as if the user had
// asked. A second one while the first is being handled ends the process at once, with the
// signal's default action; one after it was handled (a close refused) is received again.
// One instance at a time; it owns the handlers while it lives.
class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override;

    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

    // The handlers alone, with no event loop: each signal writes one byte to writeEnd; from
    // the second signal on, the process ends by the signal itself. Async-signal-safe.
    static void InstallHandlers(int writeEnd);
    static void RestoreDefaultHandlers();

signals:
    void Received(int signalNumber);

private:
    void ReadPending();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace tarvane
