#include "core/loopdesign.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace kdx {

namespace {

constexpr double kSearchTickMs = 0.5;
constexpr double kCheckTickMs = 0.5;
constexpr double kFigureSampleMs = 1;
// A step that swings this often without settling rings.
constexpr int kRingingCrossings = 4;
constexpr double kInf = std::numeric_limits<double>::infinity();
// The most of the torque limit one count of noise may move.
constexpr double kNoiseShare = 0.75;
// The fastest on the model alone that are judged on every variant too.
constexpr size_t kJudgedInFull = 40;

bool bothDirections(const LoopModel &m, const LoopSetting &s)
{
    return std::abs(m.load) > 0.005 * std::max(1.0, s.torqueLimit);
}

StepFigures figuresOf(const LoopModel &m, const LoopSetting &s, double step, double windowMs,
                      double tickMs)
{
    StepRecord r;
    r.stepCounts = step;
    r.windowMs = windowMs;
    r.moveEndMs = std::abs(step) / std::max(s.rampCountsPerMs, 1e-9);
    for (double t = kFigureSampleMs; t <= windowMs + 1e-9; t += kFigureSampleMs)
        r.tMs.push_back(t);
    r.error = simulateError(m, s, step, r.tMs, tickMs);
    return stepFigures(r);
}

DesignFigures judge(const LoopModel &m, const LoopSetting &s, const DesignGoal &g, double tickMs,
                    double aimPct)
{
    DesignFigures d;
    d.settles = true;
    const bool both = bothDirections(m, s);
    const size_t middle = g.stepCounts.size() / 2;
    double itae = 0;
    int itaeCount = 0;
    for (size_t k = 0; k < g.stepCounts.size(); ++k) {
        for (double dir : {1.0, -1.0}) {
            if (dir < 0 && !both)
                continue;
            const StepFigures f = figuresOf(m, s, dir * g.stepCounts[k], g.windowMs, tickMs);
            d.steps.push_back(f);
            const bool settled = f.valid && std::isfinite(f.settlingTimeMs);
            d.settles = d.settles && settled;
            d.overshootPct = std::max(d.overshootPct, std::isfinite(f.overshootPct)
                                                          ? f.overshootPct
                                                          : 100.0);
            d.settlingMs = std::max(d.settlingMs, settled ? f.settlingTimeMs : kInf);
            if (k == middle && std::isfinite(f.itae)) {
                itae += f.itae;
                ++itaeCount;
            }
        }
    }
    d.itae = itaeCount > 0 ? itae / itaeCount : kInf;
    d.meetsAim = d.settles && d.overshootPct <= aimPct;
    return d;
}

struct Candidate {
    LoopSetting setting;
    DesignFigures figures;
};

class Designer {
public:
    Designer(const LoopModel &m, const DesignGoal &g, const std::function<bool()> &cancelled)
        : m(m), g(g), cancelled(cancelled)
    {
        variants.push_back(m.perturbed(g.robustGain, 1));
        variants.push_back(m.perturbed(1, g.robustDelay));
        variants.push_back(m.perturbed(1, 1, g.robustFriction));
        variants.push_back(m.perturbed(1, 1, 1 / g.robustFriction));
    }

    // Meets the goal: the aim on the model, and within the slack on every
    // variant. The ITAE is the worst of them all; infinite when it fails.
    // One count of encoder noise in one millisecond turns into no more than
    // this share of the torque limit: beyond it the loop chatters on the
    // encoder's steps, which no smooth model shows.
    bool quiet(const LoopSetting &s) const
    {
        const double perCount = m.pScale * s.p + m.dScale * s.d;
        return perCount <= kNoiseShare * std::max(1.0, s.torqueLimit);
    }

    double worstItae(const LoopSetting &s, DesignFigures *figures = nullptr) const
    {
        if (!quiet(s))
            return kInf;
        const DesignFigures f = judge(m, s, g, kCheckTickMs, g.aimPct);
        if (figures)
            *figures = f;
        if (!f.meetsAim)
            return kInf;
        double worst = f.itae;
        for (const LoopModel &v : variants) {
            const DesignFigures r = judge(v, s, g, kCheckTickMs, g.aimPct + g.robustSlackPct);
            if (!r.meetsAim)
                return kInf;
            worst = std::max(worst, r.itae);
        }
        return worst;
    }

    LoopSetting with(const LoopSetting &base, double p, double i, double d) const
    {
        LoopSetting s = base;
        if (g.tuneP)
            s.p = std::clamp(std::round(p), double(g.ranges[0].first), double(g.ranges[0].second));
        if (g.tuneI)
            s.i = std::clamp(std::round(i), double(g.ranges[1].first), double(g.ranges[1].second));
        if (g.tuneD)
            s.d = std::clamp(std::round(d), double(g.ranges[2].first), double(g.ranges[2].second));
        return s;
    }

    std::vector<double> grid(bool tuned, std::pair<int, int> range, double start,
                             double factor) const
    {
        if (!tuned)
            return {start};
        std::vector<double> values;
        for (double v = range.first; v <= range.second * 1.0001; v *= factor) {
            const double r = std::round(v);
            if (values.empty() || r != values.back())
                values.push_back(r);
        }
        return values;
    }

