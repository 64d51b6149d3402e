#pragma once

#include "core/autotuner.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class QTabWidget;
class QWidget;

namespace kdx {

class Prompter;
class Terminal;
class TuningPanel;
class TuningRun;

// Auto-tuning in the terminal: the panel, the run over the terminal's line,
// the operator's decision, and the snapshot a killed program left behind.
// Every step that talks to the controller runs as one of the terminal's
// operations, so nothing else goes on the line in between.
class TuningController : public QObject {
    Q_OBJECT
public:
    TuningController(Terminal &terminal, Prompter &prompter, const QString &paramFolder);
    ~TuningController() override;

    TuningPanel &panel();
    TuningRun &tuning() { return *m_run; }
    // What the last tuning was asked to do.
    const TuningOptions &lastOptions() const { return m_lastOptions; }

    // Opens the panel: the workbench on its tab, unless another window hosts it.
    void show();
    // Puts the panel into the "Automata hangolás" tab of another window (the
    // workbench), unless it is hosted already.
    void hostIn(QTabWidget *tabs);
    bool isRunning() const;
    // Stop, Esc, the main window's STOP / RESET, a window closing.
    void stop();
    // The main window is closing. True when a tuning runs: it stops and
    // writes the snapshot back first, and the program ends after that.
    bool holdQuit();
    // At start-up: a tuning that never ended left its snapshot; offer it back.
    void offerPendingRestore();

    // Starts a tuning; the snapshot must agree with the values the window
    // shows (a message instead when it shows none).
    void start(TuningOptions options);
    void accept(const ParamNumbers &tuned);
    void discard();
    void exportLog();
    // Writes the log as CSV; false (after a message) when it could not.
    bool writeLog(const QString &path);

private:
    // P0..P7 as the current-value boxes show them; nothing when one is empty.
    std::optional<ParamNumbers> shownValues() const;
    // Keeps the operator's other controls away from the line while a tuning owns it.
    void holdMainWindow(bool hold);

    Terminal &m_terminal;
    Prompter &m_prompter;
    QString m_folder;
    std::unique_ptr<TuningRun> m_run;
    QPointer<TuningPanel> m_panel; // owned here until another window hosts it
    TuningOptions m_lastOptions;
    std::vector<QPointer<QWidget>> m_held;
    bool m_quitPending = false;
    bool m_startDue = false; // a start waits for the operation under way
};

} // namespace kdx
