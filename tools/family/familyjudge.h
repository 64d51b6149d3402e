#pragma once

#include "core/stepfigures.h"
#include "servomodel.h"

#include <array>
#include <limits>

namespace kdx::family {

// The tuned gains: P2, P3, P7.
struct Gains {
    int p = 200;
    int i = 10;
    int d = 30;
    auto operator<=>(const Gains &) const = default;
};

// The factory parameters (P0 1000, P1 50, P4 200, P5 100, P6 1024) with
// these gains.
sim::Parameters parametersWith(const Gains &gains);

// The six steps gains are judged on, in the order they are taken on one
// axis after half a second at rest: the tuning step forward and back, then
// half of it, then twice it, each with a record window of 1000 ms.
enum StepIndex { OneForward, OneBack, HalfForward, HalfBack, DoubleForward, DoubleBack };
enum Size { Half, One, Double };

struct Judgement {
    // False when the judging stopped early, at the first fault its limits
    // asked to stop at: the figures are then only the steps taken so far.
    bool complete = false;
    std::array<StepFigures, 6> steps; // by StepIndex
    std::array<bool, 3> settled{};    // by Size: both directions inside the band at the end
    double itae = StepFigures::NaN;   // mean over the two steps of the tuning step's size
    double worstOvershootPct = StepFigures::NaN; // of the six steps

    bool settledEverywhere() const { return settled[Half] && settled[One] && settled[Double]; }
    // Every step passes the goal by at most the aim plus slack points of
    // its size, and one count (the encoder's own noise).
    bool withinAim(double aimPct, double slackPoints = 0) const;
    // Complete, within the aim and settled at all three sizes.
    bool meets(double aimPct, double slackPoints = 0) const
    {
        return complete && withinAim(aimPct, slackPoints) && settledEverywhere();
    }
};

struct JudgeLimits {
    // Stop at the first step that passes the goal beyond this aim (and a
    // count) or does not settle: the gains cannot meet the aim.
    double stopBeyondAimPct = std::numeric_limits<double>::infinity();
    // Stop once the mean ITAE of the tuning step's pair is sure to exceed
    // this: the gains cannot beat one already found.
    double itaeBudget = std::numeric_limits<double>::infinity();
};

// Runs the steps on the axis in-process (no line): a fresh ServoModel, the
// error read every 3 or 4 ms alternately as over the line (with the axis's
// encoder noise), each record described by stepFigures(). The error is the
// controller's own (target minus position), not zeroed before the step.
Judgement judgeGains(const sim::Plant &plant, const Gains &gains, int stepSteps,
                     const JudgeLimits &limits = {});

} // namespace kdx::family
