#pragma once

#include <vector>

namespace kdx {

// One step response as it came in over the line: the position error after a
// step of the goal, sampled from the moment the step command went out.
//
// The controller ramps its set point towards the new goal at the velocity
// limit, so the error first grows while the set point moves (for a forward
// step it is positive: the set point runs ahead of the shaft) and then decays
// once the set point has reached the goal. A shaft that passes the goal
// shows as an error of the opposite sign.
struct StepRecord {
    double stepCounts = 0;   // signed size of the goal's move in encoder counts
    double moveEndMs = 0;    // when the set point reaches the goal, ms after the step (0: at once)
    double windowMs = 0;     // how long the record was meant to last
    std::vector<double> tMs; // ms from the step's send, one per reading, increasing
    std::vector<double>
        error;            // position error in counts (target minus actual, zeroed before the step)
    bool complete = true; // false when the line failed before the window was full
};

} // namespace kdx
