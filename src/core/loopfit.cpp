#include "core/loopfit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kdx {

namespace {

// The parameters as the fit moves them. Everything that acts on the shaft
// is an acceleration here (the drive times the duty), so that how strongly
// the drive pushes only shows where the output meets its limit.
enum Param {
    LogDrive,   // acceleration per duty
    LogP,       // acceleration per (P2 × count)
    LogI,       // the I term's against the P term's, per (P3 × ms) / P2
    LogD,       // the D term's against the P term's, per (P7 / ms) / P2
    LogViscous, // 1/ms
    Coulomb,    // duty, share of the torque limit, as |x|
    Breakaway,  // duty beyond that, share of the torque limit, as |x|
    Load,       // duty, share of the torque limit
    Delay,      // ms, as |x|
    LogLag,     // ms
    ParamCount
};
using Vector = std::array<double, ParamCount>;

constexpr double kLongestDelayMs = 20;
// The model's time step for the fit, and a coarser one for the first look.
constexpr double kFineTickMs = 0.5;
constexpr double kCoarseTickMs = 0.5;
// Readings this much later weigh twice as much as the first.
constexpr double kLateMs = 1e9;
// Starts refined from the coarse look.
constexpr size_t kStarts = 30;
// Of those, the best after a few steps of least squares, refined further.
constexpr size_t kKept = 4;

// A value kept softly within lo..hi: the fit never loses a parameter to a
// corner where it no longer changes anything.
double within(double x, double lo, double hi)
{
    const double mid = 0.5 * (lo + hi), half = 0.5 * (hi - lo);
    return mid + half * std::tanh((x - mid) / half);
}

LoopModel modelOf(const Vector &x, bool onMeasurement, double torqueLimit)
{
    LoopModel m;
    m.drive = std::exp(x[LogDrive]);
    const double p = std::exp(x[LogP]);
    m.pScale = p / m.drive;
    // The integral and the derivative as times against P: an integral time
    // up to a few minutes, a derivative time within 2 µs .. 400 ms.
    m.iScale = p * std::exp(within(x[LogI], -14, 0)) / m.drive;
    m.dScale = p * std::exp(within(x[LogD], -13, 6)) / m.drive;
    m.viscous = std::exp(within(x[LogViscous], -12, 2));
    m.coulomb = std::abs(x[Coulomb]) * torqueLimit;
    m.breakaway = std::abs(x[Breakaway]) * torqueLimit;
    m.load = x[Load] * torqueLimit;
    m.delayMs = std::min(std::abs(x[Delay]), kLongestDelayMs);
    m.lagMs = std::exp(within(x[LogLag], -5, 2.5));
    m.derivativeOnMeasurement = onMeasurement;
    return m;
}

double unwithin(double y, double lo, double hi)
{
    const double mid = 0.5 * (lo + hi), half = 0.5 * (hi - lo);
    return mid + half * std::atanh(std::clamp((y - mid) / half, -0.999999, 0.999999));
}

Vector vectorOf(const LoopModel &m, double torqueLimit)
{
    Vector x{};
    x[LogDrive] = std::log(m.drive);
    const double p = m.pScale * m.drive;
    x[LogP] = std::log(p);
    x[LogI] = unwithin(std::log(m.iScale * m.drive / p), -14, 0);
    x[LogD] = unwithin(std::log(m.dScale * m.drive / p), -13, 6);
    x[LogViscous] = unwithin(std::log(m.viscous), -12, 2);
    x[Coulomb] = m.coulomb / torqueLimit;
    x[Breakaway] = m.breakaway / torqueLimit;
    x[Load] = m.load / torqueLimit;
    x[Delay] = m.delayMs;
    x[LogLag] = unwithin(std::log(m.lagMs), -5, 2.5);
    return x;
}

// Residuals of every reading, each step weighed by its size.
struct Problem {
    const std::vector<FitRecord> &records;
    size_t size = 0;
    double measuredSquares = 0;
    double torqueLimit = 1;

