#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kdx::bench {

// Readings over one stretch of time, with what the line would have allowed.
struct PollWindow {
    qint64 readings = 0;
    double limitSeconds = 0; // the sum of each reading's least time
    double seconds = 0;      // how long the stretch really took

    double rate() const { return seconds > 0 ? double(readings) / seconds : 0; }
    double limitRate() const { return limitSeconds > 0 ? double(readings) / limitSeconds : 0; }
    double ratio() const { return limitRate() > 0 ? rate() / limitRate() : 0; }
};

// The window whose ratio is the median: one busy moment of the machine
// does not decide the figure.
PollWindow medianWindow(QList<PollWindow> windows);

// The least any program can do on the same line and machine: a client
// without an event loop or a window sends "P9", sleeps in poll() until the
// reply is in, sleeps 1 ms, and again. Its rate is what kdxsim, the
// pseudo-terminal and the machine's wake-ups leave of the line's limit.
class BareClient {
public:
    // Opens the pseudo-terminal and starts the PID run of the axis.
    bool open(const QString &ptyPath, int runSpeed, QString *error);
    ~BareClient();

    // Polls for the given number of windows of the given length.
    QList<PollWindow> poll(int windows, int windowMs);

private:
    bool exchange(const QByteArray &command, QByteArray *reply);

    int m_fd = -1;
    int m_timer = -1;
};

} // namespace kdx::bench
