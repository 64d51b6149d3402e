#pragma once

#include "core/steprecord.h"

#include <QString>

#include <array>
#include <utility>
#include <exception>

namespace kdx {

// P0..P7 as the controller holds them, as numbers.
using ParamNumbers = std::array<int, 8>;
// The values a test write accepts, lowest and highest, per parameter.
using ParamRanges = std::array<std::pair<int, int>, 8>;

// The axis stopped answering (or the line went away) in the middle of a
// tuning step. Thrown by a TuningAxis; the tuner catches it.
class AxisFailure : public std::exception {
public:
    explicit AxisFailure(QString reason) : m_reason(std::move(reason)) {}
    const QString &reason() const { return m_reason; }
    const char *what() const noexcept override { return "axis failure"; }

private:
    QString m_reason;
};

// What the tuner does to the axis, and nothing more. The terminal implements
// it over the serial line; tests implement it with a made-up axis.
class TuningAxis {
public:
    virtual ~TuningAxis() = default;
    // P0..P7 read back from the controller.
    virtual ParamNumbers readBack() = 0;
    // Gives parameter n a value to try (never stored in the controller).
    virtual void testWrite(int n, int value) = 0;
    // A step of the given number of steps (signed) in step mode, recording
    // the position error for windowMs from the step's send. Stops the motor
    // at once (stop-and-reset) and returns what it has, marked incomplete,
    // when |error| exceeds limitCounts or the operator cancels.
    virtual StepRecord step(int steps, double windowMs, double limitCounts) = 0;
    // Readings of the error at rest, no step, for windowMs.
    virtual StepRecord rest(double windowMs) = 0;
    // Motor stopped, step mode.
    virtual void stopAndReset() = 0;
    // The operator asked to stop.
    virtual bool cancelled() = 0;
    // Time since the axis was handed to the tuner, ms.
    virtual double elapsedMs() = 0;
};

} // namespace kdx