    explicit Problem(const std::vector<FitRecord> &r) : records(r)
    {
        if (!records.empty())
            torqueLimit = std::max(1.0, records.front().setting.torqueLimit);
        for (const FitRecord &f : records) {
            size += f.measured.error.size();
            const double w = weight(f);
            for (double e : f.measured.error)
                measuredSquares += w * e * e;
        }
    }
    // Later readings weigh more, as they do in the ITAE the design goes by:
    // the last counts a shaft creeps in, held by friction, are what a
    // design misjudges most.
    static double late(double tMs) { return 1 + std::max(0.0, tMs) / kLateMs; }
    static double weight(const FitRecord &f)
    {
        const double s = std::max(1.0, std::abs(f.measured.stepCounts));
        return 1 / (s * s * std::max<size_t>(1, f.measured.error.size()));
    }
    std::vector<double> residuals(const LoopModel &m, double tickMs = kFineTickMs) const
    {
        std::vector<double> out;
        out.reserve(size);
        for (const FitRecord &f : records) {
            const std::vector<double> e =
                simulateError(m, f.setting, f.measured.stepCounts, f.measured.tMs, tickMs);
            const double w = std::sqrt(weight(f));
            for (size_t k = 0; k < f.measured.error.size(); ++k) {
                const double r =
                    w * std::sqrt(late(f.measured.tMs[k])) * (e[k] - f.measured.error[k]);
                out.push_back(std::isfinite(r) ? r : 1e6);
            }
        }
        return out;
    }
    double cost(const LoopModel &m, double tickMs = kFineTickMs) const
    {
        double sum = 0;
        for (double r : residuals(m, tickMs))
            sum += r * r;
        return sum;
    }
    // The fit error as the operator reads it: every reading alike.
    double errorPct(const LoopModel &m) const
    {
        double sum = 0;
        for (const FitRecord &f : records) {
            const std::vector<double> e =
                simulateError(m, f.setting, f.measured.stepCounts, f.measured.tMs);
            const double w = weight(f);
            for (size_t k = 0; k < f.measured.error.size(); ++k) {
                const double r = e[k] - f.measured.error[k];
                sum += w * (std::isfinite(r) ? r * r : 1e12);
            }
        }
        return measuredSquares > 0 ? 100 * std::sqrt(sum / measuredSquares) : 100;
    }
};

// Solves A·x = b for a small symmetric positive matrix; false when singular.
bool solve(std::array<std::array<double, ParamCount>, ParamCount> a, Vector b, Vector &x)
{
    for (int c = 0; c < ParamCount; ++c) {
        int pivot = c;
        for (int r = c + 1; r < ParamCount; ++r) {
            if (std::abs(a[r][c]) > std::abs(a[pivot][c]))
                pivot = r;
        }
        if (std::abs(a[pivot][c]) < 1e-300)
            return false;
        std::swap(a[c], a[pivot]);
        std::swap(b[c], b[pivot]);
        for (int r = c + 1; r < ParamCount; ++r) {
            const double f = a[r][c] / a[c][c];
            for (int k = c; k < ParamCount; ++k)
                a[r][k] -= f * a[c][k];
            b[r] -= f * b[c];
        }
    }
    for (int c = ParamCount; c-- > 0;) {
        double s = b[c];
        for (int k = c + 1; k < ParamCount; ++k)
            s -= a[c][k] * x[k];
        x[c] = s / a[c][c];
    }
    return true;
}

// Least squares by Levenberg-Marquardt with a numerical Jacobian.
// Which parameters a refinement moves.
using Mask = std::array<bool, ParamCount>;
constexpr Mask kAll{true, true, true, true, true, true, true, true, true, true};
// The loop's own dynamics, the shaft free of friction and load.
constexpr Mask kDynamics{true, true, true, true, true, false, false, false, true, true};

double refine(const Problem &p, Vector &x, bool onMeasurement, int iterations,
              const std::function<bool()> &cancelled, const Mask &free = kAll)
{
    std::vector<double> r = p.residuals(modelOf(x, onMeasurement, p.torqueLimit));
    auto squares = [](const std::vector<double> &v) {
        double s = 0;
        for (double e : v)
            s += e * e;
        return s;
    };
    double cost = squares(r);
    double lambda = 1e-2;
    static constexpr std::array<double, ParamCount> kSteps{0.02, 0.02, 0.02, 0.02, 0.02,
                                                           0,    0,    0,    0.05, 0.05};
    for (int it = 0; it < iterations; ++it) {
        if (cancelled && cancelled())
            break;
        std::vector<std::vector<double>> jac(ParamCount);
        for (int j = 0; j < ParamCount; ++j) {
            if (!free[j]) {
                jac[j].assign(r.size(), 0.0);
                continue;
            }
            Vector y = x;
            // Accelerations move by a share of the largest gain term's size.
            double h = kSteps[j];
            if (h == 0)
                h = 0.02 * std::abs(x[j]) + 0.002;
            y[j] += h;
            std::vector<double> ry = p.residuals(modelOf(y, onMeasurement, p.torqueLimit));
            for (size_t k = 0; k < ry.size(); ++k)
                ry[k] = (ry[k] - r[k]) / h;
            jac[j] = std::move(ry);
        }
        std::array<std::array<double, ParamCount>, ParamCount> jtj{};
        Vector jtr{};
        for (int a = 0; a < ParamCount; ++a) {
            for (int b = a; b < ParamCount; ++b) {
                double s = 0;
                for (size_t k = 0; k < r.size(); ++k)
                    s += jac[a][k] * jac[b][k];
                jtj[a][b] = jtj[b][a] = s;
            }
            double s = 0;
            for (size_t k = 0; k < r.size(); ++k)
                s += jac[a][k] * r[k];
            jtr[a] = -s;
        }
        bool improved = false;
        for (int tries = 0; tries < 8 && !improved; ++tries) {
            auto damped = jtj;
            for (int a = 0; a < ParamCount; ++a)
                damped[a][a] += free[a] ? lambda * (jtj[a][a] + 1e-12) : 1.0;
            Vector dx{};
            if (!solve(damped, jtr, dx)) {
                lambda *= 10;
                continue;
            }
            Vector y = x;
            for (int a = 0; a < ParamCount; ++a)
                y[a] += std::clamp(dx[a], -2.0, 2.0);
            std::vector<double> ry = p.residuals(modelOf(y, onMeasurement, p.torqueLimit));
            const double c = squares(ry);
            if (c < cost) {
                improved = cost - c > 1e-6 * cost;
                x = y;
                r = std::move(ry);
                cost = c;
                lambda = std::max(1e-7, lambda / 5);
                if (!improved)
                    return cost;
            } else {
                lambda *= 10;
            }
        }
        if (!improved)
            break;
    }
    return cost;
}

} // namespace

