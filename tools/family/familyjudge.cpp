#include "familyjudge.h"

#include "firmware.h"

#include <algorithm>
#include <cmath>

namespace kdx::family {

namespace {

constexpr int kRestMs = 500;
constexpr int kWindowMs = 1000;
constexpr double kNoiseCounts = 1; // a pass of one count is the encoder, not the loop
constexpr double kRounding = 1e-9; // counts: a pass computed back from its percentage

// The allowed pass beyond the goal, in counts, for a step of this size.
double allowedCounts(double stepCounts, double pct)
{
    return pct / 100 * std::abs(stepCounts) + kNoiseCounts + kRounding;
}

} // namespace

sim::Parameters parametersWith(const Gains &gains)
{
    sim::Parameters p = sim::Firmware::DefaultParameters;
    p[sim::PGain] = gains.p;
    p[sim::IGain] = gains.i;
    p[sim::DGain] = gains.d;
    return p;
}

bool Judgement::withinAim(double aimPct, double slackPoints) const
{
    for (const StepFigures &f : steps) {
        if (!f.valid || !(f.overshootPct / 100 * std::abs(f.stepCounts) <=
                          allowedCounts(f.stepCounts, aimPct + slackPoints)))
            return false;
    }
    return true;
}

Judgement judgeGains(const sim::Plant &plant, const Gains &gains, int stepSteps,
                     const JudgeLimits &limits)
{
    const sim::Parameters p = parametersWith(gains);
    sim::ServoModel axis(plant);
    for (int ms = 0; ms < kRestMs; ++ms)
        axis.tick(p);

    const int half = std::max(1, stepSteps / 2);
    const std::array<int, 6> sizes{stepSteps, -stepSteps,    half,
                                   -half,     2 * stepSteps, -2 * stepSteps};
    const bool stopAtFaults = std::isfinite(limits.stopBeyondAimPct);
    Judgement j;
    double pairItae = 0; // ∫ t·|e| dt / |step| of the pair so far, ms²
    for (int k = 0; k < 6; ++k) {
        const StepMove move = stepMove(sizes[size_t(k)], p[sim::VelocityLimit], p[sim::GearRatio]);
        const double size = std::abs(move.stepCounts);
        const double direction = move.stepCounts < 0 ? -1 : 1;
        const double allowed = allowedCounts(move.stepCounts, limits.stopBeyondAimPct);
        StepRecord r;
        r.stepCounts = move.stepCounts;
        r.moveEndMs = move.moveEndMs;
        r.windowMs = kWindowMs;
        axis.moveSteps(sizes[size_t(k)], p);
        double next = 1.5, itae = 0, lastT = 0, lastE = 0;
        for (int ms = 1, n = 0; ms <= kWindowMs; ++ms) {
            axis.tick(p);
            if (ms < next)
                continue;
            next += (n++ % 2) ? 3 : 4;
            const double e = axis.positionError();
            r.tMs.push_back(ms);
            r.error.push_back(e);
            if (!stopAtFaults && !std::isfinite(limits.itaeBudget))
                continue;
            const double moved = move.moveEndMs > 0 ? std::min(1.0, ms / move.moveEndMs) : 1;
            if (size * (1 - moved) + direction * e < -allowed)
                return j; // passed the goal beyond the aim
            if (k < 2) {
                // As stepFigures integrates: the first reading stands for
                // the time from the step to itself.
                itae += r.tMs.size() == 1
                            ? std::abs(e) * ms * ms / 2.0
                            : (lastT * std::abs(lastE) + ms * std::abs(e)) / 2 * (ms - lastT);
                if ((pairItae + itae / size) / 2 > limits.itaeBudget)
                    return j;
            }
            lastT = ms;
            lastE = e;
        }
        const StepFigures f = stepFigures(r);
        j.steps[size_t(k)] = f;
        if (k < 2)
            pairItae += f.itae;
        if (stopAtFaults &&
            (!std::isfinite(f.settlingTimeMs) || !(f.overshootPct / 100 * size <= allowed)))
            return j;
    }
    j.complete = true;
    j.itae = (j.steps[OneForward].itae + j.steps[OneBack].itae) / 2;
    auto settled = [&j](StepIndex a, StepIndex b) {
        return std::isfinite(j.steps[a].settlingTimeMs) && std::isfinite(j.steps[b].settlingTimeMs);
    };
    j.settled[One] = settled(OneForward, OneBack);
    j.settled[Half] = settled(HalfForward, HalfBack);
    j.settled[Double] = settled(DoubleForward, DoubleBack);
    j.worstOvershootPct = 0;
    for (const StepFigures &f : j.steps)
        j.worstOvershootPct = std::max(j.worstOvershootPct, f.overshootPct);
    return j;
}

} // namespace kdx::family
