#include "precisetimer.h"

#include <QSocketNotifier>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace kdx {

namespace {

#ifdef Q_OS_LINUX
bool armTimer(int fd, int ms)
{
    itimerspec when{};
    when.it_value.tv_sec = ms / 1000;
    when.it_value.tv_nsec = long(ms % 1000) * 1'000'000;
    when.it_interval = when.it_value;
    return timerfd_settime(fd, 0, &when, nullptr) == 0;
}
#endif

} // namespace

PreciseTimer::PreciseTimer(QObject *parent) : QObject(parent)
{
    m_fallback.setTimerType(Qt::PreciseTimer);
    connect(&m_fallback, &QTimer::timeout, this, &PreciseTimer::timeout);
#ifdef Q_OS_LINUX
    m_fd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd >= 0) {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &PreciseTimer::expired);
    }
#endif
}

PreciseTimer::~PreciseTimer()
{
    m_notifier.reset();
#ifdef Q_OS_LINUX
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

void PreciseTimer::start(int ms)
{
    m_interval = ms;
    m_active = true;
#ifdef Q_OS_LINUX
    if (m_fd >= 0 && armTimer(m_fd, ms))
        return;
#endif
    m_fallback.start(ms);
}

void PreciseTimer::stop()
{
    m_active = false;
    m_fallback.stop();
#ifdef Q_OS_LINUX
    if (m_fd >= 0)
        armTimer(m_fd, 0); // disarms, and forgets expirations not yet read
#endif
}

void PreciseTimer::expired()
{
#ifdef Q_OS_LINUX
    quint64 expirations = 0;
    // Nothing to read: the timer was stopped or restarted after the loop
    // saw it expire.
    if (::read(m_fd, &expirations, sizeof expirations) != sizeof expirations || !m_active)
        return;
#endif
    emit timeout();
}

} // namespace kdx
