#pragma once

#include "values.h"
#include <QCoreApplication>

namespace kdx {

class PositionMonitor;
class Prompter;
class SerialLink;
class Switch;
class TickTimer;

// Repeated back-and-forth stepping, and the step count it sends.
class StepMode {
    Q_DECLARE_TR_FUNCTIONS(StepMode)

public:
    // How long the repeat switch gives an answer still on its way to come
    // in before it puts its own command on the line.
    static constexpr int kPendingReplyGraceMs = 100;

    // The three options of the step row: the last step went up or down
    // (shown), and the hidden one that stands for "not in the PID run".
    enum Option { UpShown = 0, DownShown = 1, NotPidRun = 2 };

    StepMode(SerialLink &link, Prompter &prompter, PositionMonitor &monitor, TickTimer &stepTimer,
             Switch &busyPointer)
        : m_link(link), m_prompter(prompter), m_monitor(monitor), m_timer(stepTimer),
          m_busy(busyPointer)
    {
    }

    Switch &repeat() { return m_repeat; }
    Choice &options() { return m_options; }
    Text &stepCount() { return m_count; }
    Text &encoder() { return m_encoder; }
    Dial &pause() { return m_pause; }

    // The repeat switch changed.
    void onRepeatChanged();
    // One repeated step.
    void stepOnce();
    // The step count or the encoder resolution changed: checked and floored.
    void checkStepCount();
    void checkEncoder();
    // Puts the controller into step mode.
    void enterStepMode();

private:
    void letPendingReplyArrive();
    void checkCount(Text &value, const QString &notNumberText, const QString &notNumberTitle,
                    const QString &fallback);

    SerialLink &m_link;
    Prompter &m_prompter;
    PositionMonitor &m_monitor;
    TickTimer &m_timer;
    Switch &m_busy;
    Switch m_repeat{false};
    Choice m_options{UpShown};
    Text m_count{QStringLiteral("2000")};
    Text m_encoder{QStringLiteral("500")};
    Dial m_pause{2000, 5000, 2000};
};

} // namespace kdx
