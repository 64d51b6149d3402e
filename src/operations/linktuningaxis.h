#pragma once

#include "answerstream.h"
#include "core/tuningaxis.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <functional>

namespace kdx {

class SerialLink;

// The tuner's axis over the terminal's own serial line. Each method is a
// sequence of whole exchanges: it waits for every answer it causes, so the
// line is clean between them, and takes a value only from the answer that
// carries its request's word. Runs inside one operation that owns the line
// (no poll or repeated step goes between). A silent or failing line ends
// the method with an AxisFailure and leaves the link usable for the
// attempt to write the snapshot back.
class LinkTuningAxis : public TuningAxis {
public:
    LinkTuningAxis(SerialLink &link, std::function<bool()> cancelled);

    ParamNumbers readBack() override;
    void testWrite(int n, int value) override;
    StepRecord step(int steps, double windowMs, double limitCounts) override;
    StepRecord rest(double windowMs) override;
    void stopAndReset() override;
    bool cancelled() override;
    double elapsedMs() override;

    // Readings of the position error per second reached in the last record.
    double lastSampleRateHz() const { return m_lastRate; }

    // How many of the axis's milliseconds pass in one of this computer's: 1
    // for a real axis; a simulator that runs faster than real time says so,
    // and every time the tuner sees (records, budget) is the axis's own.
    void setAxisClockRate(double rate) { m_clockRate = rate; }

private:
    template <typename F> auto guarded(F &&f) -> decltype(f());
    int readParameter(int n);
    double poll();
    double nowMs() const;
    StepRecord record(double windowMs, double limitCounts, double zero, double startMs,
                      bool stopOnLimit);

    SerialLink &m_link;
    AnswerStream m_answers;
    std::function<bool()> m_cancelled;
    QElapsedTimer m_clock;
    double m_lastRate = 0;
    double m_clockRate = 1;
    int m_gear = -1; // P6 as last read, -1: not known
};

} // namespace kdx
