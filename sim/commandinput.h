#pragma once

#include <QByteArray>
#include <QObject>

#include <memory>

class QSocketNotifier;

namespace kdx::sim {

class LineLog;
class PtyServer;
class SimulatedLine;

// Commands for a running kdxsim, one a line on a file descriptor (standard
// input), that change how the controller misbehaves:
//
//   heal      answer like a sound controller from now on: no silence,
//             garbage, mangling or echo
//   silent    answer nothing from now on
//   burst N   send N bytes of noise at once (random, or --garbage-byte)
//   values    print the active values of P0..P7 on standard output, as
//             "values 1000 50 200 10 200 100 1024 30"
//
// Each command obeyed goes into the log, and so does "burst sent" once a
// burst has gone into the pseudo-terminal completely. The end of the input
// is reported, so that a kdxsim whose test has died does not linger.
class CommandInput : public QObject {
    Q_OBJECT
public:
    CommandInput(int fd, SimulatedLine &line, PtyServer &server, LineLog &log,
                 QObject *parent = nullptr);
    ~CommandInput() override;

    // Carries out one command (single blanks between words); false for one
    // it does not know.
    bool obey(const QByteArray &command);

signals:
    // The input has ended: whoever gave the commands is gone.
    void ended();

private:
    void readInput();

    int m_fd;
    SimulatedLine &m_line;
    PtyServer &m_server;
    LineLog &m_log;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QByteArray m_typed;
    bool m_bursting = false;
};

} // namespace kdx::sim
