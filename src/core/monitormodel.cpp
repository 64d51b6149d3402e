#include "monitormodel.h"

#include "tracemath.h"

#include <cmath>

namespace kdx {

void MonitorModel::take(qint16 raw, int intervalMs, const Scales &scales, qint64 tNs)
{
    m_latestRaw = raw;
    m_readings.push({tNs, raw});
    setError(raw - m_zero);
    m_elapsed += intervalMs;
    if (scales.timeScale && trace::wraps(m_elapsed, *scales.timeScale))
        clearTrace();
    if (scales.timeScale) {
        const QPointF next(trace::pointX(*scales.timeScale, m_elapsed),
                           trace::pointY(m_error, scales.errorFactor));
        m_pending.segments.emplace_back(m_last, next);
        m_last = next;
    }
    emit changed();
}

void MonitorModel::setError(double error)
{
    m_error = error;
    if (std::fabs(error) > std::fabs(m_largest))
        m_largest = error;
}

void MonitorModel::zero()
{
    m_zero = m_latestRaw;
    m_error = 0;
    m_largest = 0;
    emit changed();
}

void MonitorModel::switchOn()
{
    m_zero = 0;
    emit changed();
}

void MonitorModel::switchOff()
{
    m_zero = 0;
    setError(0);
    emit changed();
}

void MonitorModel::clearTrace()
{
    m_elapsed = 0;
    m_last = QPointF(0, 0);
    m_pending.cleared = true;
    m_pending.segments.clear();
    emit changed();
}

MonitorModel::Pending MonitorModel::takePending()
{
    Pending taken;
    std::swap(taken, m_pending);
    return taken;
}

} // namespace kdx
