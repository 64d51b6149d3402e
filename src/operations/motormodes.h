#pragma once

#include "values.h"

#include <QByteArray>

namespace kdx {

class PositionMonitor;
class SerialLink;
class SettleDelay;
class StepMode;

// Running the motor for testing: voltage run, PID run at the chosen speed,
// and the stop that also resets the controller into step mode.
class MotorModes {
public:
    MotorModes(SerialLink &link, SettleDelay &delay, PositionMonitor &monitor, StepMode &steps,
               Switch &busyPointer)
        : m_link(link), m_delay(delay), m_monitor(monitor), m_steps(steps), m_busy(busyPointer)
    {
    }

    // The speed dial, and the speed in force: a real change of the latter
    // sends the speed command (sendRunSpeed()).
    Dial &speed() { return m_speed; }
    Text &runSpeed() { return m_runSpeed; }
    // The speed as the PID run shows it ("?" outside it).
    const QString &speedShown() const { return m_speedShown; }

    void stopAndReset();
    void runVoltage();
    void runPid();
    // The speed dial moved.
    void speedDialled();
    // Sends the speed in force.
    void sendRunSpeed();
    // Two bare returns after step mode, as "RESET" does.
    void resetController();

private:
    void sendAndWait(const QByteArray &command);
    QByteArray speedCommand() const;

    SerialLink &m_link;
    SettleDelay &m_delay;
    PositionMonitor &m_monitor;
    StepMode &m_steps;
    Switch &m_busy;
    Dial m_speed{0, 600, 20};
    Text m_runSpeed{QStringLiteral("20")};
    QString m_speedShown = QStringLiteral("Label12");
};

} // namespace kdx
