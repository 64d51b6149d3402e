#pragma once

#include "core/monitormodel.h"
#include "values.h"
#include <QCoreApplication>

namespace kdx {

class Prompter;
class SerialLink;
class TickTimer;

// The live position error: polls "P9" into the monitor model, zeroes it, and
// keeps the monitor switch and the two scales the operator sets.
class PositionMonitor {
    Q_DECLARE_TR_FUNCTIONS(PositionMonitor)

public:
    // The sampling interval of the poll, ms.
    static constexpr int kPollIntervalMs = 1;

    PositionMonitor(SerialLink &link, Prompter &prompter, TickTimer &poll, Switch &busyPointer);

    MonitorModel &model() { return m_model; }
    Switch &monitorSwitch() { return m_switch; }
    Text &errorScale() { return m_errorScale; }
    Text &timeScale() { return m_timeScale; }
    // The error scale the axis captions show (a listed scale only).
    Text &axisScale() { return m_axisScale; }

    void pollOnce();
    // The monitor switch changed.
    void onSwitchChanged();
    // The latest reading becomes the zero reference; the poll goes on.
    void zero();
    // The same, with the busy pointer meanwhile (the "Nulláz" button).
    void zeroShowingBusy();
    void errorScaleTyped();
    void errorScalePicked();
    void timeScaleTyped();
    void timeScalePicked();

    // Stops the poll until the next zeroing or resumePoll().
    void stopPoll();
    // Lets the poll run again after a pause, unless the operator has switched
    // the monitor off.
    void resumePoll();

private:
    // The scales as their texts read, worked out when a text changes.
    void readScales();
    void checkErrorScale();
    void clearTrace();

    SerialLink &m_link;
    Prompter &m_prompter;
    TickTimer &m_poll;
    Switch &m_busy;
    MonitorModel m_model;
    Switch m_switch{true};
    Text m_errorScale{QStringLiteral("500")};
    Text m_timeScale{QStringLiteral("30")};
    Text m_axisScale{QStringLiteral("500")};
    MonitorModel::Scales m_scales;
    bool m_listedErrorScale = false;
};

} // namespace kdx
