#pragma once

#include "link/settledelay.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>

namespace kdx {

class ContextHelp;
class Form1;
class MotorModes;
class OperationGuard;
class ParameterReads;
class ParameterWrites;
class ParamSetList;
class ParamSetStore;
class PortOpener;
class PositionMonitor;
class Prompter;
class ScrollBinding;
class SerialLink;
class StepMode;
class TuningController;

struct TerminalOptions {
    PortOpener *opener = nullptr; // the line to the controller (not owned)
    Prompter *prompter = nullptr; // message boxes (not owned)
    QString paramFolder;          // where KDXparam.txt lives
    std::chrono::nanoseconds settleStep = SettleDelay::kDefaultStep;
    int replyTimeoutMs = 2000;
    int reconnectIntervalMs = 1000;
};

// The composition root: builds the window, the link and one object per
// area of work, gives each what it needs, and connects every window and
// timer event to its handler in one place.
class Terminal : public QObject {
    Q_OBJECT
public:
    explicit Terminal(const TerminalOptions &options, QObject *parent = nullptr);
    ~Terminal() override;

    // Start-up. False when the program has to end at once (port in use).
    bool Form_Load();
    // The first actions once the window is on the screen.
    void Form_Activate();
    // The window is closing: end at once, nothing more goes on the line.
    void Form_QueryUnload();
    // The message of the hidden "Auto TUNING" button.
    void AutoTuning_Click();

    Form1 &form() { return *m_form; }
    SerialLink &link() { return *m_link; }
    SettleDelay &delay() { return *m_delay; }
    ParameterReads &reads() { return *m_reads; }
    ParameterWrites &writes() { return *m_writes; }
    ScrollBinding &scrolls() { return *m_scrolls; }
    ParamSetStore &store() { return *m_store; }
    ParamSetList &list() { return *m_list; }
    PositionMonitor &monitor() { return *m_monitor; }
    MotorModes &motor() { return *m_motor; }
    StepMode &steps() { return *m_steps; }
    OperationGuard &guard() { return *m_guard; }
    ContextHelp &help() { return *m_help; }
    TuningController &tuning() { return *m_tuning; }

    // Runs one operation the way a window event does.
    void run(const std::function<void()> &operation);

private:
    void wire();
    void showLinkProblem(const QString &problem);
    // Read-all, zeroing, stop-and-reset: what the first show does.
    void firstActions();
    // The first actions again once the line has opened after the first
    // show: a controller plugged in late, or one that may have been
    // power-cycled while the line was down.
    void catchUp();

    TerminalOptions m_options;
    std::unique_ptr<Form1> m_form;
    std::unique_ptr<ContextHelp> m_help;
    std::unique_ptr<SerialLink> m_link;
    std::unique_ptr<OperationGuard> m_guard;
    std::unique_ptr<SettleDelay> m_delay;
    std::unique_ptr<PositionMonitor> m_monitor;
    std::unique_ptr<StepMode> m_steps;
    std::unique_ptr<MotorModes> m_motor;
    std::unique_ptr<ParameterReads> m_reads;
    std::unique_ptr<ParamSetStore> m_store;
    std::unique_ptr<ParamSetList> m_list;
    std::unique_ptr<ParameterWrites> m_writes;
    std::unique_ptr<ScrollBinding> m_scrolls;
    std::unique_ptr<TuningController> m_tuning;
    bool m_activated = false;
    bool m_stepDue = false;    // a repeated step fell due during an operation
    bool m_catchUpDue = false; // the line opened after the first show
};

} // namespace kdx
