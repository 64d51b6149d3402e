#pragma once

#include "core/steprecord.h"

#include <vector>

namespace kdx {

// A small model of the position loop as the line sees it: the controller's
// PID on the position error, its output clamped to the torque limit, then a
// transport delay and a lag before the drive acts, and a shaft with inertia,
// viscous and Coulomb friction, a breakaway and a constant load. Nothing in
// it is known beforehand: what one unit of a gain does, how strongly the
// drive pushes and how the shaft resists are all fitted to measured steps.
//
// Units: counts, milliseconds, and the controller's output in duty units
// (the torque limit P4 is in the same units). The gain scales say how much
// duty one unit of P2, P3 or P7 gives per count of error, per count·ms of
// its integral, per count/ms of its change.
struct LoopModel {
    double drive = 0.01;    // acceleration per duty, counts/ms² per duty unit
    double pScale = 0.01;   // duty per (P2 × count)
    double iScale = 1e-4;   // duty per (P3 × count·ms)
    double dScale = 0.1;    // duty per (P7 × count/ms)
    double viscous = 0.05;  // speed decay without drive, 1/ms
    double coulomb = 0;     // duty that friction takes while the shaft turns
    double breakaway = 0;   // duty beyond that needed to start from rest
    double load = 0;        // constant duty the load takes (gravity), signed
    double delayMs = 0;     // from the controller's output to the drive
    double lagMs = 0.2;     // first-order lag of the drive
    bool derivativeOnMeasurement = false; // else on the error

    // The same axis with every gain acting `gain` times as strongly, the
    // delay `delay` times as long and the friction `friction` times as
    // strong: what a robust design must still meet.
    LoopModel perturbed(double gain, double delay, double friction = 1) const;
};

// What the controller is given for one step.
struct LoopSetting {
    double p = 0, i = 0, d = 0; // P2, P3, P7
    double torqueLimit = 256;   // P4, duty
    double rampCountsPerMs = 1; // how fast the set point moves to the goal (P0, P6)
};

// The position error (set point minus shaft) the model gives for a step of
// stepCounts (signed), starting at rest in balance, at the given times
// (ms from the step reaching the controller). tickMs is the model's own
// time step.
std::vector<double> simulateError(const LoopModel &model, const LoopSetting &setting,
                                  double stepCounts, const std::vector<double> &tMs,
                                  double tickMs = 0.5);

// A predicted record sampled every sampleMs over windowMs, for figures and
// pictures.
StepRecord predictStep(const LoopModel &model, const LoopSetting &setting, double stepCounts,
                       double windowMs, double sampleMs);

} // namespace kdx
