#pragma once

#include <QtGlobal>

#include <cstddef>
#include <vector>

namespace kdx {

// One raw position-error reading and when it arrived (steady clock).
struct Reading {
    qint64 tNs = 0; // steady-clock time of arrival, ns
    qint16 raw = 0; // the controller's reading, before zeroing
};

// The last readings, oldest first, in a ring of fixed size: memory stays
// flat however long the monitor runs.
class ReadingBuffer {
public:
    // 2^18 readings: more than 10 minutes at the line's full poll rate.
    static constexpr std::size_t kDefaultCapacity = std::size_t(1) << 18;

    explicit ReadingBuffer(std::size_t capacity = kDefaultCapacity);

    void push(const Reading &reading);
    void clear();

    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_ring.size(); }
    bool empty() const { return m_size == 0; }
    // Readings ever pushed since construction or clear(); grows past capacity.
    quint64 totalPushed() const { return m_total; }

    // The i-th kept reading, 0 the oldest.
    const Reading &at(std::size_t i) const;
    const Reading &latest() const { return at(m_size - 1); }

    // Index of the first kept reading that arrived at or after tNs
    // (size() when none did).
    std::size_t firstAtOrAfter(qint64 tNs) const;

private:
    std::vector<Reading> m_ring;
    std::size_t m_head = 0; // where the next reading goes
    std::size_t m_size = 0;
    quint64 m_total = 0;
};

} // namespace kdx
