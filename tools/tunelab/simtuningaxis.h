#pragma once

#include "core/tuningaxis.h"
#include "firmware.h"

// The tuner's axis on the simulated controller in simulated time, without a
// line: readings every 3 or 4 ms as over the line, each stamped with its
// exact time. A developer's bench for the tuner: a tuning takes seconds of
// computing instead of a minute of axis time.
class SimTuningAxis : public kdx::TuningAxis {
public:
    explicit SimTuningAxis(const kdx::sim::Plant &plant);

    kdx::sim::Firmware &firmware() { return m_firmware; }
    int writes = 0;

    kdx::ParamNumbers readBack() override;
    void testWrite(int n, int value) override;
    kdx::StepRecord step(int steps, double windowMs, double limitCounts) override;
    kdx::StepRecord rest(double windowMs) override;
    void stopAndReset() override;
    bool cancelled() override { return false; }
    double elapsedMs() override;

private:
    void line(const QByteArray &text);
    void pass(double ms);
    kdx::StepRecord record(double windowMs, double limitCounts, bool stopOnLimit);

    kdx::sim::Firmware m_firmware;
    qint64 m_nowNs = 0;
    int m_sample = 0;
};
