#pragma once

#include "ticktimer.h"

#include <QObject>

#include <deque>
#include <functional>

namespace kdx {

class SerialLink;
class Switch;

// Decides when work may talk to the controller. Every window event, timer
// tick and long piece of work (a step capture, a tuning run) runs through
// run(), one operation at a time on the line:
// - the poll and step timers tick only between operations; inside another
//   operation's wait a poll would take that operation's reply for its own,
//   and a step would land in the middle of its exchange. A poll that falls
//   due meanwhile is left out (the next follows a millisecond later); a step
//   is kept and goes out as soon as the outermost operation has ended;
// - when the line fails, the outermost operation ends here: the busy pointer
//   goes back to the arrow and the link, which has already said what went
//   wrong, is released for the next operation. Nothing thrown ever crosses
//   the event dispatch.
class Scheduler : public QObject {
    Q_OBJECT
public:
    Scheduler(SerialLink &link, Switch &busyPointer);

    // The position-error poll and the repeated step.
    TickTimer &pollTimer() { return m_poll; }
    TickTimer &stepTimer() { return m_step; }
    void setPoll(std::function<void()> poll) { m_pollOnce = std::move(poll); }
    void setStep(std::function<void()> step) { m_stepOnce = std::move(step); }

    // Runs one operation; an operation started inside another runs nested
    // in it, as a window event does inside a wait. One that comes while a
    // tick (a poll, a step) waits for its answer goes right after the tick
    // instead, so that the tick's answer is never taken for its own.
    void run(const std::function<void()> &operation);
    // Runs an operation that must have the line to itself from its first
    // request: now when nothing runs, else right after the running one.
    void runAlone(const std::function<void()> &operation);
    // True while an operation runs (it owns the line).
    bool isBusy() const { return m_depth > 0; }

signals:
    // The outermost operation has ended: the line is free.
    void idle();

private:
    void pollDue();
    void stepDue();
    void runNow(const std::function<void()> &operation, bool tick);

    SerialLink &m_link;
    Switch &m_busy;
    TickTimer m_poll;
    TickTimer m_step;
    std::function<void()> m_pollOnce;
    std::function<void()> m_stepOnce;
    int m_depth = 0;
    bool m_tickRunning = false; // the outermost operation is a poll or a step
    bool m_stepDue = false;
    std::deque<std::function<void()>> m_deferred; // to run once the line is free
};

} // namespace kdx
