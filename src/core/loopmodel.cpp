#include "core/loopmodel.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kdx {

namespace {

constexpr double kLongestDelayMs = 40;
constexpr int kDelaySlots = 1024; // enough for kLongestDelayMs at the finest tick
constexpr double kShortestLagMs = 0.01;
constexpr double kLeastViscous = 1e-7;
// Duty of friction a stronger-friction variant adds per unit of its factor
// above one (full duty is 256).
constexpr double kUnseenFriction = 16;

double sign(double v)
{
    return (v > 0) - (v < 0);
}

// The controller, the drive and the shaft, advanced one tick at a time.
class Loop {
public:
    Loop(const LoopModel &m, const LoopSetting &s, double stepCounts, double tickMs)
        : m(m), h(tickMs), goal(stepCounts), ramp(std::max(s.rampCountsPerMs, 1e-9)),
          kp(m.pScale * s.p), ki(m.iScale * s.i), kd(m.dScale * s.d),
          limit(std::max(0.0, s.torqueLimit)),
          lagDecay(std::exp(-h / std::max(m.lagMs, kShortestLagMs))),
          delaySlots(std::clamp(std::max(0.0, m.delayMs) / h, 0.0, double(kDelaySlots - 2))),
          viscousDecay(std::exp(-m.viscous * h)),
          viscousTravel(m.viscous > kLeastViscous ? (1 - viscousDecay) / m.viscous : h)
    {
        // At rest in balance: the integral holds the load, or the error does.
        if (ki > 0)
            integral = m.load / ki;
        else if (kp > 0)
            x = -m.load / kp;
        offset = target(0) - x;
        held = m.load;
        drive = held;
        history.fill(held);
    }

    double target(double t) const
    {
        return sign(goal) * std::min(std::abs(goal), ramp * std::max(0.0, t));
    }
    // The error as recorded: zeroed at the step.
    double error(double t, double position) const { return target(t) - position - offset; }

    void tick(double t)
    {
        const double e = target(t) - x;
        // The derivative as the shaft's speed: of the measurement, or of the
        // error, which has the set point's own speed in it as well.
        const double setPointSpeed =
            std::abs(ramp * t) < std::abs(goal) ? sign(goal) * ramp : 0.0;
        const double derivative = m.derivativeOnMeasurement ? -v : setPointSpeed - v;
        const double raw = kp * e + ki * integral + kd * derivative;
        const double u = std::clamp(raw, -limit, limit);
        // The integral stands still while the output is at its limit and
        // the error would push it further.
        if (u == raw || sign(e) != sign(raw))
            integral += e * h;

        history[size_t(head)] = u;
        head = (head + 1) % kDelaySlots;
        drive += (delayed() - drive) * (1 - lagDecay);
        move(drive - m.load);
    }

    double x = 0;

private:
    // The output delaySlots ticks ago, between slots.
    double delayed() const
    {
        const int whole = int(delaySlots);
        const double part = delaySlots - whole;
        const auto at = [this](int back) {
            return history[size_t((head - 1 - back + 2 * kDelaySlots) % kDelaySlots)];
        };
        return at(whole) * (1 - part) + at(whole + 1) * part;
    }

    void move(double net)
    {
        double dir = sign(v);
        if (dir == 0) {
            if (std::abs(net) <= m.coulomb + m.breakaway)
                return; // held by static friction
            dir = sign(net);
        }
        const double pushing = m.drive * (net - m.coulomb * dir);
        double next, travel;
        if (m.viscous > kLeastViscous) {
            const double steady = pushing / m.viscous;
            next = steady + (v - steady) * viscousDecay;
            travel = steady * h + (v - steady) * viscousTravel;
        } else {
            next = v + pushing * h;
            travel = v * h + 0.5 * pushing * h * h;
        }
        if (sign(next) != dir) {
            // Friction stops the shaft within this tick.
            const double stopAt = v != next ? h * v / (v - next) : h;
            travel = 0.5 * v * std::clamp(stopAt, 0.0, h);
            next = 0;
        }
        x += travel;
        v = next;
    }

    const LoopModel &m;
    const double h;
    const double goal;
    const double ramp;
    const double kp, ki, kd;
    const double limit;
    const double lagDecay;
    const double delaySlots;
    const double viscousDecay;
    const double viscousTravel;
    double v = 0;
    double integral = 0;
    double offset = 0;
    double held = 0;
    double drive = 0;
    std::array<double, kDelaySlots> history{};
    int head = 0;
};

} // namespace

LoopModel LoopModel::perturbed(double gain, double delay, double friction) const
{
    LoopModel m = *this;
    m.drive *= gain;
    m.delayMs *= delay;
    m.coulomb *= friction;
    m.breakaway *= friction;
    if (friction > 1) {
        // Friction the steps may not have shown: at least a few per cent
        // of full duty.
        m.coulomb += (friction - 1) * kUnseenFriction;
        m.breakaway += (friction - 1) * kUnseenFriction;
    }
    // The drive pushes harder; friction and load in duty stay what they are.
    return m;
}

std::vector<double> simulateError(const LoopModel &model, const LoopSetting &setting,
                                  double stepCounts, const std::vector<double> &tMs,
                                  double tickMs)
{
    std::vector<double> out;
    out.reserve(tMs.size());
    const double h = std::clamp(tickMs, 0.01, 1.0);
    Loop loop(model, setting, stepCounts, h);
    double t = 0;
    double before = loop.error(0, loop.x);
    size_t k = 0;
    for (; k < tMs.size() && tMs[k] <= 0; ++k)
        out.push_back(0);
    while (k < tMs.size()) {
        loop.tick(t);
        const double after = loop.error(t + h, loop.x);
        while (k < tMs.size() && tMs[k] <= t + h) {
            const double part = (tMs[k] - t) / h;
            out.push_back(before + (after - before) * part);
            ++k;
        }
        before = after;
        t += h;
        if (!std::isfinite(after)) {
            out.resize(tMs.size(), after);
            break;
        }
    }
    return out;
}

StepRecord predictStep(const LoopModel &model, const LoopSetting &setting, double stepCounts,
                       double windowMs, double sampleMs)
{
    StepRecord r;
    r.stepCounts = stepCounts;
    r.windowMs = windowMs;
    r.moveEndMs = std::abs(stepCounts) / std::max(setting.rampCountsPerMs, 1e-9);
    const double dt = std::max(sampleMs, 0.1);
    for (double t = dt; t <= windowMs + 1e-9; t += dt)
        r.tMs.push_back(t);
    r.error = simulateError(model, setting, stepCounts, r.tMs);
    return r;
}

} // namespace kdx
