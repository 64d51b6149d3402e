#pragma once

#include <QElapsedTimer>
#include <QObject>

class QIODevice;

namespace kdx {
class MonitorModel;
class TickTimer;
} // namespace kdx

namespace kdx::bench {

// Watches the position-error monitor at work. The monitor model counts the
// readings it took; the raw reading tells how long its "P9" reply was on the
// line. The line itself shows whether each poll waited for its own reply.
class ReadingCounter : public QObject {
    Q_OBJECT
public:
    ReadingCounter(MonitorModel &model, TickTimer &poll, QIODevice &line,
                   QObject *parent = nullptr);

    // Starts counting afresh.
    void restart();

    qint64 accepted() const { return m_accepted; }
    // Ticks of the poll timer (each sends one "P9").
    qint64 polls() const { return m_polls; }
    // Traces cleared by the wrap.
    qint64 wraps() const { return m_wraps; }
    // Polls answered sooner than the line can carry a request and its
    // reply: they took the reply to an earlier poll.
    qint64 answeredEarly() const { return m_early; }
    // What the counted readings take at best, in seconds: for each, the
    // request and its reply on the line at 38400 baud plus one timer interval.
    double lineLimitSeconds() const { return m_limitSeconds; }

private:
    void modelChanged();
    void sent();
    void received();

    MonitorModel &m_model;
    TickTimer &m_poll;
    quint64 m_seen = 0;
    double m_lastElapsed = 0;
    qint64 m_accepted = 0;
    qint64 m_polls = 0;
    qint64 m_wraps = 0;
    qint64 m_early = 0;
    double m_limitSeconds = 0;
    QElapsedTimer m_sent; // valid while a poll waits for its first byte
};

} // namespace kdx::bench
