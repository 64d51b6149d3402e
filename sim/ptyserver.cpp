#include "ptyserver.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#endif

namespace kdx::sim {

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

bool makeRaw(int fd)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    cfsetispeed(&t, B38400);
    cfsetospeed(&t, B38400);
    t.c_cflag |= CLOCAL | CREAD;
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace

PtyServer::PtyServer(SimulatedLine &line, qint64 closeAfter, QObject *parent)
    : QObject(parent), m_line(line), m_closeAfter(closeAfter)
{
    m_deliveryTimer.setSingleShot(true);
    m_deliveryTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_deliveryTimer, &QTimer::timeout, this, &PtyServer::deliverDue);
#ifdef Q_OS_LINUX
    m_deliveryFd = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_deliveryFd >= 0) {
        m_deliveryNotifier = std::make_unique<QSocketNotifier>(m_deliveryFd, QSocketNotifier::Read);
        connect(m_deliveryNotifier.get(), &QSocketNotifier::activated, this, [this] {
            quint64 expirations = 0;
            [[maybe_unused]] const ssize_t n =
                ::read(m_deliveryFd, &expirations, sizeof expirations);
            deliverDue();
        });
    }
#endif
}

PtyServer::~PtyServer()
{
    m_readNotifier.reset();
    m_writeNotifier.reset();
    m_deliveryNotifier.reset();
    if (m_deliveryFd >= 0)
        ::close(m_deliveryFd);
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
}

bool PtyServer::open(QString *error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0) {
        *error = systemError("posix_openpt");
        return false;
    }
    char name[128];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0) {
        *error = systemError("pseudo-terminal setup");
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        *error = systemError(name);
        return false;
    }
    if (!makeRaw(m_slave) || !makeRaw(m_master)) {
        *error = systemError("raw mode");
        return false;
    }
    m_readNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::readMaster);
    m_writeNotifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Write);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier.get(), &QSocketNotifier::activated, this, &PtyServer::writeOutput);
    m_clock.start();
    return true;
}

void PtyServer::readMaster()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            m_line.receive(nowNs(), QByteArrayView(buffer, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: all read; nothing else is expected while the slave is held
    }
    if (m_closeAfter >= 0 && m_line.linesReceived() >= m_closeAfter)
        m_readNotifier->setEnabled(false);
    deliverDue();
}

void PtyServer::deliverDue()
{
    const QByteArray due = m_line.takeDue(nowNs());
    m_output.append(due.first(std::min(due.size(), MaxOutput - m_output.size())));
    writeOutput();
    const qint64 next = m_line.nextDeliveryNs();
    if (next >= 0)
        scheduleDelivery(std::max<qint64>(qint64(double(next - nowNs()) / m_timeScale), 0));
    checkFinished();
}

qsizetype PtyServer::inject(const QByteArray &bytes)
{
    const qsizetype taken = std::min(bytes.size(), MaxOutput - m_output.size());
    m_output.append(bytes.first(taken));
    writeOutput();
    return taken;
}

void PtyServer::scheduleDelivery(qint64 delayNs)
{
#ifdef Q_OS_LINUX
    if (m_deliveryFd >= 0) {
        itimerspec when{};
        // A zero time would disarm the timer: due now means in a nanosecond.
        const qint64 ns = std::max<qint64>(delayNs, 1);
        when.it_value.tv_sec = time_t(ns / 1'000'000'000);
        when.it_value.tv_nsec = long(ns % 1'000'000'000);
        if (timerfd_settime(m_deliveryFd, 0, &when, nullptr) == 0)
            return;
    }
#endif
    m_deliveryTimer.start(int((delayNs + 999'999) / 1'000'000));
}

void PtyServer::writeOutput()
{
    const bool sending = !m_output.isEmpty();
    while (!m_output.isEmpty()) {
        const ssize_t n = ::write(m_master, m_output.constData(), size_t(m_output.size()));
        if (n > 0) {
            m_output.remove(0, n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            break;
        } else {
            m_output.clear(); // the line is gone
        }
    }
    m_writeNotifier->setEnabled(!m_output.isEmpty());
    if (sending && m_output.isEmpty())
        emit drained();
    checkFinished();
}

void PtyServer::checkFinished()
{
    if (m_finished || m_closeAfter < 0 || m_line.linesReceived() < m_closeAfter ||
        m_line.nextDeliveryNs() >= 0 || !m_output.isEmpty())
        return;
    // Closing the master discards what the terminal has not read yet: give
    // it a moment to take the last answer. Bytes written to the master reach
    // the slave's queue a little later, so an empty queue counts only after a
    // short grace period.
    if (!m_draining.isValid())
        m_draining.start();
    int unread = 0;
    const bool empty = ::ioctl(m_slave, TIOCINQ, &unread) == 0 && unread == 0;
    if (!m_draining.hasExpired(DrainMs) && (!empty || !m_draining.hasExpired(DrainGraceMs))) {
        QTimer::singleShot(10, this, &PtyServer::checkFinished);
        return;
    }
    m_finished = true;
    emit finished();
}

} // namespace kdx::sim
