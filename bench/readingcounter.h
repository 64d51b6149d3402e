#pragma once

#include <QElapsedTimer>
#include <QObject>

class QIODevice;

namespace kdx {
class Form1;
}

namespace kdx::bench {

// Watches the position-error monitor at work. Every accepted reading moves
// the elapsed-time box Text21 on by one timer interval (a wrap sets it back
// to "0", which is no reading), so its changes count the readings; the raw
// reading in Text18 tells how long its "P9" reply was on the line. The line
// itself shows whether each poll waited for its own reply.
class ReadingCounter : public QObject {
    Q_OBJECT
public:
    ReadingCounter(Form1 &form, QIODevice &line, QObject *parent = nullptr);

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
    void elapsedChanged(const QString &text);
    void sent();
    void received();

    Form1 &m_form;
    qint64 m_accepted = 0;
    qint64 m_polls = 0;
    qint64 m_wraps = 0;
    qint64 m_early = 0;
    double m_limitSeconds = 0;
    QElapsedTimer m_sent; // valid while a poll waits for its first byte
};

} // namespace kdx::bench
