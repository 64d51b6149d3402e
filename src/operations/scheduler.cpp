#include "scheduler.h"

#include "link/linkerror.h"
#include "link/seriallink.h"
#include "values.h"

namespace kdx {

Scheduler::Scheduler(SerialLink &link, Switch &busyPointer) : m_link(link), m_busy(busyPointer)
{
    m_poll.setObjectName(QStringLiteral("Timer1"));
    m_step.setObjectName(QStringLiteral("Timer2"));
    connect(&m_poll, &TickTimer::tick, this, &Scheduler::pollDue);
    connect(&m_step, &TickTimer::tick, this, &Scheduler::stepDue);
}

void Scheduler::pollDue()
{
    if (m_depth == 0 && m_pollOnce)
        runNow(m_pollOnce, true);
}

void Scheduler::stepDue()
{
    if (m_depth > 0)
        m_stepDue = true;
    else if (m_stepOnce)
        runNow(m_stepOnce, true);
}

void Scheduler::run(const std::function<void()> &operation)
{
    if (m_depth > 0 && m_tickRunning)
        m_deferred.push_back(operation);
    else
        runNow(operation, false);
}

void Scheduler::runAlone(const std::function<void()> &operation)
{
    if (m_depth > 0)
        m_deferred.push_back(operation);
    else
        runNow(operation, false);
}

void Scheduler::runNow(const std::function<void()> &operation, bool tick)
{
    const bool outermost = m_depth == 0;
    // The poll rests while an operation runs instead of waking up every
    // millisecond for nothing. A line lost between operations has no
    // operation left to end: the first one after it, perhaps on a line
    // opened again, runs in full.
    if (outermost) {
        m_link.endOperation();
        m_poll.setPaused(true);
        m_tickRunning = tick;
    }
    ++m_depth;
    try {
        // Each operation starts on a clean line: answers still on their way
        // from before (a poll's, an unread acknowledgement) never become
        // the answer to its first request.
        if (outermost)
            m_link.handOver();
        operation();
    } catch (const LinkError &) {
        m_busy.set(false);
    }
    if (--m_depth > 0)
        return;
    m_tickRunning = false;
    m_link.endOperation();
    if (!m_deferred.empty()) {
        // What waited for the line goes first, each as an operation of its own.
        const std::function<void()> next = std::move(m_deferred.front());
        m_deferred.pop_front();
        runNow(next, false);
        return;
    }
    m_poll.setPaused(false);
    emit idle();
    if (!m_stepDue)
        return;
    // A step that fell due meanwhile goes out now, unless the timer has
    // been stopped or held in the meantime.
    m_stepDue = false;
    if (m_step.isEnabled() && !m_step.isHeld() && m_step.interval() > 0)
        m_step.fire();
}

} // namespace kdx
