#pragma once

#include <QCoreApplication>

namespace kdx {

class MotorModes;
class ParameterEvents;
class ParamRows;
class PositionMonitor;
class Prompter;
class SerialLink;
class SettleDelay;
class StepMode;
class Switch;

// Brings the controller's parameter values into the current values: the
// read of one parameter, and read-all.
class ParameterReads {
    Q_DECLARE_TR_FUNCTIONS(ParameterReads)

public:
    struct Parts {
        SerialLink &link;
        SettleDelay &delay;
        Prompter &prompter;
        ParamRows &rows;
        PositionMonitor &monitor;
        StepMode &steps;
        MotorModes &motor;
        Switch &busyPointer;
    };
    explicit ParameterReads(const Parts &parts) : m(parts) {}

    // Answers to some other request that a read takes before it gives up.
    static constexpr int kForeignAnswers = 2;

    // Told of every complete read-all (may be null).
    void setEvents(ParameterEvents *events) { m_events = events; }

    // Asks "Pn" and cuts the reply into the current value of n.
    void readOne(int n);
    // Reads every parameter twice and moves the dials to the values read.
    void readAll();

private:
    // Moves each dial to its current value; false when one is out of range
    // (after its message).
    bool moveDialsToCurrent();

    Parts m;
    ParameterEvents *m_events = nullptr;
};

} // namespace kdx
