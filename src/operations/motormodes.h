#pragma once

#include <QByteArray>

namespace kdx {

class Form1;
class PositionMonitor;
class SerialLink;
class SettleDelay;
class StepMode;

// Running the motor for testing: voltage run, PID run at the chosen speed,
// and the stop that also resets the controller into step mode.
class MotorModes {
public:
    MotorModes(Form1 &form, SerialLink &link, SettleDelay &delay, PositionMonitor &monitor,
               StepMode &steps)
        : m_form(form), m_link(link), m_delay(delay), m_monitor(monitor), m_steps(steps)
    {
    }

    void Command34_Click(); // stop-and-reset
    void Command31_Click(); // voltage run
    void Command32_Click(); // PID run
    void HScroll2_Change(); // speed change
    void Label13_Change();  // speed command
    void Command42_Click(); // "RESET"

private:
    void sendAndWait(const QByteArray &command);
    QByteArray speedCommand() const;

    Form1 &m_form;
    SerialLink &m_link;
    SettleDelay &m_delay;
    PositionMonitor &m_monitor;
    StepMode &m_steps;
};

} // namespace kdx
