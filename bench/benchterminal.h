#pragma once

#include "kdxsimprocess.h"
#include "quietprompter.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class QIODevice;

#include "core/autotuner.h"

namespace kdx {
class Form1;
class SerialPortOpener;
class Terminal;
class TuningRun;
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

// One auto-tuning as an operator starts it, through the terminal's own link
// on a kdxsim started with these options and running timeScale times as
// fast as real time. The options' times (budget, window) are in axis time;
// the tuner gets them scaled to the simulator's pace. prepare runs on the
// line before the tuning (it may write parameters), watch gets the run
// before it starts (to connect to its signals).
struct BenchTuning {
    bool ran = false; // false: kdxsim or the terminal did not come up (said on standard error)
    TuningResult result;
    double axisSeconds = 0; // the tuning's time, in axis time
};
BenchTuning tuneOnKdxsim(QStringList simArguments, TuningOptions options, double timeScale,
                         const std::function<void(Terminal &)> &prepare = {},
                         const std::function<void(TuningRun &)> &watch = {});

} // namespace kdx::bench
