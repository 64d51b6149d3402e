#pragma once

#include "readingbuffer.h"

#include <QLineF>
#include <QObject>

#include <optional>
#include <vector>

namespace kdx {

// The live position error, window-free. Readings come in at the poll rate;
// the model keeps the zero reference, the current and the largest error, the
// elapsed sampling time, the trace's last point and every raw reading with
// its time, and collects the trace segments that are still to be drawn. A
// view takes those and shows the numbers as often as the screen changes.
//
// The trace is laid out in twips: x is the time scale times the elapsed time,
// y the centre line minus the error times the error scale's factor. Once the
// elapsed time no longer fits one screen the trace starts again from the left.
class MonitorModel : public QObject {
    Q_OBJECT
public:
    // The scales a reading is drawn with: the error scale's factor, and the
    // time scale when its text reads as a number.
    struct Scales {
        int errorFactor = 0;
        std::optional<double> timeScale;
    };

    // One reading: raw is the controller's position error, intervalMs the
    // sampling time it stands for, tNs its arrival on the steady clock.
    void take(qint16 raw, int intervalMs, const Scales &scales, qint64 tNs);
    // A reading the numbers and the trace leave out (a 0), kept with the
    // readings over time all the same.
    void keep(qint16 raw, qint64 tNs) { m_readings.push({tNs, raw}); }

    // The latest raw reading becomes the zero reference (0 when none has
    // arrived); the current and the largest error go back to 0.
    void zero();
    // The line has opened, perhaps to another controller: no reading of it
    // has arrived yet.
    void forgetReading() { m_latestRaw = 0; }
    // The monitor is switched on or off; either way it counts from 0 until
    // the next zeroing.
    void switchOn();
    void switchOff();
    // The trace starts again from the left edge on a clean surface.
    void clearTrace();

    // The raw position error last received, 0 before the first one.
    qint16 latestRaw() const { return m_latestRaw; }
    double zeroReference() const { return m_zero; }
    double error() const { return m_error; }
    double largestError() const { return m_largest; }
    double elapsedMs() const { return m_elapsed; }
    QPointF lastPoint() const { return m_last; }
    const ReadingBuffer &readings() const { return m_readings; }

    // What a view has not drawn yet: whether the surface was cleared, and the
    // segments drawn since (in twips). Taking them empties the list.
    struct Pending {
        bool cleared = false;
        std::vector<QLineF> segments;
    };
    Pending takePending();
    bool hasPending() const { return m_pending.cleared || !m_pending.segments.empty(); }

signals:
    // Something a view shows has changed (emitted once per change of the
    // numbers or the trace; a view gathers them up to its next frame).
    void changed();

private:
    void setError(double error);

    qint16 m_latestRaw = 0;
    double m_zero = 0;
    double m_error = 0;
    double m_largest = 0;
    double m_elapsed = 0;
    QPointF m_last{0, 0};
    ReadingBuffer m_readings;
    Pending m_pending;
};

} // namespace kdx
