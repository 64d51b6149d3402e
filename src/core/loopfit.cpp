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
    LogI,       // acceleration per (P3 × count·ms)
    LogD,       // acceleration per (P7 × count/ms)
    LogViscous, // 1/ms
    Coulomb,    // acceleration, as |x|
    Breakaway,  // acceleration, as |x|
    Load,       // acceleration
    Delay,      // ms, as |x|
    LogLag,     // ms
    ParamCount
};
using Vector = std::array<double, ParamCount>;

constexpr double kLongestDelayMs = 20;
// The model's time step for the fit, and a coarser one for the first look.
constexpr double kFineTickMs = 0.25;
constexpr double kCoarseTickMs = 0.5;
// Readings this much later weigh twice as much as the first.
constexpr double kLateMs = 1e9;
// Starts refined from the coarse look.
constexpr size_t kStarts = 8;

LoopModel modelOf(const Vector &x, bool onMeasurement)
{
    LoopModel m;
    m.drive = std::exp(x[LogDrive]);
    m.pScale = std::exp(x[LogP]) / m.drive;
    m.iScale = std::exp(x[LogI]) / m.drive;
    m.dScale = std::exp(x[LogD]) / m.drive;
    m.viscous = std::exp(x[LogViscous]);
    m.coulomb = std::abs(x[Coulomb]) / m.drive;
    m.breakaway = std::abs(x[Breakaway]) / m.drive;
    m.load = x[Load] / m.drive;
    m.delayMs = std::min(std::abs(x[Delay]), kLongestDelayMs);
    m.lagMs = std::exp(x[LogLag]);
    m.derivativeOnMeasurement = onMeasurement;
    return m;
}

// Residuals of every reading, each step weighed by its size.
struct Problem {
    const std::vector<FitRecord> &records;
    size_t size = 0;
    double measuredSquares = 0;

    explicit Problem(const std::vector<FitRecord> &r) : records(r)
    {
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
double refine(const Problem &p, Vector &x, bool onMeasurement, int iterations,
              const std::function<bool()> &cancelled)
{
    const double torqueLimit = std::max(1.0, p.records.front().setting.torqueLimit);
    std::vector<double> r = p.residuals(modelOf(x, onMeasurement));
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
            Vector y = x;
            // Accelerations move by a share of the largest gain term's size.
            double h = kSteps[j];
            if (h == 0)
                h = 0.02 * std::abs(x[j]) + 0.002 * std::exp(x[LogDrive]) * torqueLimit;
            y[j] += h;
            std::vector<double> ry = p.residuals(modelOf(y, onMeasurement));
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
                damped[a][a] += lambda * (jtj[a][a] + 1e-12);
            Vector dx{};
            if (!solve(damped, jtr, dx)) {
                lambda *= 10;
                continue;
            }
            Vector y = x;
            for (int a = 0; a < ParamCount; ++a)
                y[a] += std::clamp(dx[a], -2.0, 2.0);
            std::vector<double> ry = p.residuals(modelOf(y, onMeasurement));
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

double fitErrorPct(const LoopModel &model, const std::vector<FitRecord> &records)
{
    return Problem(records).errorPct(model);
}

LoopFit fitLoop(const std::vector<FitRecord> &records, const std::function<bool()> &cancelled)
{
    const Problem p(records);
    LoopFit best;
    if (records.empty())
        return best;

    // A coarse look first: how fast and how damped the loop is (the P and D
    // terms of the first record's gains give the natural frequency and the
    // damping of a plain second-order loop), and how hard the drive can
    // push against the speed at which the set point moves.
    const LoopSetting &s = records.front().setting;
    struct Start {
        Vector x;
        double cost;
        bool onMeasurement;
    };
    std::vector<Start> starts;
    const double ramp = std::max(1e-6, s.rampCountsPerMs);
    for (int wi = 0; wi < 12 && !(cancelled && cancelled()); ++wi) {
        const double wn = 0.003 * std::pow(2.0, wi * 0.75); // rad/ms
        for (int zi = 0; zi < 5; ++zi) {
            const double zeta = 0.2 * std::pow(2.0, zi * 0.8);
            for (int ai = 0; ai < 5; ++ai) {
                // Up to the set point's speed in 0.5 ms .. 128 ms.
                const double accel = ramp / (0.5 * std::pow(4.0, ai));
                for (bool onMeasurement : {false, true}) {
                    Vector x{};
                    x[LogP] = std::log(wn * wn / std::max(1.0, s.p));
                    x[LogD] = std::log(2 * zeta * wn / std::max(1.0, s.d));
                    x[LogI] = std::log(std::pow(wn, 3) * 0.05 / std::max(1.0, s.i));
                    x[LogDrive] = std::log(accel / std::max(1.0, s.torqueLimit));
                    // Top speed twice the set point's.
                    x[LogViscous] = std::log(accel / (2 * ramp));
                    x[Delay] = 0.5;
                    x[LogLag] = std::log(0.3);
                    const double c = p.cost(modelOf(x, onMeasurement), kCoarseTickMs);
                    starts.push_back({x, c, onMeasurement});
                }
            }
        }
    }
    std::sort(starts.begin(), starts.end(),
              [](const Start &a, const Start &b) { return a.cost < b.cost; });

    // The most promising starts refined a little, the best of them to the end.
    struct Refined {
        Vector x;
        double cost;
        bool onMeasurement;
    };
    std::vector<Refined> refined;
    const size_t tries = std::min<size_t>(kStarts, starts.size());
    for (size_t k = 0; k < tries; ++k) {
        Vector x = starts[k].x;
        const double c = refine(p, x, starts[k].onMeasurement, 12, cancelled);
        refined.push_back({x, c, starts[k].onMeasurement});
    }
    std::sort(refined.begin(), refined.end(),
              [](const Refined &a, const Refined &b) { return a.cost < b.cost; });
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
    // Friction that a smooth start does not see: from a breakaway of a tenth
    // of the torque limit, half of it taken while turning.
    {
        Vector x = bestX;
        const double full = std::exp(x[LogDrive]) * s.torqueLimit;
        x[Coulomb] = 0.05 * full;
        x[Breakaway] = 0.05 * full;
        const double c = refine(p, x, bestOnMeasurement, 25, cancelled);
        if (c < bestCost) {
            bestCost = c;
            bestX = x;
        }
    }
    // The other way of taking the derivative, from the best found.
    {
        Vector x = bestX;
        const double c = refine(p, x, !bestOnMeasurement, 25, cancelled);
        if (c < bestCost) {
            bestCost = c;
            bestX = x;
            bestOnMeasurement = !bestOnMeasurement;
        }
    }
    best.model = modelOf(bestX, bestOnMeasurement);
    best.errorPct = p.errorPct(best.model);
    for (const FitRecord &f : records) {
        StepRecord r = f.measured;
        r.error = simulateError(best.model, f.setting, f.measured.stepCounts, f.measured.tMs);
        best.predicted.push_back(std::move(r));
    }
    return best;
}

} // namespace kdx
