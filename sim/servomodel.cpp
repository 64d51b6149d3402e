#include "servomodel.h"

#include "splitmix.h"

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
constexpr double MinNoLoadSpeed = 1e-3; // counts per ms
// The coupling without a resonance of its own: stiff against the loop, yet
// slow enough for a few dozen sub-steps.
constexpr double StiffCouplingHz = 500;
constexpr double StiffCouplingDamping = 0.7;
constexpr double MaxResonanceHz = 1000;
constexpr double MaxLoadShare = 0.95;
// Sub-steps: the fastest motion turns at most this far (radians) in one.
constexpr double SubstepAngle = 0.15;
constexpr int MinSubsteps = 8;
constexpr int MaxSubsteps = 64;
constexpr double Pi = 3.14159265358979323846;

int sign(double v)
{
    return (v > 0) - (v < 0);
}

} // namespace

ServoModel::ServoModel(const Plant &plant) : m_plant(plant)
{
    m_plant.timeConstant = std::max(m_plant.timeConstant, MinTimeConstant);
    m_plant.delayMs = std::clamp(m_plant.delayMs, 0, Plant::MaxDelayMs);
    m_plant.encoderNoise = std::clamp(m_plant.encoderNoise, 0.0, 1.0);
    m_plant.integralLimit = std::max(m_plant.integralLimit, 0.0);
    m_decay = std::exp(-1.0 / m_plant.timeConstant);
    m_s.noise = m_plant.noiseSeed;
    if (m_plant.derivativeFilterMs > 0)
        m_filterGain = 1 - std::exp(-1.0 / m_plant.derivativeFilterMs);

    const double share = std::clamp(m_plant.loadShare, 0.0, MaxLoadShare);
    m_twoMass = share > 0 && (m_plant.resonanceHz > 0 || m_plant.backlashCounts > 0);
    const bool plain = !m_twoMass && m_plant.windingLagMs <= 0 && m_plant.loadDuty == 0;
    if (plain)
        return;

    // The first-order response in forces: inertia · v' = duty − viscous · v.
    const double viscous = FullDuty / std::max(m_plant.noLoadSpeed, MinNoLoadSpeed);
    const double inertia = m_plant.timeConstant * viscous;
    const double load = m_twoMass ? share : 0;
    auto body = [&](double part) {
        return Body{inertia * part, viscous * part, m_plant.friction * part,
                    m_plant.breakaway * part};
    };
    m_motor = body(1 - load);
    m_load = body(load);
    double fastest = 1 / m_plant.timeConstant; // rad per ms
    if (m_twoMass) {
        const bool springy = m_plant.resonanceHz > 0;
        const double hz = springy ? std::min(m_plant.resonanceHz, MaxResonanceHz) : StiffCouplingHz;
        const double zeta =
            springy ? std::max(m_plant.resonanceDamping, 0.0) : StiffCouplingDamping;
        const double omega = 2 * Pi * hz / 1000;
        // The two masses against each other swing at omega: the reduced mass.
        const double reduced = m_motor.inertia * m_load.inertia / inertia;
        m_stiffness = omega * omega * reduced;
        m_damping = 2 * zeta * omega * reduced;
        m_halfPlay = std::max(m_plant.backlashCounts, 0.0) / 2;
        fastest = std::max(fastest, omega);
    }
    m_substeps = std::clamp(int(std::ceil(fastest / SubstepAngle)), MinSubsteps, MaxSubsteps);
    m_stepDecay = std::exp(-1.0 / (m_substeps * m_plant.timeConstant));
    if (m_plant.windingLagMs > 0)
        m_lagDecay = std::exp(-1.0 / (m_substeps * m_plant.windingLagMs));
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
    if (m_substeps > 0)
        driveMasses(delayed(m_s.duty));
    else
        driveMotor(delayed(m_s.duty));
    readEncoder();
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
        const double bound = m_plant.integralLimit * FullDuty * IScale /
                             std::abs(p[IGain] * m_plant.gainScale * m_plant.iScale);
        m_s.integral = std::clamp(m_s.integral + e, -bound, bound);
    }
    const double v = double(m_s.measuredVelocity);
    // The derivative of the error, or of the measured position alone (the
    // set point's ramp left out): minus the counts moved in the last period.
    double de = m_plant.derivativeOnMeasurement ? -v : e - m_s.error;
    if (m_plant.derivativeFilterMs > 0) {
        m_s.derivative += (de - m_s.derivative) * m_filterGain;
        de = m_s.derivative;
    }
    m_s.error = e;
    return m_plant.gainScale *
           (m_plant.pScale * p[PGain] * e / PScale +
            m_plant.iScale * p[IGain] * m_s.integral / IScale +
            m_plant.dScale * p[DGain] * de / DScale - p[VelocityFeedback] * v / VelocityScale +
            p[EmfFeedback] * v / VelocityScale);
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
}

void ServoModel::Body::advance(double &x, double &v, double force, double dt, double decay,
                               bool exactTravel) const
{
    int direction = sign(v);
    if (direction == 0) {
        if (std::abs(force) <= breakaway)
            return; // held by static friction
        direction = sign(force);
    }
    const double vss = (force - friction * direction) / viscous;
    const double next = vss + (v - vss) * decay;
    if (sign(next) != direction) {
        // Friction stops it within this sub-step and holds it.
        x += v * dt / 2;
        v = 0;
        return;
    }
    x += exactTravel ? vss * dt + (v - vss) * inertia / viscous * (1 - decay) : next * dt;
    v = next;
}

void ServoModel::driveMasses(int duty)
{
    const double dt = 1.0 / m_substeps;
    for (int i = 0; i < m_substeps; ++i) {
        m_s.torque = m_plant.windingLagMs > 0 ? duty + (m_s.torque - duty) * m_lagDecay : duty;
        if (!m_twoMass) {
            m_motor.advance(m_s.position, m_s.velocity, m_s.torque - m_plant.loadDuty, dt,
                            m_stepDecay, true);
            continue;
        }
        // The coupling pulls only once the play is taken up.
        const double apart = m_s.position - m_s.loadPosition;
        const double stretch = apart > m_halfPlay    ? apart - m_halfPlay
                               : apart < -m_halfPlay ? apart + m_halfPlay
                                                     : 0;
        const double pull =
            stretch == 0 ? 0
                         : m_stiffness * stretch + m_damping * (m_s.velocity - m_s.loadVelocity);
        m_motor.advance(m_s.position, m_s.velocity, m_s.torque - pull, dt, m_stepDecay, false);
        m_load.advance(m_s.loadPosition, m_s.loadVelocity, pull - m_plant.loadDuty, dt, m_stepDecay,
                       false);
    }
}

// The encoder's count of the motor's position, with its noise.
void ServoModel::readEncoder()
{
    double reading = m_s.position;
    if (m_plant.encoderNoise > 0)
        reading += m_plant.encoderNoise * (2 * unitInterval(m_s.noise) - 1);
    const auto count = qint64(std::floor(reading));
    m_s.measuredVelocity = count - m_s.encoder;
    m_s.encoder = count;
}

} // namespace kdx::sim
