#include "motormodes.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "link/seriallink.h"
#include "positionmonitor.h"
#include "settledelay.h"
#include "stepmode.h"

namespace kdx {

void MotorModes::sendAndWait(const QByteArray &command)
{
    m_link.send(command);
    m_link.waitForInput();
}

QByteArray MotorModes::speedCommand() const
{
    return cmd::speed(m_runSpeed.text());
}

void MotorModes::stopAndReset()
{
    m_busy.set(true);
    m_monitor.monitorSwitch().setEnabled(true);
    // Switching the repeat off runs its own operation now, to its end.
    m_steps.repeat().set(false);
    m_steps.options().select(StepMode::NotPidRun);
    sendAndWait(cmd::stop());
    sendAndWait(cmd::stepMode());
    m_link.send(cmd::stepMode());
    m_delay.settle();
    m_monitor.zero();
    m_monitor.monitorSwitch().set(true);
    m_busy.set(false);
}

void MotorModes::runVoltage()
{
    stopAndReset();
    m_steps.options().select(StepMode::NotPidRun);
    sendAndWait(cmd::voltageRun());
    sendAndWait(speedCommand());
    m_link.send(speedCommand());
    // The monitor keeps running; its switch stays as it is until the next stop.
    m_monitor.monitorSwitch().setEnabled(false);
}

void MotorModes::runPid()
{
    m_link.send(cmd::pidRun());
    m_monitor.monitorSwitch().setEnabled(true);
    stopAndReset();
    m_steps.options().deselect(StepMode::NotPidRun);
    sendAndWait(cmd::pidRun());
    sendAndWait(speedCommand());
    m_monitor.zeroShowingBusy();
}

void MotorModes::speedDialled()
{
    const QString speed = QString::number(m_speed.value());
    // A real change of the speed in force sends the speed command.
    m_runSpeed.set(speed);
    m_delay.settle();
    m_runSpeed.set(speed);
}

void MotorModes::sendRunSpeed()
{
    // The speed display means something only in the PID run.
    if (m_steps.options().isSelected(StepMode::NotPidRun)) {
        m_speedShown = QStringLiteral("?");
    } else if (const auto speed = readNumber(m_runSpeed.text())) {
        m_speedShown = wholeNumberText(*speed * 50);
    }
    sendAndWait(speedCommand());
}

void MotorModes::resetController()
{
    m_monitor.monitorSwitch().set(true);
    m_delay.settle();
    m_steps.options().deselect(StepMode::NotPidRun);
    m_steps.enterStepMode();
    m_link.send(cmd::bareReturn());
    m_delay.settle();
    m_link.waitForInput();
    m_link.send(cmd::bareReturn());
    if (m_steps.options().isSelected(StepMode::UpShown))
        m_delay.settle();
}

} // namespace kdx
