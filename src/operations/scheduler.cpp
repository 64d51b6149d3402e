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
        run(m_pollOnce);
}

void Scheduler::stepDue()
{
    if (m_depth > 0)
        m_stepDue = true;
    else if (m_stepOnce)
        run(m_stepOnce);
}

void Scheduler::run(const std::function<void()> &operation)
{
    const bool outermost = m_depth == 0;
    // The poll rests while an operation runs instead of waking up every
    // millisecond for nothing. A line lost between operations has no
    // operation left to end: the first one after it, perhaps on a line
    // opened again, runs in full.
    if (outermost) {
        m_link.endOperation();
        m_poll.setPaused(true);
    }
    ++m_depth;
    try {
        operation();
    } catch (const LinkError &) {
        m_busy.set(false);
    }
    if (--m_depth > 0)
        return;
    m_link.endOperation();
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
