#include "simulateddevice.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace kdx::sim {

SimulatedDevice::SimulatedDevice(QObject *parent)
    : SimulatedDevice(LineTiming(), Clock::Wall, parent)
{
}

SimulatedDevice::SimulatedDevice(const LineTiming &timing, Clock clock, QObject *parent,
                                 const LineFaults &faults)
    : QIODevice(parent), m_line(timing, faults), m_clock(clock)
{
    m_deliveryTimer.setSingleShot(true);
    m_deliveryTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_deliveryTimer, &QTimer::timeout, this, [this] {
        if (collectDue())
            announceReadyRead();
        scheduleDelivery();
    });
}

SimulatedDevice::~SimulatedDevice() = default;

bool SimulatedDevice::open(OpenMode mode)
{
    if (isOpen() || !QIODevice::open(mode))
        return false;
    m_wall.start();
    return true;
}

void SimulatedDevice::close()
{
    if (!isOpen())
        return;
    m_baseNs = simulatedTimeNs();
    m_deliveryTimer.stop();
    m_line.discardPending();
    m_readBuffer.clear();
    m_readyReadQueued = false;
    QIODevice::close();
}

qint64 SimulatedDevice::simulatedTimeNs() const
{
    if (m_clock == Clock::Manual || !isOpen())
        return m_baseNs;
    return m_baseNs + m_wall.nsecsElapsed();
}

qint64 SimulatedDevice::bytesAvailable() const
{
    return m_readBuffer.size() + QIODevice::bytesAvailable();
}

qint64 SimulatedDevice::readData(char *data, qint64 maxSize)
{
    const qint64 n = std::min<qint64>(maxSize, m_readBuffer.size());
    std::memcpy(data, m_readBuffer.constData(), size_t(n));
    m_readBuffer.remove(0, n);
    return n;
}

qint64 SimulatedDevice::writeData(const char *data, qint64 size)
{
    m_line.receive(simulatedTimeNs(), QByteArrayView(data, size));
    if (collectDue())
        announceReadyRead();
    scheduleDelivery();
    QMetaObject::invokeMethod(
        this, [this, size] { emit bytesWritten(size); }, Qt::QueuedConnection);
    return size;
}

void SimulatedDevice::advanceTime(qint64 ms)
{
    if (m_clock != Clock::Manual || ms <= 0)
        return;
    m_baseNs += ms * 1'000'000;
    m_line.advanceTo(m_baseNs);
    if (isOpen() && collectDue())
        announceReadyRead();
}

bool SimulatedDevice::waitForReadyRead(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (isOpen()) {
        if (collectDue()) {
            m_readyReadQueued = false;
            emit readyRead();
            return true;
        }
        const qint64 next = m_line.nextDeliveryNs();
        if (next < 0 || m_clock == Clock::Manual || deadline.hasExpired())
            return false;
        qint64 waitNs = next - simulatedTimeNs();
        if (!deadline.isForever())
            waitNs = std::min(waitNs, deadline.remainingTimeNSecs());
        std::this_thread::sleep_for(std::chrono::nanoseconds(std::max<qint64>(waitNs, 0)));
    }
    return false;
}

bool SimulatedDevice::collectDue()
{
    const QByteArray due = m_line.takeDue(simulatedTimeNs());
    const qsizetype room = MaxReadBuffer - m_readBuffer.size();
    m_readBuffer.append(due.first(std::min(room, due.size())));
    return !due.isEmpty();
}

void SimulatedDevice::scheduleDelivery()
{
    const qint64 next = m_line.nextDeliveryNs();
    if (next < 0 || m_clock == Clock::Manual || !isOpen())
        return;
    const qint64 waitNs = std::max<qint64>(next - simulatedTimeNs(), 0);
    m_deliveryTimer.start(int((waitNs + 999'999) / 1'000'000));
}

void SimulatedDevice::announceReadyRead()
{
    if (m_readyReadQueued)
        return;
    m_readyReadQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_readyReadQueued)
                return;
            m_readyReadQueued = false;
            emit readyRead();
        },
        Qt::QueuedConnection);
}

} // namespace kdx::sim
