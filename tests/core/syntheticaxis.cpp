#include "syntheticaxis.h"

#include <algorithm>
#include <cmath>

using kdx::StepRecord;

namespace {
constexpr double kReadingMs = 4;
}

SyntheticAxis::SyntheticAxis()
{
    params = {1000, 50, 200, 10, 200, 100, 1024, 30};
}

void SyntheticAxis::failIfDead()
{
    if (m_dead)
        throw kdx::AxisFailure(QStringLiteral("nincs válasz"));
}

kdx::ParamNumbers SyntheticAxis::readBack()
{
    failIfDead();
    journal << QStringLiteral("B");
    clockMs += 10;
    return misreads.isEmpty() ? params : misreads.takeFirst();
}

void SyntheticAxis::testWrite(int n, int value)
{
    failIfDead();
    journal << QStringLiteral("W%1=%2").arg(n).arg(value);
    clockMs += 10;
    params[n] = value;
}

void SyntheticAxis::stopAndReset()
{
    failIfDead();
    journal << QStringLiteral("X");
    if (m_faulted)
        ++stopsAfterFault;
}

StepRecord SyntheticAxis::rest(double windowMs)
{
    failIfDead();
    journal << QStringLiteral("R");
    StepRecord r;
    r.windowMs = windowMs;
    for (double t = kReadingMs; t <= windowMs; t += kReadingMs) {
        r.tMs.push_back(t);
        r.error.push_back(0);
    }
    clockMs += windowMs;
    return r;
}

StepRecord SyntheticAxis::simulate(int steps, double windowMs)
{
    // Double integrator with a lag; the goal ramps at the velocity limit; the
    // integral stands still while the output is at its limit.
    StepRecord r;
    r.stepCounts = steps * params[6] / 1024.0;
    r.windowMs = windowMs;
    const double dir = steps > 0 ? 1 : -1;
    const double goal = r.stepCounts;
    const double kp = 0.01 * params[2] * gainUnit, ki = 0.0002 * params[3] * gainUnit,
                 kd = 0.3 * params[7] * gainUnit;
    const double limit = params[4];
    const double ramp = params[0] / 16.0 * params[6] / 1024.0;
    double target = 0, x = 0, v = 0, sum = 0, lastE = 0;
    double nextReading = kReadingMs;
    for (double t = 1; t <= windowMs; t += 1) {
        target = dir > 0 ? std::min(goal, target + ramp) : std::max(goal, target - ramp);
        const double e = target - x;
        const double raw = kp * e + ki * (sum + e) + kd * (e - lastE);
        lastE = e;
        const double u = std::clamp(raw, -limit, limit);
        // The integral stands still while the output is at its limit.
        if (u == raw)
            sum += e;
        v += (0.4 * u - v) / lagMs;
        x += v;
        if (t >= nextReading) {
            r.tMs.push_back(t);
            r.error.push_back(std::round(target - x));
            nextReading += kReadingMs;
        }
    }
    return r;
}

StepRecord SyntheticAxis::step(int steps, double windowMs, double limitCounts)
{
    failIfDead();
    journal << QStringLiteral("S%1%2").arg(steps > 0 ? "+" : "").arg(steps);
    const int index = stepsTaken++;
    StepRecord r = simulate(steps, windowMs);
    clockMs += windowMs;
    if (bumpCounts > 0) {
        // The shaft passes the goal by the bump shortly after the move,
        // whatever the loop does.
        const double dir = steps > 0 ? 1 : -1;
        const double moveEnd = std::abs(r.stepCounts) / (params[0] / 16.0 * params[6] / 1024.0);
        for (size_t i = 0; i < r.error.size(); ++i) {
            const double after = r.tMs[i] - moveEnd - 15;
            const double passed = bumpCounts * std::exp(-after * after / 200);
            r.error[i] = dir * std::min(dir * r.error[i], std::round(-passed));
        }
    }
    if (swingAboveP > 0 && params[2] > swingAboveP && index >= swingFromStep &&
        (swingBelowSteps == 0 || std::abs(steps) < swingBelowSteps)) {
        for (size_t i = 0; i < r.error.size(); ++i)
            r.error[i] = std::round((steps > 0 ? 40.0 : -40.0) * std::sin(r.tMs[i] / 15.0));
        return r;
    }
    const bool swinging = fault == Fault::Rings || fault == Fault::Grows;
    if (index != faultAtStep &&
        !(swinging && index > faultAtStep && index < faultAtStep + faultSteps))
        return r;

    m_faulted = true;
    const double dir = steps > 0 ? 1 : -1;
    switch (fault) {
    case Fault::None:
    case Fault::DeadAfterFault:
        break;
    case Fault::OverLimit: {
        // Runs away: the step stops the moment the limit is passed.
        for (size_t i = 0; i < r.error.size(); ++i) {
            r.error[i] = dir * 40.0 * double(i);
            if (std::fabs(r.error[i]) > limitCounts) {
                r.tMs.resize(i + 1);
                r.error.resize(i + 1);
                r.complete = false;
                break;
            }
        }
        break;
    }
    case Fault::Rings:
    case Fault::Grows:
        for (size_t i = 0; i < r.error.size(); ++i) {
            const double t = r.tMs[i];
            const double envelope =
                fault == Fault::Rings ? 40.0 : 20.0 * std::exp(t / (windowMs / 3));
            r.error[i] = std::round(dir * envelope * std::sin(t / 15.0));
        }
        break;
    case Fault::NoReply:
        m_dead = deadAfterFault;
        throw kdx::AxisFailure(QStringLiteral("nincs válasz"));
    case Fault::Cancel:
        m_cancelled = true;
        r.complete = false;
        r.tMs.resize(r.tMs.size() / 2);
        r.error.resize(r.tMs.size());
        break;
    case Fault::Budget:
        clockMs += 1e9;
        break;
    }
    return r;
}
