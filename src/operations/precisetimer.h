#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace kdx {

// A periodic timer that keeps to its interval to well under a millisecond.
//
// A QTimer on the usual event dispatcher sleeps in whole milliseconds,
// rounded up from whatever is left of the period when the event loop goes
// to sleep. Anything the loop does after the timer starts (repainting the
// window after a tick, say) therefore stretches a 1 ms period towards 2 ms.
// On Linux this timer wakes the loop through a timerfd instead, which keeps
// the period exact whatever the loop does meanwhile; elsewhere it is a
// precise QTimer.
class PreciseTimer : public QObject {
    Q_OBJECT
public:
    explicit PreciseTimer(QObject *parent = nullptr);
    ~PreciseTimer() override;

    // Starts (or restarts) the timer with a period of ms milliseconds (> 0).
    void start(int ms);
    void stop();
    bool isActive() const { return m_active; }
    int interval() const { return m_interval; }

signals:
    void timeout();

private:
    void expired();

    QTimer m_fallback;
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_interval = 0;
    bool m_active = false;
};

} // namespace kdx
