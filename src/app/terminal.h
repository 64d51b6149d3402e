#pragma once

#include "core/language.h"
#include "core/portchoice.h"
#include "operations/historystore.h"
#include "operations/settledelay.h"
#include "operations/values.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace kdx {

class CaptureStore;
class ContextHelp;
class FileChooser;
class Form1;
class HistoryRecorder;
class HistoryWindow;
class MonitorView;
class MotorModes;
class ParameterReads;
class ParameterWrites;
class ParamRows;
class ParamSetList;
class ParamSetStore;
class PortCatalogue;
class PortOpener;
class PortSwitch;
class PositionMonitor;
class Prompter;
class ReadingBuffer;
class Scheduler;
class SerialLink;
class StepCapture;
class StepMode;
class WorkbenchWindow;
class TuningController;

struct TerminalOptions {
    PortOpener *opener = nullptr; // the line to the controller (not owned)
    Prompter *prompter = nullptr; // message boxes (not owned)
    FileChooser *files = nullptr; // file dialogs (not owned; the platform's when none)
    QString paramFolder;          // where KDXparam.txt lives
    QString historyFile;          // kdxhistory.sqlite; empty: the session's journal only
    std::chrono::nanoseconds settleStep = SettleDelay::kDefaultStep;
    int replyTimeoutMs = 2000;
    int reconnectIntervalMs = 1000;
    PortChoice port;                  // what the opener was made from
    PortMemory *portMemory = nullptr; // keeps the operator's choice (not owned; may be null)
    LanguageMemory *languageMemory = nullptr; // the language chosen in the port chooser (ditto)
    const PortCatalogue *ports = nullptr;     // the ports present (not owned; null: the system's)
    // Asks the operator for a line (null: the port chooser); nothing when cancelled.
    std::function<std::optional<PortChoice>(const PortChoice &current, const QString &problem)>
        choosePort;
};

// The composition root: builds the link, the operations with the values they
// own, and the window that shows them; ties each control to its value and
// connects every window and timer event to its operation in one place.
class Terminal : public QObject {
    Q_OBJECT
public:
    explicit Terminal(const TerminalOptions &options, QObject *parent = nullptr);
    ~Terminal() override;

    // Start-up. False when the program has to end at once (port in use).
    bool start();
    // The first actions once the window is on the screen.
    void onFirstShown();
    // The window is closing: end at once, nothing more goes on the line.
    void shutDown();
    // "Auto TUNING": opens the tuning workbench.
    void openWorkbench();

    Form1 &form() { return *m_form; }
    SerialLink &link() { return *m_link; }
    Scheduler &scheduler() { return *m_scheduler; }
    SettleDelay &delay() { return *m_delay; }
    ParamRows &rows() { return *m_rows; }
    ParameterReads &reads() { return *m_reads; }
    ParameterWrites &writes() { return *m_writes; }
    ParamSetStore &store() { return *m_store; }
    ParamSetList &list() { return *m_list; }
    PositionMonitor &monitor() { return *m_monitor; }
    MonitorView &monitorView() { return *m_monitorView; }
    MotorModes &motor() { return *m_motor; }
    StepMode &steps() { return *m_steps; }
    ContextHelp &help() { return *m_help; }
    TuningController &tuning() { return *m_tuning; }
    // The hourglass while an operation works.
    Switch &busyPointer() { return m_busyPointer; }
    // The monitor's readings with their times, for the live scope.
    const ReadingBuffer &readings();
    // The step captures of the session and the operation that takes them.
    CaptureStore &captures() { return *m_captures; }
    StepCapture &stepCapture() { return *m_capture; }
    // The workbench window, once it has been opened.
    WorkbenchWindow *workbench() { return m_workbench.get(); }

