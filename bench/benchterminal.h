#pragma once

#include "kdxsimprocess.h"
#include "quietprompter.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QIODevice;

namespace kdx {
class Form1;
class SerialPortOpener;
class Terminal;
} // namespace kdx

namespace kdx::bench {

// The real terminal on kdxsim's pseudo-terminal, as an operator starts it:
// the production serial port at 38400 baud, the real settling delay and
// reply time-out, a parameter file with a few stored sets, the window shown
// (off screen) and its first actions run.
class BenchTerminal {
public:
    BenchTerminal();
    ~BenchTerminal();

    // The terminal keeps its history in this file (none unless set).
    void setHistoryFile(const QString &path) { m_historyFile = path; }

    // Starts kdxsim with the given options, then the terminal on its line,
    // and returns once the first-show actions have ended. False (with the
    // reason) when something did not come up.
    bool start(const QStringList &simArguments, QString *error);

    Terminal &terminal() { return *m_terminal; }
    Form1 &form();
    // The terminal's serial port.
    QIODevice &line();

    // Nanoseconds from constructing the terminal to the end of its first-show actions.
    qint64 startupNs() const { return m_startupNs; }
    // Message boxes shown so far.
    const QStringList &messages() const { return m_prompter.noted(); }

    // Lets the window handle its events for the given time.
    static void runFor(qint64 ms);
    // Lets the window handle its events until done() holds; false after the time-out.
    static bool runUntil(const std::function<bool()> &done, qint64 timeoutMs);

    // The operator sets the speed scrollbar and starts the PID-controlled run.
    void startPidRun(int speed);

    // Puts the poll back in step with its replies (see the definition).
    void bringPollInStep();

private:
    bool writeParamFile(QString *error) const;

    KdxsimProcess m_sim;
    QTemporaryDir m_folder;
    QuietPrompter m_prompter; // every box is noted, none waits for an operator
    std::unique_ptr<SerialPortOpener> m_opener;
    std::unique_ptr<Terminal> m_terminal;
    qint64 m_startupNs = -1;
    QString m_historyFile;
};

} // namespace kdx::bench
