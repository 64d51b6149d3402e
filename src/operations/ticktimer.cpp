#include "ticktimer.h"

namespace kdx {

TickTimer::TickTimer(QObject *parent) : QObject(parent)
{
    connect(&m_timer, &PreciseTimer::timeout, this, &TickTimer::fire);
}

void TickTimer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    update();
}

void TickTimer::setInterval(int ms)
{
    m_interval = ms;
    // A new interval starts a new period, as it does for the window's timers.
    m_timer.stop();
    update();
}

void TickTimer::setHeld(bool held)
{
    if (held == m_held)
        return;
    m_held = held;
    update();
}

void TickTimer::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    update();
}

void TickTimer::update()
{
    // While a tick runs the timer rests: a tick that waits for the
    // controller costs no wake-ups, and the next period starts when it ends.
    const bool run = m_enabled && m_interval > 0 && !m_held && !m_paused && !m_ticking;
    if (!run) {
        if (m_timer.isActive())
            m_timer.stop();
    } else if (!m_timer.isActive() || m_timer.interval() != m_interval) {
        m_timer.start(m_interval);
    }
}

void TickTimer::fire()
{
    if (m_ticking)
        return;
    m_ticking = true;
    m_timer.stop();
    emit tick();
    m_ticking = false;
    update();
}

} // namespace kdx
