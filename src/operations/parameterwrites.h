#pragma once

#include "core/paramtable.h"

namespace kdx {

class Form1;
class MotorModes;
class ParameterReads;
class ParamSetStore;
class Prompter;
class SerialLink;
class SettleDelay;

// Sends new values to the controller: for trial (test write) or stored in
// the controller (save write), one parameter or all of them.
class ParameterWrites {
public:
    ParameterWrites(Form1 &form, SerialLink &link, SettleDelay &delay, Prompter &prompter,
                    ParameterReads &reads, MotorModes &motor, ParamSetStore &store)
        : m_form(form), m_link(link), m_delay(delay), m_prompter(prompter), m_reads(reads),
          m_motor(motor), m_store(store)
    {
    }

    void testWrite(int n);
    void saveWrite(int n);

    void Command1_Click() { testWrite(0); }
    void Command13_Click() { testWrite(1); }
    void Command14_Click() { testWrite(2); }
    void Command15_Click() { testWrite(3); }
    void Command16_Click() { testWrite(4); }
    void Command17_Click() { testWrite(5); }
    void Command18_Click() { testWrite(6); }
    void Command19_Click() { testWrite(7); }

    void Command12_Click() { saveWrite(0); }
    void Command2_Click() { saveWrite(1); }
    void Command21_Click() { saveWrite(2); }
    void Command22_Click() { saveWrite(3); }
    void Command23_Click() { saveWrite(4); }
    void Command24_Click() { saveWrite(5); }
    void Command25_Click() { saveWrite(6); }
    void Command26_Click() { saveWrite(7); }

    // Test-all ("Mind TESZT") and save-all ("Mind MENT").
    void Command27_Click();
    void Command20_Click();

private:
    // Normalises the new value of n and checks it for the write; on a
    // refusal shows the range message, empties the box and focuses it.
    bool checkNewValue(int n, WriteKind kind);
    // Once the reads before the value are done: is there still a value to send?
    bool valueStillSendable(int n, WriteKind kind);
    // Runs the write for every parameter whose new-value box is filled;
    // returns how many were empty.
    int writeEachFilled(void (ParameterWrites::*write)(int));

    Form1 &m_form;
    SerialLink &m_link;
    SettleDelay &m_delay;
    Prompter &m_prompter;
    ParameterReads &m_reads;
    MotorModes &m_motor;
    ParamSetStore &m_store;
};

} // namespace kdx
