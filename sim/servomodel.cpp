#include "servomodel.h"

#include <algorithm>
#include <cmath>

namespace kdx::sim {

namespace {

// Larger errors than this saturate the loop long before; keeping them finite
// keeps the products finite whatever the gains.
constexpr double ErrorClamp = 1e9;
// Fixed-point scales of the loop terms, as the controller computes them.
constexpr double PScale = 128;
constexpr double IScale = 512;
constexpr double DScale = 3;
constexpr double VelocityScale = 64;
constexpr double SpeedScale = 16; // speeds and velocity limit in 1/16 step per ms
constexpr double GearScale = 1024;
constexpr double MinTimeConstant = 0.1; // ms; a motor without any inertia would not be one

int sign(double v)
{
    return (v > 0) - (v < 0);
}

} // namespace

ServoModel::ServoModel(const Plant &plant) : m_plant(plant)
{
    m_plant.timeConstant = std::max(m_plant.timeConstant, MinTimeConstant);
    m_plant.delayMs = std::clamp(m_plant.delayMs, 0, Plant::MaxDelayMs);
    m_decay = std::exp(-1.0 / m_plant.timeConstant);
}

int ServoModel::positionError() const
{
    return int(std::clamp(m_s.error, -32768.0, 32767.0));
}

void ServoModel::setMode(Mode mode)
{
    if (mode == m_s.mode)
        return;
    if (m_s.mode == Mode::Voltage)
        m_s.target = double(m_s.encoder);
    m_s.goal = m_s.target;
    m_s.mode = mode;
    m_s.integral = 0;
    m_s.error = std::round(m_s.target) - double(m_s.encoder);
}

void ServoModel::setSpeed(int speed)
{
    m_s.speed = std::clamp(speed, -MaxSpeedCommand, MaxSpeedCommand);
}

void ServoModel::moveSteps(int steps, const Parameters &p)
{
    m_s.goal += steps * (p[GearRatio] / GearScale);
}

bool ServoModel::tick(const Parameters &p)
{
    const State before = m_s;
    moveTarget(p);
    const int limit = std::clamp(p[TorqueLimit], 0, FullDuty);
    const double u = std::clamp(loopOutput(p), double(-limit), double(limit));
    m_s.duty = int(std::lround(u));
    driveMotor(delayed(m_s.duty));
    return !(m_s == before);
}

void ServoModel::moveTarget(const Parameters &p)
{
    const double gear = p[GearRatio] / GearScale;
    const double limit = std::max(p[VelocityLimit], 0) / SpeedScale;
    switch (m_s.mode) {
    case Mode::Step: {
        const double stride = limit * std::abs(gear);
        const double remaining = m_s.goal - m_s.target;
        if (std::abs(remaining) <= stride)
            m_s.target = m_s.goal;
        else
            m_s.target += std::copysign(stride, remaining);
        break;
    }
    case Mode::PidRun:
        m_s.target += std::clamp(m_s.speed / SpeedScale, -limit, limit) * gear;
        m_s.goal = m_s.target;
        break;
    case Mode::Voltage:
        m_s.target = m_s.goal = double(m_s.encoder);
        break;
    }
}

double ServoModel::loopOutput(const Parameters &p)
{
    if (m_s.mode == Mode::Voltage) {
        m_s.integral = 0;
        m_s.error = 0;
        return m_s.speed * double(FullDuty) / MaxSpeedCommand;
    }
    const double e =
        std::clamp(std::round(m_s.target) - double(m_s.encoder), -ErrorClamp, ErrorClamp);
    // Anti-windup: the integral stands still while the duty is at its limit,
    // and its term alone never exceeds full duty. Without an I gain it is not
    // kept at all.
    if (p[IGain] == 0) {
        m_s.integral = 0;
    } else if (std::abs(m_s.duty) < std::clamp(p[TorqueLimit], 0, FullDuty)) {
        const double bound = FullDuty * IScale / std::abs(p[IGain] * m_plant.gainScale);
        m_s.integral = std::clamp(m_s.integral + e, -bound, bound);
    }
    const double de = e - m_s.error;
    m_s.error = e;
    const double v = double(m_s.measuredVelocity);
    return m_plant.gainScale *
           (p[PGain] * e / PScale + p[IGain] * m_s.integral / IScale + p[DGain] * de / DScale -
            p[VelocityFeedback] * v / VelocityScale + p[EmfFeedback] * v / VelocityScale);
}

// The duty that reaches the motor now: the one computed delayMs periods ago.
int ServoModel::delayed(int duty)
{
    if (m_plant.delayMs == 0)
        return duty;
    // Shifted rather than rotated, so that an axis at rest with the same duty
    // on its way is a state that repeats itself.
    const auto last = m_s.pending.begin() + m_plant.delayMs - 1;
    const int due = m_s.pending.front();
    std::move(m_s.pending.begin() + 1, last + 1, m_s.pending.begin());
    *last = duty;
    return due;
}

void ServoModel::driveMotor(int duty)
{
    const double tau = m_plant.timeConstant;
    const double decay = m_decay;
    const double speedPerDuty = m_plant.noLoadSpeed / FullDuty;

    const double v = m_s.velocity;
    int direction = sign(v);
    if (direction == 0 && std::abs(duty) > m_plant.breakaway)
        direction = sign(duty);
    if (direction != 0) {
        // Exact solution over one period of v' = (vss - v) / T.
        const double vss = speedPerDuty * (duty - m_plant.friction * direction);
        double next = vss + (v - vss) * decay;
        double travel = vss + (v - vss) * tau * (1 - decay);
        if (sign(next) != direction) {
            // Friction stops the shaft within this period and holds it.
            travel = v / 2;
            next = 0;
        }
        m_s.position += travel;
        m_s.velocity = next;
    }
    const auto count = qint64(std::floor(m_s.position));
    m_s.measuredVelocity = count - m_s.encoder;
    m_s.encoder = count;
}

} // namespace kdx::sim
