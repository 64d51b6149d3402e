#pragma once

#include "core/steprecord.h"

#include <QString>

#include <limits>
#include <vector>

namespace kdx {

// The figures that describe one step response (docs/figures.md explains each
// with a picture). Times are ms from the step's send; lengths are encoder
// counts.
//
// The set point ramps to the goal at the velocity limit, so the shaft's
// position is the ramped set point minus the error:
//     position(t) = step · min(1, t / moveEnd) − error(t)
// and its distance from the goal, signed so that it is positive while the
// shaft is short of the goal:
//     remaining(t) = |step| · (1 − min(1, t / moveEnd)) + sign(step) · error(t)
// Once the move is over the remaining distance is the error itself.
struct StepFigures {
    static constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

    bool valid = false;    // false: too few readings to say anything (see note)
    QString note;          // why a figure is missing, in Hungarian, short; empty when none is
    double stepCounts = 0; // the record's step, signed (for normalising signs)

    double peakError = NaN;        // largest |error| in counts, signed as recorded
    double peakErrorMs = NaN;      // when it occurred
    double overshootPct = NaN;     // furthest pass beyond the goal, % of |step| (0: never passed)
    double timeToPeakMs = NaN;     // from the step to that furthest pass (NaN when none)
    double riseTimeMs = NaN;       // position from 10 % to 90 % of the step
    double settlingTimeMs = NaN;   // from the step until the shaft stays inside the band
    double bandCounts = NaN;       // max(2 % of |step|, 2)
    double steadyStateError = NaN; // mean error over the last 10 % of the window
    double iae = NaN;              // ∫|e| dt / |step|, ms
    double itae = NaN;             // ∫ t·|e| dt / |step|, ms²
    int oscillations = 0;          // crossings from one side of the band to the other
    double sampleRateHz = NaN;     // readings per second achieved
};

StepFigures stepFigures(const StepRecord &record);

// Mean and spread over several records of the same size, e.g. K ± pairs.
// Signed figures (peakError, steadyStateError, stepCounts) are normalised to
// a forward step before they are combined, so a +N and a −N response of the
// same shape give the same mean. The spread is the sample standard deviation
// (0 for one record); for oscillations the mean is rounded and the spread is
// the range (largest minus smallest). Only valid figures count. A figure
// missing from some records is averaged over the others, except the settling
// time: when one record never settled, the mean has none either.
struct FigureSpread {
    StepFigures mean;
    StepFigures spread;
    int count = 0;
};
FigureSpread figureSpread(const std::vector<StepFigures> &figures);

// The move that a step command of the given number of steps makes: its size
// in encoder counts and when the set point reaches the goal. velocityLimit is
// P0 (1/16 step per ms), gearRatio is P6 (encoder counts per step × 1024).
// A velocity limit of 0 or below never reaches the goal: moveEndMs is
// infinite.
struct StepMove {
    double stepCounts = 0;
    double moveEndMs = 0;
};
StepMove stepMove(int steps, int velocityLimit, int gearRatio);

} // namespace kdx
