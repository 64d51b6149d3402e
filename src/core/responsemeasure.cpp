#include "responsemeasure.h"

#include <algorithm>
#include <cmath>

namespace kdx {

namespace {

constexpr int kMinReadings = 8;
// Swings beyond the band in the last quarter of the window on both sides of
// the goal, after at least this many sign changes: the loop is not settling.
constexpr int kRingingSwings = 4;
constexpr double kGrowthRatio = 1.2;

// The extreme of each excursion beyond the band, in order, with its sign.
std::vector<double> excursions(const std::vector<double> &e, double band)
{
    std::vector<double> result;
    int sign = 0;
    for (size_t i = 0; i < e.size(); ++i) {
        if (std::fabs(e[i]) <= band)
            continue;
        const int s = e[i] > 0 ? 1 : -1;
        if (s != sign) {
            result.push_back(e[i]);
            sign = s;
        } else if (std::fabs(e[i]) > std::fabs(result.back())) {
            result.back() = e[i];
        }
    }
    return result;
}

} // namespace

ResponseMeasure measureResponse(const StepRecord &record)
{
    ResponseMeasure m;
    const size_t n = std::min(record.tMs.size(), record.error.size());
    const double step = std::fabs(record.stepCounts);
    if (n < kMinReadings || step <= 0)
        return m;
    const double sign = record.stepCounts > 0 ? 1.0 : -1.0;
    std::vector<double> e(n);
    for (size_t i = 0; i < n; ++i)
        e[i] = sign * record.error[i];
    const std::vector<double> &t = record.tMs;
    const double end = std::max(record.windowMs, t[n - 1]);

    m.valid = true;
    m.bandCounts = std::max(0.02 * step, 2.0);
    for (size_t i = 0; i < n; ++i) {
        m.peakCounts = std::max(m.peakCounts, std::fabs(e[i]));
        m.overshootPct = std::max(m.overshootPct, -e[i] / step * 100.0);
    }
    // Before the first reading the error is taken as zero, the goal not yet moved.
    double itae = 0;
    double prevT = 0, prevE = 0;
    for (size_t i = 0; i < n; ++i) {
        const double dt = t[i] - prevT;
        if (dt > 0)
            itae += 0.5 * dt * (prevT * std::fabs(prevE) + t[i] * std::fabs(e[i]));
        prevT = t[i];
        prevE = e[i];
    }
    m.itae = itae / step;

    size_t lastOutside = n;
    for (size_t i = n; i-- > 0;) {
        if (std::fabs(e[i]) > m.bandCounts) {
            lastOutside = i;
            break;
        }
    }
    m.settled = lastOutside != n - 1;
    if (lastOutside == n)
        m.settlingMs = 0;
    else
        m.settlingMs = m.settled ? t[lastOutside + 1] : end;

    const std::vector<double> swings = excursions(e, m.bandCounts);
    m.oscillations = std::max(0, int(swings.size()) - 1);
    if (swings.size() >= 4) {
        const double firstBack = std::fabs(swings[1]);
        double later = 0;
        for (size_t k = 2; k < swings.size(); ++k)
            later = std::max(later, std::fabs(swings[k]));
        m.grows = later > kGrowthRatio * firstBack && later > 3 * m.bandCounts;
    }

    const double lateFrom = t[0] + 0.8 * (t[n - 1] - t[0]);
    const double ringFrom = t[0] + 0.75 * (t[n - 1] - t[0]);
    double sum = 0, sumSq = 0;
    int count = 0;
    bool above = false, below = false;
    for (size_t i = 0; i < n; ++i) {
        if (t[i] >= lateFrom) {
            sum += e[i];
            sumSq += e[i] * e[i];
            ++count;
        }
        if (t[i] >= ringFrom) {
            above = above || e[i] > m.bandCounts;
            below = below || e[i] < -m.bandCounts;
        }
    }
    if (count > 0) {
        const double mean = sum / count;
        m.lateSpreadCounts = std::sqrt(std::max(0.0, sumSq / count - mean * mean));
    }
    m.rings = m.oscillations >= kRingingSwings && above && below;
    if (t[n - 1] > t[0])
        m.sampleRateHz = double(n - 1) / (t[n - 1] - t[0]) * 1000.0;
    return m;
}

} // namespace kdx
