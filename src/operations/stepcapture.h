#pragma once

#include "answerstream.h"
#include "core/capture.h"

#include <QByteArray>

#include <array>
#include <vector>

namespace kdx {

class ReadingBuffer;
class SerialLink;

// A step response taken from the controller. Runs inside one guarded
// operation and owns the line meanwhile: it reads back the parameters in
// force, takes the zero reference (the reading just before the step), puts
// the controller in step mode, sends the step ("+N" / "-N" and a bare
// return, as step mode sends it) and polls "P9" as fast as the line allows
// until the window has passed, stamping each reading with the steady clock
// at its arrival (ms from the step's send).
//
// Two polls are kept on the way: the next request crosses the line while
// the answer to the one before comes back, so the adapter's latency costs
// no time between readings.
//
// On a link failure the capture keeps what it got (last(), marked
// incomplete) and the LinkError goes on to end the operation as usual.
class StepCapture {
public:
    static constexpr int kDefaultPollsInFlight = 2;
    static constexpr int kMaxReadAttempts = 5;

    explicit StepCapture(SerialLink &link) : m_link(link), m_answers(link) {}

    // Readings also go into this buffer, so a live view goes on during a capture.
    void setReadings(ReadingBuffer *buffer) { m_readings = buffer; }
    void setPollsInFlight(int n) { m_pollsInFlight = n < 1 ? 1 : n; }

    // P0..P7 as the controller has them now; each prompt is closed with a
    // bare return so the value stays.
    std::array<int, 8> readParameters();

    // One step of `steps` (signed) recorded for windowMs, with the parameters
    // read back first.
    Capture run(int steps, double windowMs);
    // The same with parameters already read.
    Capture capture(int steps, double windowMs, const std::array<int, 8> &params);
    // K pairs: a step of `steps` and one back, K times, with one reading of
    // the parameters; the axis ends where it started.
    std::vector<Capture> runPairs(int steps, int pairs, double windowMs);

    // The capture running now or run last, as far as it got.
    const Capture &last() const { return m_last; }
    // Captures of the last runPairs() that ended, the last one included even
    // when it ended early.
    const std::vector<Capture> &series() const { return m_series; }

    // Ends the running capture after the answers on their way (it stays incomplete).
    void cancel() { m_cancel = true; }
    bool isRunning() const { return m_running; }
    // The controller refused the last step (not in step mode, count out of range).
    bool stepRefused() const { return m_refused; }

private:
    // Clears what the last run left and reads the parameters in force.
    std::array<int, 8> start(int steps);
    qint16 pollOnce();
    void sendStep(int steps);

    SerialLink &m_link;
    ReadingBuffer *m_readings = nullptr;
    AnswerStream m_answers;
    int m_pollsInFlight = kDefaultPollsInFlight;
    bool m_cancel = false;
    bool m_running = false;
    bool m_refused = false;
    Capture m_last;
    std::vector<Capture> m_series;
};

// The legend text of a capture: its gains, the step and the time.
QString captureLabel(const Capture &capture);

} // namespace kdx