    // What the terminal read and sent, kept in the history file and the
    // session's journal.
    HistoryRecorder &history() { return *m_history; }
    // The axis the operator works on ("3. gép, X tengely"), remembered per port.
    Text &axisName() { return m_axisName; }
    // "Előzmények": opens the history window.
    void openHistory();
    HistoryWindow *historyWindow() { return m_historyWindow.get(); }
    // Asks the operator for the axis name.
    void askAxisName();
    // Puts a set from the history into the new-value boxes; sends nothing.
    // Empty when done, else why not.
    QString restoreSet(const ParamTexts &set);

    // Runs one operation the way a window event does.
    void run(const std::function<void()> &operation);
    // Runs an operation that needs a clean line from its first request (a
    // tuning, writing a snapshot back): now when the line is free, else
    // right after the operation under way. The window stays as it is.
    void runAlone(const std::function<void()> &operation);
    // Runs an operation that owns the line: nothing else goes on the line
    // until it ends, and the window's controls wait. Then `done` runs, also
    // after a failure. An operation under way ends first; false (nothing
    // will run) when another owner runs or waits already.
    bool runOwningLine(const std::function<void()> &operation,
                       const std::function<void()> &done = {});

    // The first panel was clicked: the operator chooses the line, between
    // operations. A new line gets the first actions (read-all, zeroing,
    // stop and reset) as a fresh start's does, once it is open; what the
    // operator typed as new values stays.
    void choosePort();
    void switchPort(const PortChoice &choice);
    PortSwitch &portSwitch() { return *m_portSwitch; }

private:
    void bindWindow();
    void wire();
    void showLinkProblem(const QString &problem);
    // Read-all, zeroing, stop-and-reset: what the first show does.
    void firstActions(ReadOccasion occasion);
    // The first actions again once the line has opened after the first
    // show: a controller plugged in late, or one that may have been
    // power-cycled while the line was down.
    void catchUp();
    void runOwner(const std::function<void()> &operation, const std::function<void()> &done);
    // The port or the axis name changed: the history's place follows.
    void placeChanged();
    void wireHistory();
    // The file dialogs: the options' chooser, or the platform's.
    FileChooser &files();

    TerminalOptions m_options;
    Switch m_busyPointer;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<Scheduler> m_scheduler;
    std::unique_ptr<SettleDelay> m_delay;
    std::unique_ptr<ParamRows> m_rows;
    std::unique_ptr<PositionMonitor> m_monitor;
    std::unique_ptr<StepMode> m_steps;
    std::unique_ptr<MotorModes> m_motor;
    std::unique_ptr<ParameterReads> m_reads;
    std::unique_ptr<ParamSetStore> m_store;
    std::unique_ptr<ParamSetList> m_list;
    std::unique_ptr<ParameterWrites> m_writes;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<ContextHelp> m_help;
    std::unique_ptr<MonitorView> m_monitorView;
    std::unique_ptr<TuningController> m_tuning;
    std::unique_ptr<PortCatalogue> m_systemPorts;
    std::unique_ptr<PortSwitch> m_portSwitch;
    std::unique_ptr<CaptureStore> m_captures;
    std::unique_ptr<StepCapture> m_capture;
    std::unique_ptr<FileChooser> m_ownFiles;
    std::unique_ptr<WorkbenchWindow> m_workbench;
    std::unique_ptr<HistoryRecorder> m_history;
    std::unique_ptr<HistoryWindow> m_historyWindow;
    Text m_axisName;
    QString m_historyProblem; // said once; the history window says it again
    ReadOccasion m_catchUpOccasion = ReadOccasion::LateController;
    bool m_openedOnce = false; // the line has been open since the first show
    struct OwnerDue {
        std::function<void()> operation, done;
    };
    std::unique_ptr<OwnerDue> m_ownerDue; // waits for the operation under way
    bool m_lineOwned = false;
    bool m_activated = false;
    bool m_catchUpDue = false;    // the line opened after the first show
    bool m_portChoiceDue = false; // the port panel was clicked during an operation
};

} // namespace kdx
