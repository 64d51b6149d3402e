#pragma once

#include "core/steprecord.h"

namespace kdx {

// What the tuner needs to know about one step response, with the error
// normalised to the step's direction (positive: the shaft lags behind the
// goal, negative: it has passed it).
struct ResponseMeasure {
    bool valid = false;          // enough readings to judge
    double itae = 0;             // ∫ t·|e| dt / |step|, ms², t from the step's send
    double overshootPct = 0;     // furthest pass beyond the goal, % of |step|
    double settlingMs = 0;       // until |e| stays inside the band (the window when never)
    bool settled = false;        // the error ended inside the band
    double peakCounts = 0;       // largest |e|
    double bandCounts = 2;       // max(2 % of |step|, 2)
    int oscillations = 0;        // sign changes between excursions beyond the band
    double lateSpreadCounts = 0; // RMS about the mean over the last fifth of the window
    bool rings = false;          // still swinging beyond the band at the end of the window
    bool grows = false;          // swings that get larger instead of dying out
    double sampleRateHz = 0;     // readings per second
};

ResponseMeasure measureResponse(const StepRecord &record);

} // namespace kdx
