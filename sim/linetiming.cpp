#include "linetiming.h"

#include <algorithm>

namespace kdx::sim {

LineTiming::LineTiming(int baudRate, qint64 latencyNs)
    : m_baudRate(std::max(baudRate, 0)), m_latencyNs(std::max<qint64>(latencyNs, 0))
{
}

qint64 LineTiming::transferNs(qint64 bytes) const
{
    if (m_baudRate == 0)
        return 0;
    const qint64 bitNs = bytes * BitsPerByte * 1'000'000'000;
    return (bitNs + m_baudRate / 2) / m_baudRate; // to the nearest nanosecond
}

qint64 LineTiming::receive(qint64 nowNs, qint64 bytes)
{
    m_inboundFreeNs = std::max(nowNs, m_inboundFreeNs) + transferNs(bytes);
    return m_inboundFreeNs;
}

qint64 LineTiming::send(qint64 readyNs, qint64 bytes)
{
    m_outboundFreeNs = std::max(readyNs, m_outboundFreeNs) + transferNs(bytes);
    return m_outboundFreeNs + m_latencyNs;
}

void LineTiming::reset()
{
    m_inboundFreeNs = 0;
    m_outboundFreeNs = 0;
}

} // namespace kdx::sim