namespace {

// The fitted model's response to each record, at its times.
void predictEach(LoopFit &fit, const std::vector<FitRecord> &records)
{
    fit.predicted.clear();
    for (const FitRecord &f : records) {
        StepRecord r = f.measured;
        r.error = simulateError(fit.model, f.setting, f.measured.stepCounts, f.measured.tMs);
        fit.predicted.push_back(std::move(r));
    }
}

} // namespace

LoopFit refineLoop(const LoopModel &start, const std::vector<FitRecord> &records)
{
    const Problem p(records);
    Vector x = vectorOf(start, p.torqueLimit);
    refine(p, x, start.derivativeOnMeasurement, 60, {});
    LoopFit f;
    f.model = modelOf(x, start.derivativeOnMeasurement, p.torqueLimit);
    f.errorPct = p.errorPct(f.model);
    predictEach(f, records);
    return f;
}

double fitErrorPct(const LoopModel &model, const std::vector<FitRecord> &records)
{
    return Problem(records).errorPct(model);
}

namespace {

LoopFit fitFromScratch(const std::vector<FitRecord> &records,
                       const std::function<bool()> &cancelled)
{
    const Problem p(records);
    LoopFit best;
    if (records.empty())
        return best;

    // A coarse look first: how fast and how damped the loop is (the P and D
    // terms of the first record's gains give the natural frequency and the
    // damping of a plain second-order loop) and how hard the drive can push
    // against the speed at which the set point moves.
    const LoopSetting &s = records.front().setting;
    const double ramp = std::max(1e-6, s.rampCountsPerMs);
    struct Start {
        Vector x;
        double cost;
        bool onMeasurement;
    };
    std::vector<Start> starts;
    for (int wi = 0; wi < 12 && !(cancelled && cancelled()); ++wi) {
        const double wn = 0.003 * std::pow(2.0, wi * 0.75); // rad/ms
        for (int zi = 0; zi < 5; ++zi) {
            const double zeta = 0.2 * std::pow(2.0, zi * 0.8);
            for (int ai = 0; ai < 5; ++ai) {
                // Up to the set point's speed in 0.5 ms .. 128 ms.
                const double accel = ramp / (0.5 * std::pow(4.0, ai));
                for (bool onMeasurement : {false, true}) {
                    Vector x{};
                    const double kp = wn * wn / std::max(1.0, s.p);
                    x[LogP] = std::log(kp);
                    x[LogD] = std::log(2 * zeta * wn / std::max(1.0, s.d) / kp);
                    x[LogI] = std::log(std::pow(wn, 3) * 0.05 / std::max(1.0, s.i) / kp);
                    x[LogDrive] = std::log(accel / std::max(1.0, s.torqueLimit));
                    // Top speed twice the set point's.
                    x[LogViscous] = std::log(accel / (2 * ramp));
                    x[Delay] = 0.5;
                    x[LogLag] = std::log(0.3);
                    const double c =
                        p.cost(modelOf(x, onMeasurement, p.torqueLimit), kCoarseTickMs);
                    starts.push_back({x, c, onMeasurement});
                }
            }
        }
    }
    std::sort(starts.begin(), starts.end(),
              [](const Start &a, const Start &b) { return a.cost < b.cost; });

    // The most promising starts: the loop's own dynamics first, then
    // friction and load as well; the best of them to the end.
    std::vector<Start> refined;
    for (size_t k = 0; k < std::min<size_t>(kStarts, starts.size()); ++k) {
        Vector x = starts[k].x;
        const double c = refine(p, x, starts[k].onMeasurement, 6, cancelled, kDynamics);
        refined.push_back({x, c, starts[k].onMeasurement});
    }
    std::sort(refined.begin(), refined.end(),
              [](const Start &a, const Start &b) { return a.cost < b.cost; });
    refined.resize(std::min<size_t>(refined.size(), kKept));
    for (Start &r : refined) {
        refine(p, r.x, r.onMeasurement, 15, cancelled, kDynamics);
        r.cost = refine(p, r.x, r.onMeasurement, 10, cancelled);
    }
    std::sort(refined.begin(), refined.end(),
              [](const Start &a, const Start &b) { return a.cost < b.cost; });
    double bestCost = std::numeric_limits<double>::infinity();
    Vector bestX{};
    bool bestOnMeasurement = false;
    for (size_t k = 0; k < std::min<size_t>(2, refined.size()); ++k) {
        Vector x = refined[k].x;
        const double c = refine(p, x, refined[k].onMeasurement, 40, cancelled);
        if (c < bestCost) {
            bestCost = c;
            bestX = x;
            bestOnMeasurement = refined[k].onMeasurement;
        }
    }
    // Friction that a smooth start does not see, and the other way of
    // taking the derivative, from the best found.
    for (int variant = 0; variant < 2; ++variant) {
        Vector x = bestX;
        bool onMeasurement = bestOnMeasurement;
        if (variant == 0) {
            x[Coulomb] = 0.05;
            x[Breakaway] = 0.05;
        } else {
            onMeasurement = !onMeasurement;
        }
        const double c = refine(p, x, onMeasurement, 25, cancelled);
        if (c < bestCost) {
            bestCost = c;
            bestX = x;
            bestOnMeasurement = onMeasurement;
        }
    }
    best.model = modelOf(bestX, bestOnMeasurement, p.torqueLimit);
    best.errorPct = p.errorPct(best.model);
    predictEach(best, records);
    return best;
}

} // namespace

LoopFit fitLoop(const std::vector<FitRecord> &records, const std::function<bool()> &cancelled)
{
    LoopFit all = fitFromScratch(records, cancelled);
    // Records at other gains too: the loop as the first gains show it is
    // an easier start, and from there every record tells the gains' scales
    // apart. The better of the two stays.
    std::vector<FitRecord> first;
    for (const FitRecord &f : records) {
        const LoopSetting &a = f.setting, &b = records.front().setting;
        if (a.p == b.p && a.i == b.i && a.d == b.d && a.torqueLimit == b.torqueLimit)
            first.push_back(f);
    }
    if (first.size() == records.size() || first.empty() || (cancelled && cancelled()))
        return all;
    const LoopFit fromFirst = refineLoop(fitFromScratch(first, cancelled).model, records);
    return fromFirst.errorPct < all.errorPct ? fromFirst : all;
}

} // namespace kdx
