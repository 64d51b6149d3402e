#pragma once

#include "precisetimer.h"

#include <QObject>

namespace kdx {

// A periodic timer as the window's operations use it: an enabled flag and an
// interval in milliseconds, where an interval of 0 never fires, even while
// enabled. A tick never starts while the previous tick of the same timer is
// still running (its handler may be waiting for the controller).
class TickTimer : public QObject {
    Q_OBJECT
public:
    explicit TickTimer(QObject *parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int ms);

    // Keeps the timer from firing without changing its enabled flag or
    // interval (used while the line to the controller is down).
    void setHeld(bool held);
    bool isHeld() const { return m_held; }

    // Keeps the timer from firing while other work runs; independent of
    // setHeld().
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }

    // True while a tick's handler runs.
    bool isTicking() const { return m_ticking; }

    // Runs one tick now, as if the timer had fired (for tests and tools).
    void fire();

signals:
    void tick();

private:
    void update();

    PreciseTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
    bool m_held = false;
    bool m_paused = false;
    bool m_ticking = false;
};

} // namespace kdx