    Design run()
    {
        Design out;
        // A coarse look on the model alone; the fastest that meet the aim
        // there are then judged on every variant as well.
        std::vector<Candidate> passing;
        Candidate closest;
        double closestMiss = kInf;
        for (double p : grid(g.tuneP, g.ranges[0], g.start.p, 1.6)) {
            if (cancelled && cancelled())
                break;
            for (double d : grid(g.tuneD, g.ranges[2], g.start.d, 1.6)) {
                for (double i : grid(g.tuneI, g.ranges[1], g.start.i, 3)) {
                    const LoopSetting s = with(g.start, p, i, d);
                    if (!quiet(s))
                        continue;
                    const DesignFigures f = judge(m, s, g, kSearchTickMs, g.aimPct);
                    if (f.meetsAim) {
                        passing.push_back({s, f});
                        continue;
                    }
                    const double miss = missOf(f);
                    if (miss < closestMiss) {
                        closestMiss = miss;
                        closest = {s, f};
                    }
                }
            }
        }
        std::sort(passing.begin(), passing.end(), [](const Candidate &a, const Candidate &b) {
            return a.figures.itae < b.figures.itae;
        });
        double best = kInf;
        for (size_t k = 0; k < passing.size() && k < kJudgedInFull; ++k) {
            if (cancelled && cancelled())
                break;
            DesignFigures f;
            const double worst = worstItae(passing[k].setting, &f);
            if (worst < best) {
                best = worst;
                out.found = true;
                out.setting = passing[k].setting;
                out.predicted = f;
            }
        }
        if (out.found) {
            out.worstItae = best;
            refine(out);
        } else {
            out.setting = closestMiss < kInf ? closest.setting : g.start;
            out.predicted = judge(m, out.setting, g, kCheckTickMs, g.aimPct);
        }
        out.pMargin = pGainMargin(m, out.setting, g);
        out.crossoverHz = crossoverHz(m, out.setting);
        return out;
    }

private:
    // How far a set of gains misses the aim: overshoot beyond it, and much
    // more for not settling at all.
    double missOf(const DesignFigures &f) const
    {
        return std::max(0.0, f.overshootPct - g.aimPct) + (f.settles ? 0 : 100);
    }

    void refine(Design &d) const
    {
        for (double factor : {1.2, 1.1, 1.05}) {
            bool moved = true;
            for (int rounds = 0; moved && rounds < 6; ++rounds) {
                moved = false;
                for (int which = 0; which < 3; ++which) {
                    if ((which == 0 && !g.tuneP) || (which == 1 && !g.tuneI) ||
                        (which == 2 && !g.tuneD))
                        continue;
                    for (double f : {factor, 1 / factor}) {
                        if (cancelled && cancelled())
                            return;
                        const LoopSetting &b = d.setting;
                        const LoopSetting s = with(b, which == 0 ? b.p * f : b.p,
                                                   which == 1 ? b.i * f : b.i,
                                                   which == 2 ? b.d * f : b.d);
                        if (s.p == b.p && s.i == b.i && s.d == b.d)
                            continue;
                        DesignFigures figures;
                        const double worst = worstItae(s, &figures);
                        if (worst < d.worstItae) {
                            d.setting = s;
                            d.predicted = figures;
                            d.worstItae = worst;
                            moved = true;
                        }
                    }
                }
            }
        }
    }

    const LoopModel &m;
    const DesignGoal &g;
    const std::function<bool()> &cancelled;
    std::vector<LoopModel> variants;
};

} // namespace

DesignFigures designFigures(const LoopModel &model, const LoopSetting &setting,
                            const DesignGoal &goal)
{
    return judge(model, setting, goal, kCheckTickMs, goal.aimPct);
}

Design designGains(const LoopModel &model, const DesignGoal &goal,
                   const std::function<bool()> &cancelled)
{
    Designer d(model, goal, cancelled);
    return d.run();
}

double pGainMargin(const LoopModel &model, const LoopSetting &setting, const DesignGoal &goal)
{
    const double size = goal.stepCounts.empty() ? 1000 : goal.stepCounts[goal.stepCounts.size() / 2];
    const auto rings = [&](double k) {
        LoopSetting s = setting;
        s.p *= k;
        const StepFigures f = figuresOf(model, s, size, goal.windowMs, kSearchTickMs);
        return !f.valid || !std::isfinite(f.settlingTimeMs) ||
               f.oscillations >= kRingingCrossings;
    };
    if (rings(1))
        return 1;
    double lo = 1, hi = 2;
    while (!rings(hi)) {
        lo = hi;
        hi *= 2;
        if (hi > 1000)
            return hi;
    }
    for (int it = 0; it < 12; ++it) {
        const double mid = std::sqrt(lo * hi);
        (rings(mid) ? hi : lo) = mid;
    }
    return lo;
}

double crossoverHz(const LoopModel &m, const LoopSetting &s)
{
    using C = std::complex<double>;
    const double kp = m.drive * m.pScale * s.p;
    const double ki = m.drive * m.iScale * s.i;
    const double kd = m.drive * m.dScale * s.d;
    const auto gain = [&](double w) {
        const C jw(0, w);
        const C controller = kp + ki / jw + kd * jw;
        const C plant = std::exp(-jw * m.delayMs) / (1.0 + jw * m.lagMs) / (jw * (jw + m.viscous));
        return std::abs(controller * plant);
    };
    // From slow to fast, the last frequency at which the gain is still one.
    double last = 0;
    for (double w = 1e-4; w < 20; w *= 1.05) {
        if (gain(w) >= 1)
            last = w;
    }
    return last * 1000 / (2 * M_PI);
}

} // namespace kdx
