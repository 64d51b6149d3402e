#pragma once

#include "simulatedline.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>

namespace kdx::sim {

// Serves a simulated controller on the master side of a pseudo-terminal; the
// terminal opens the slave side like any serial port.
//
// The server keeps a descriptor of its own on the slave side, so the terminal
// can close and reopen the port without the master seeing a hang-up. The
// slave starts in raw mode at 38400 baud, so nothing is echoed or translated
// before the terminal sets it up. The server only waits on its descriptors
// and on a timer for the next answer: it takes no CPU while idle.
class PtyServer : public QObject {
    Q_OBJECT
public:
    // Output not yet taken by the pseudo-terminal is kept up to this size.
    static constexpr qsizetype MaxOutput = 1 << 20;
    // How long the last answer may wait to be read before the line closes.
    static constexpr qint64 DrainMs = 2000;
    static constexpr qint64 DrainGraceMs = 50;

    // closeAfter: after this many lines have been answered the server stops
    // reading and reports finished() (-1: never).
    explicit PtyServer(SimulatedLine &line, qint64 closeAfter = -1, QObject *parent = nullptr);
    ~PtyServer() override;

    // Opens the pseudo-terminal; on failure returns false and says why.
    bool open(QString *error);
    // The slave device the terminal is to open, such as /dev/pts/3.
    QString slavePath() const { return m_slavePath; }

    // Puts bytes on the line at once, behind what is already going out and
    // without the line timing (a burst of noise); beyond MaxOutput waiting
    // bytes the rest is lost. Returns how many were taken.
    qsizetype inject(const QByteArray &bytes);

    // The server's clock, which the line's times count on: ns since open(),
    // running timeScale times as fast as the wall clock.
    qint64 nowNs() const { return qint64(double(m_clock.nsecsElapsed()) * m_timeScale); }
    // Simulated time runs this many times as fast as real time (1 by
    // default): line, latency and axis alike, so that a run looks the same
    // in simulated time, only sooner.
    void setTimeScale(double scale) { m_timeScale = scale; }

signals:
    void finished();
    // Everything there was to send has gone into the pseudo-terminal.
    void drained();

private:
    void readMaster();
    void deliverDue();
    // Wakes deliverDue() after the given time.
    void scheduleDelivery(qint64 delayNs);
    void writeOutput();
    void checkFinished();

    SimulatedLine &m_line;
    qint64 m_closeAfter;
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    // Answers go out when the line timing says, to the microsecond: a
    // whole-millisecond timer would make every answer up to 1 ms late. Where
    // there is no timerfd, the millisecond timer is used.
    int m_deliveryFd = -1;
    std::unique_ptr<QSocketNotifier> m_deliveryNotifier;
    QTimer m_deliveryTimer;
    QElapsedTimer m_clock;
    double m_timeScale = 1;
    QElapsedTimer m_draining; // since the last answer went out, with closeAfter reached
    QByteArray m_output;
    bool m_finished = false;
};

} // namespace kdx::sim
