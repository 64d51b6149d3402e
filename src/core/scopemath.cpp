#include "scopemath.h"

#include "readingbuffer.h"

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {

constexpr int kBitsPerByte = 10; // start bit, 8 data bits, stop bit

// Thins a run of points that arrive in time order, column by column.
class ColumnThinner {
public:
    ColumnThinner(double t0, double t1, int columns, std::vector<QPointF> &out)
        : m_t0(t0), m_width((t1 - t0) / std::max(columns, 1)), m_columns(std::max(columns, 1)),
          m_out(out)
    {
    }

    void add(double t, double v)
    {
        const int column =
            m_width > 0 ? std::clamp(int((t - m_t0) / m_width), 0, m_columns - 1) : 0;
        if (column != m_column)
            flush();
        if (m_count == 0) {
            m_first = m_min = m_max = m_last = QPointF(t, v);
            m_column = column;
        } else {
            if (v < m_min.y())
                m_min = QPointF(t, v);
            if (v > m_max.y())
                m_max = QPointF(t, v);
            m_last = QPointF(t, v);
        }
        ++m_count;
    }

    void flush()
    {
        if (m_count == 0)
            return;
        m_out.push_back(m_first);
        // The extremes in the order they came.
        const QPointF &a = m_min.x() <= m_max.x() ? m_min : m_max;
        const QPointF &b = m_min.x() <= m_max.x() ? m_max : m_min;
        for (const QPointF &p : {a, b, m_last})
            if (p != m_out.back())
                m_out.push_back(p);
        m_count = 0;
    }

private:
    double m_t0, m_width;
    int m_columns;
    std::vector<QPointF> &m_out;
    int m_column = -1;
    int m_count = 0;
    QPointF m_first, m_min, m_max, m_last;
};

} // namespace

double lineLimitHz(int requestBytes, int replyBytes, int baudRate)
{
    const int bytes = requestBytes + replyBytes;
    if (bytes <= 0 || baudRate <= 0)
        return 0;
    return double(baudRate) / kBitsPerByte / bytes;
}

double sampleRateHz(const ReadingBuffer &buffer, qint64 nowNs, qint64 windowNs)
{
    if (windowNs <= 0)
        return 0;
    const std::size_t from = buffer.firstAtOrAfter(nowNs - windowNs + 1);
    const std::size_t to = buffer.firstAtOrAfter(nowNs + 1);
    const double count = double(to - from);
    return count * 1e9 / double(windowNs);
}

std::vector<QPointF> decimatedReadings(const ReadingBuffer &buffer, qint64 originNs, qint64 t0Ns,
                                       qint64 t1Ns, int columns)
{
    std::vector<QPointF> out;
    if (t1Ns <= t0Ns)
        return out;
    const auto ms = [originNs](qint64 ns) { return double(ns - originNs) / 1e6; };
    ColumnThinner thinner(ms(t0Ns), ms(t1Ns), columns, out);
    const std::size_t end = buffer.firstAtOrAfter(t1Ns + 1);
    for (std::size_t i = buffer.firstAtOrAfter(t0Ns); i < end; ++i) {
        const Reading &r = buffer.at(i);
        thinner.add(ms(r.tNs), r.raw);
    }
    thinner.flush();
    return out;
}

std::vector<QPointF> decimatedSeries(const std::vector<double> &tMs,
                                     const std::vector<double> &values, double t0Ms, double t1Ms,
                                     int columns)
{
    std::vector<QPointF> out;
    const std::size_t n = std::min(tMs.size(), values.size());
    if (n == 0 || !(t1Ms > t0Ms))
        return out;
    ColumnThinner thinner(t0Ms, t1Ms, columns, out);
    const auto first = std::lower_bound(tMs.begin(), tMs.begin() + n, t0Ms) - tMs.begin();
    // One point on either side keeps the line running to the edges.
    std::size_t i = first > 0 ? std::size_t(first - 1) : 0;
    for (; i < n; ++i) {
        thinner.add(tMs[i], values[i]);
        if (tMs[i] > t1Ms)
            break;
    }
    thinner.flush();
    return out;
}

} // namespace kdx
