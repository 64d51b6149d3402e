#include "readingbuffer.h"

#include <algorithm>

namespace kdx {

ReadingBuffer::ReadingBuffer(std::size_t capacity) : m_ring(std::max<std::size_t>(capacity, 1)) {}

void ReadingBuffer::push(const Reading &reading)
{
    m_ring[m_head] = reading;
    m_head = (m_head + 1) % m_ring.size();
    m_size = std::min(m_size + 1, m_ring.size());
    ++m_total;
}

void ReadingBuffer::clear()
{
    m_head = 0;
    m_size = 0;
    m_total = 0;
}

const Reading &ReadingBuffer::at(std::size_t i) const
{
    Q_ASSERT(i < m_size);
    const std::size_t oldest = (m_head + m_ring.size() - m_size) % m_ring.size();
    return m_ring[(oldest + i) % m_ring.size()];
}

std::size_t ReadingBuffer::firstAtOrAfter(qint64 tNs) const
{
    // Arrival times only grow, so the kept readings are sorted by time.
    std::size_t lo = 0, hi = m_size;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (at(mid).tNs < tNs)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace kdx
