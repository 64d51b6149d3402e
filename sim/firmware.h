#pragma once

#include "servomodel.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace kdx::sim {

// The controller's command interpreter and the axis it drives.
//
// Every line gets an answer of at least one byte:
//   "P0".."P7"   "Pn <active value>:"  (a prompt for a new value)
//   "P9"         "P9 <position error>:" (read only, no prompt)
//   accepted     Ack, "\r\n"
//   rejected     Error, "?\r\n"
// Neither Ack nor Error holds a space or a colon, so unread answers in front of
// a later "Pn" reply do not disturb where the terminal cuts its value.
//
// After a "Pn" prompt (n 0..7) the next line decides: a whole number (optional
// leading '-', blanks around it allowed) in -32768..32767 becomes the active
// value of Pn; a number out of that range is rejected and changes nothing; an
// empty line keeps the value; anything else is a new command. A number line
// with no prompt open (for instance after "P9") is rejected.
//
// Commands: "m1" voltage run, "m2" PID run, "m3" step mode, "S<speed>" run
// speed -600..600 (negative runs backwards, "S0" stops), "+N" / "-N" move the
// goal N steps (1..9999, step mode only), "W 0" stores all active values.
// Letters may be either case.
class Firmware {
public:
    static constexpr Parameters DefaultParameters{1000, 50, 200, 10, 200, 100, 1024, 30};
    static constexpr int MinValue = -32768;
    static constexpr int MaxValue = 32767;
    static constexpr qint64 TickNs = 1'000'000; // the control loop runs at 1 kHz
    static constexpr QByteArrayView Ack = "\r\n";
    static constexpr QByteArrayView Error = "?\r\n";

    explicit Firmware(const Plant &plant = Plant());

    // Handles one line (without its CR) at the present simulated time.
    QByteArray handleLine(QByteArrayView line);
    // Answers a line that was too long to keep; it also closes an open prompt.
    QByteArray rejectLine();

    // Runs the control loop up to the given simulated time (never backwards).
    void advanceTo(qint64 ns);
    qint64 timeNs() const { return m_timeNs; }

    // Power loss and restart: the active values are reloaded from the stored
    // ones and the axis starts at rest in step mode.
    void powerCycle();

    int activeValue(int n) const { return m_active.at(n); }
    int storedValue(int n) const { return m_stored.at(n); }
    // Sets both values of Pn, as if entered and stored; out-of-range values
    // are clamped.
    void preset(int n, int value);

    // Whether received characters are echoed in front of each answer.
    bool echo() const { return m_echo; }
    void setEcho(bool on) { m_echo = on; }

    const ServoModel &axis() const { return m_axis; }
    // Puts another axis behind the controller, at rest at position 0 in step
    // mode; the parameters stay.
    void setPlant(const Plant &plant);

private:
    QByteArray handleCommand(QByteArrayView line);
    QByteArray readParameter(int n);
    QByteArray readPositionError();

    Parameters m_active = DefaultParameters;
    Parameters m_stored = DefaultParameters;
    ServoModel m_axis;
    std::optional<int> m_prompt; // parameter whose prompt awaits an answer
    qint64 m_timeNs = 0;
    bool m_echo = false;
};

} // namespace kdx::sim
