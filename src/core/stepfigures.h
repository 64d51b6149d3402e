#pragma once

#include "steprecord.h"

#include <QString>

#include <limits>
#include <vector>

namespace kdx {

// Stand-in until the shared figures land.
struct StepFigures {
    static constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
    bool valid = false;
    QString note;
    double peakError = NaN;
    double peakErrorMs = NaN;
    double overshootPct = NaN;
    double timeToPeakMs = NaN;
    double riseTimeMs = NaN;
    double settlingTimeMs = NaN;
    double bandCounts = NaN;
    double steadyStateError = NaN;
    double iae = NaN;
    double itae = NaN;
    int oscillations = 0;
    double sampleRateHz = NaN;
};
StepFigures stepFigures(const StepRecord &record);
struct FigureSpread {
    StepFigures mean;
    StepFigures spread;
    int count = 0;
};
FigureSpread figureSpread(const std::vector<StepFigures> &figures);

} // namespace kdx
