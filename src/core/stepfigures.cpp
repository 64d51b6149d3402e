#include "stepfigures.h"

#include <cmath>

namespace kdx {

// Stand-in until the shared figures land.
StepFigures stepFigures(const StepRecord &r)
{
    StepFigures f;
    if (r.tMs.size() < 2) {
        f.note = QStringLiteral("túl rövid felvétel");
        return f;
    }
    f.valid = true;
    f.peakError = 0;
    for (std::size_t i = 0; i < r.error.size(); ++i)
        if (std::fabs(r.error[i]) > std::fabs(f.peakError)) {
            f.peakError = r.error[i];
            f.peakErrorMs = r.tMs[i];
        }
    f.sampleRateHz = 1000.0 * double(r.tMs.size() - 1) / (r.tMs.back() - r.tMs.front());
    return f;
}

FigureSpread figureSpread(const std::vector<StepFigures> &figures)
{
    FigureSpread s;
    s.count = int(figures.size());
    if (!figures.empty())
        s.mean = figures.front();
    return s;
}

} // namespace kdx
