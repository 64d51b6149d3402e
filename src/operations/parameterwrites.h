#pragma once

#include "core/paramtable.h"
#include <QCoreApplication>

namespace kdx {

class MotorModes;
class ParameterEvents;
class ParameterReads;
struct WriteRecord;
class ParamRows;
class ParamSetStore;
class PositionMonitor;
class Prompter;
class SerialLink;
class SettleDelay;
class Switch;

// Sends new values to the controller: for trial (test write) or stored in
// the controller (save write), one parameter or all of them.
class ParameterWrites {
    Q_DECLARE_TR_FUNCTIONS(ParameterWrites)

public:
    struct Parts {
        SerialLink &link;
        SettleDelay &delay;
        Prompter &prompter;
        ParamRows &rows;
        ParameterReads &reads;
        PositionMonitor &monitor;
        MotorModes &motor;
        ParamSetStore &store;
        Switch &busyPointer;
    };
    explicit ParameterWrites(const Parts &parts) : m(parts) {}

    // Told of every value sent (may be null).
    void setEvents(ParameterEvents *events) { m_events = events; }

    void testOne(int n);
    void saveOne(int n);
    // Test-all ("Mind TESZT") and save-all ("Mind MENT").
    void testAll();
    void saveAll();

private:
    // Normalises the new value of n and checks it for the write; on a
    // refusal shows the range message, empties the value and asks for it.
    bool checkNewValue(int n, WriteKind kind);
    // Once the reads before the value are done: is there still a value to send?
    bool valueStillSendable(int n, WriteKind kind);
    // Runs the write for every parameter with a new value; returns how many
    // had none.
    int writeEachFilled(void (ParameterWrites::*write)(int));
    // The write is over, or ended on a link failure after its value went out.
    void tellWritten(WriteRecord write);

    Parts m;
    ParameterEvents *m_events = nullptr;
};

} // namespace kdx
