#include "simtuningaxis.h"

#include <cmath>

using namespace kdx;

namespace {
// A line at 38400 baud: a poll and its answer take about this long.
constexpr double kPollMs[] = {3, 4};
constexpr double kWriteMs = 4;
} // namespace

SimTuningAxis::SimTuningAxis(const sim::Plant &plant) : m_firmware(plant) {}

void SimTuningAxis::pass(double ms)
{
    m_nowNs += qint64(ms * 1e6);
    m_firmware.advanceTo(m_nowNs);
}

void SimTuningAxis::line(const QByteArray &text)
{
    m_firmware.advanceTo(m_nowNs);
    m_firmware.handleLine(text);
}

ParamNumbers SimTuningAxis::readBack()
{
    pass(8 * kWriteMs);
    ParamNumbers p{};
    for (int n = 0; n < 8; ++n)
        p[n] = m_firmware.activeValue(n);
    return p;
}

void SimTuningAxis::testWrite(int n, int value)
{
    ++writes;
    line("P" + QByteArray::number(n));
    line(QByteArray::number(value));
    pass(3 * kWriteMs);
}

StepRecord SimTuningAxis::record(double windowMs, double limitCounts, bool stopOnLimit)
{
    StepRecord r;
    r.windowMs = windowMs;
    const qint64 start = m_nowNs;
    const double zero = m_firmware.axis().positionError();
    for (;;) {
        pass(kPollMs[m_sample++ % 2]);
        const double t = double(m_nowNs - start) / 1e6;
        const double e = m_firmware.axis().positionError() - zero;
        r.tMs.push_back(t);
        r.error.push_back(e);
        if (stopOnLimit && std::abs(e) > limitCounts) {
            stopAndReset();
            r.complete = false;
            break;
        }
        if (t >= windowMs)
            break;
    }
    return r;
}

StepRecord SimTuningAxis::step(int steps, double windowMs, double limitCounts)
{
    pass(kWriteMs);
    line((steps > 0 ? "+" : "-") + QByteArray::number(std::abs(steps)));
    StepRecord r = record(windowMs, limitCounts, true);
    r.stepCounts = steps * m_firmware.activeValue(6) / 1024.0;
    return r;
}

StepRecord SimTuningAxis::rest(double windowMs)
{
    return record(windowMs, 0, false);
}

void SimTuningAxis::stopAndReset()
{
    line("S0");
    line("m3");
    pass(2 * kWriteMs);
}

double SimTuningAxis::elapsedMs()
{
    return double(m_nowNs) / 1e6;
}
