#pragma once

namespace kdx {

class Form1;
class MotorModes;
class Prompter;
class SerialLink;
class SettleDelay;

// Brings the controller's parameter values into the current-value boxes:
// the single read of one parameter, and read-all.
class ParameterReads {
public:
    ParameterReads(Form1 &form, SerialLink &link, SettleDelay &delay, Prompter &prompter,
                   MotorModes &motor)
        : m_form(form), m_link(link), m_delay(delay), m_prompter(prompter), m_motor(motor)
    {
    }

    // Single read of parameter n: ask "Pn", cut the reply into its box.
    void singleRead(int n);
    void Command4_Click() { singleRead(0); }
    void Command5_Click() { singleRead(1); }
    void Command6_Click() { singleRead(2); }
    void Command7_Click() { singleRead(3); }
    void Command8_Click() { singleRead(4); }
    void Command9_Click() { singleRead(5); }
    void Command10_Click() { singleRead(6); }
    void Command11_Click() { singleRead(7); }

    // Read-all ("Mind KIOLVAS").
    void Command3_Click();
    // Empties every current-value and new-value box ("Töröl").
    void Command35_Click();

private:
    // Moves each scrollbar to its current value; false when one is out of
    // range (after its message).
    bool synchroniseScrollBars();

    Form1 &m_form;
    SerialLink &m_link;
    SettleDelay &m_delay;
    Prompter &m_prompter;
    MotorModes &m_motor;
};

} // namespace kdx
