#pragma once

#include "core/loopmodel.h"
#include "core/stepfigures.h"

#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace kdx {

// What a set of gains must do: keep the overshoot within the aim and settle
// at every step size, in both directions, on the model and on the model
// with more gain, more delay and more or less friction (the robustness
// margin). Among those that do, the design takes the one whose ITAE is
// lowest in the worst of these cases.
struct DesignGoal {
    double aimPct = 5;
    std::vector<double> stepCounts; // the sizes to meet it at (forward; backward too)
    double windowMs = 1000;
    double sampleMs = 4;      // the line's reading interval
    LoopSetting start;        // the gains as found, the torque limit and the ramp
    bool tuneP = true, tuneI = true, tuneD = true;
    std::array<std::pair<int, int>, 3> ranges{{{1, 5000}, {1, 1000}, {1, 1000}}}; // P2, P3, P7
    double robustGain = 1.3;     // the model's gain this much larger ...
    double robustDelay = 1.3;    // ... its delay this much longer ...
    double robustFriction = 1.5; // ... its friction this much stronger or weaker
    double robustSlackPct = 2;   // overshoot allowed beyond the aim there
};

// The model's figures for one set of gains over the goal's sizes.
struct DesignFigures {
    double itae = 0;         // at the middle size, both directions' mean
    double overshootPct = 0; // the largest of every size and direction
    double settlingMs = 0;   // the longest
    bool settles = false;    // at every size and direction
    bool meetsAim = false;
    std::vector<StepFigures> steps; // forward then backward, per size
};

struct Design {
    bool found = false;      // gains that meet the goal
    LoopSetting setting;     // the gains chosen (or the closest when none is found)
    DesignFigures predicted; // on the model
    double worstItae = 0;    // the highest ITAE over the model and its variants
    double pMargin = 0;      // how many times more P gain before it rings (model)
    double crossoverHz = 0;  // the loop's bandwidth on the model
};

DesignFigures designFigures(const LoopModel &model, const LoopSetting &setting,
                            const DesignGoal &goal);

// Chooses the gains with the lowest ITAE that meet the goal on the model.
Design designGains(const LoopModel &model, const DesignGoal &goal,
                   const std::function<bool()> &cancelled = {});

// How many times more P gain the model takes before its step rings.
double pGainMargin(const LoopModel &model, const LoopSetting &setting, const DesignGoal &goal);

// Where the open loop's gain falls to one, Hz (0 when it never does).
double crossoverHz(const LoopModel &model, const LoopSetting &setting);

} // namespace kdx
