#include "bareclient.h"

#include "core/commands.h"
#include "linetime.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <unistd.h>

namespace kdx::bench {

namespace {

constexpr int kReplyTimeoutMs = 2000;
constexpr int kIntervalMs = 1;

} // namespace

PollWindow medianWindow(QList<PollWindow> windows)
{
    if (windows.isEmpty())
        return {};
    std::sort(windows.begin(), windows.end(),
              [](const PollWindow &a, const PollWindow &b) { return a.ratio() < b.ratio(); });
    return windows.at(windows.size() / 2);
}

BareClient::~BareClient()
{
    if (m_timer >= 0)
        ::close(m_timer);
    if (m_fd >= 0)
        ::close(m_fd);
}

bool BareClient::open(const QString &ptyPath, int runSpeed, QString *error)
{
    m_fd = ::open(QFile::encodeName(ptyPath).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    m_timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    termios t{};
    if (m_fd < 0 || m_timer < 0 || tcgetattr(m_fd, &t) != 0) {
        *error = QStringLiteral("cannot open %1").arg(ptyPath);
        return false;
    }
    cfmakeraw(&t);
    cfsetspeed(&t, B38400);
    tcsetattr(m_fd, TCSANOW, &t);
    QByteArray reply;
    for (const QByteArray &command :
         {cmd::stop(), cmd::stepMode(), cmd::pidRun(), cmd::speed(QString::number(runSpeed))}) {
        if (!exchange(command, &reply)) {
            *error = QStringLiteral("no answer on %1").arg(ptyPath);
            return false;
        }
    }
    return true;
}

bool BareClient::exchange(const QByteArray &command, QByteArray *reply)
{
    if (::write(m_fd, command.constData(), size_t(command.size())) != command.size())
        return false;
    pollfd in{m_fd, POLLIN, 0};
    if (::poll(&in, 1, kReplyTimeoutMs) != 1)
        return false;
    char buffer[256];
    const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    *reply = QByteArray(buffer, n);
    return true;
}

QList<PollWindow> BareClient::poll(int windows, int windowMs)
{
    QList<PollWindow> result;
    const itimerspec interval{{0, 0}, {0, kIntervalMs * 1'000'000}};
    QByteArray reply;
    for (int w = 0; w < windows; ++w) {
        PollWindow window;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < windowMs && exchange(cmd::positionPoll(), &reply)) {
            ++window.readings;
            window.limitSeconds += pollLimitSeconds(reply.size(), kIntervalMs);
            quint64 expirations = 0;
            timerfd_settime(m_timer, 0, &interval, nullptr);
            if (::read(m_timer, &expirations, sizeof expirations) != sizeof expirations)
                break;
        }
        window.seconds = double(clock.nsecsElapsed()) / 1e9;
        result << window;
    }
    return result;
}

} // namespace kdx::bench
