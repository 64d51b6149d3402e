#pragma once

#include "plant.h"

#include <QtGlobal>

#include <array>

namespace kdx::sim {

// Indices of the controller's eight parameters.
enum Param : int {
    VelocityLimit = 0,    // P0, 1/16 step per ms
    VelocityFeedback = 1, // P1
    PGain = 2,            // P2
    IGain = 3,            // P3
    TorqueLimit = 4,      // P4, PWM duty, 256 = 100 %
    EmfFeedback = 5,      // P5
    GearRatio = 6,        // P6, encoder counts per step x 1024
    DGain = 7,            // P7
    ParamCount = 8
};

using Parameters = std::array<int, ParamCount>;

// The axis: a DC motor with inertia, viscous and static friction and back-EMF
// (described by a Plant), an incremental encoder, and the position loop that
// drives it, advanced one 1 ms control period at a time. Lengths are encoder
// counts, times are milliseconds and the duty is in 1/256 of the supply
// voltage.
//
// On a plain axis (one rigid body, no winding lag, no constant load) the
// velocity step is integrated exactly, so no gain setting can make the
// arithmetic itself unstable: whatever the loop does, the duty is clamped to
// the torque limit and the speed stays below the plant's no-load speed. An
// axis with any of those is integrated in sub-steps short enough for its
// fastest part (the coupling's resonance, the time constant), with the
// energy-keeping (symplectic) Euler rule, so that an undamped swing neither
// grows nor dies away by the arithmetic; the loop still runs once a period.
class ServoModel {
public:
    enum class Mode { Voltage = 1, PidRun = 2, Step = 3 };

    static constexpr int FullDuty = 256;
    static constexpr int MaxSpeedCommand = 600;

    explicit ServoModel(const Plant &plant = Plant());

    const Plant &plant() const { return m_plant; }

    // One control period: moves the target, runs the loop, sets the duty and
    // advances the motor. Returns false when nothing changed, which means that
    // every later period with the same parameters changes nothing either.
    bool tick(const Parameters &p);

    // Switching mode keeps the axis where it is: the target restarts from the
    // present target (or the present position, after a voltage run).
    void setMode(Mode mode);
    // The run speed in 1/16 step per ms; used by the PID and voltage runs.
    void setSpeed(int speed);
    // Step mode: moves the goal by the given number of steps.
    void moveSteps(int steps, const Parameters &p);

    Mode mode() const { return m_s.mode; }
    int speed() const { return m_s.speed; }
    qint64 encoder() const { return m_s.encoder; }
    double velocity() const { return m_s.velocity; } // of the motor, counts per ms
    double position() const { return m_s.position; } // of the motor, counts (not rounded)
    // Where the load is: the motor's position when motor and load are one body.
    double loadPosition() const { return m_twoMass ? m_s.loadPosition : m_s.position; }
    // The duty that drives the motor now: after the delay and the winding's lag.
    double torque() const { return m_s.torque; }
    int duty() const { return m_s.duty; } // as the loop computed it, before any delay
    double target() const { return m_s.target; }
    double goal() const { return m_s.goal; }
    // Target minus actual position in counts as the loop saw it in the last
    // period, clamped to 16 bits.
    int positionError() const;

private:
    struct State {
        Mode mode = Mode::Step;
        int speed = 0;
        double goal = 0;   // where a step move ends, counts
        double target = 0; // the loop's set point, counts
        double position = 0;
        double velocity = 0;
        qint64 encoder = 0;
        qint64 measuredVelocity = 0; // encoder counts in the last period
        double integral = 0;
        double error = 0;
        double derivative = 0; // the filtered derivative, when filtered
        int duty = 0;
        double torque = 0; // the lagged duty, in the sub-stepped integration
        double loadPosition = 0;
        double loadVelocity = 0;
        quint64 noise = 0;                            // the encoder noise's random sequence
        std::array<int, Plant::MaxDelayMs> pending{}; // duties on their way, oldest first
        bool operator==(const State &) const = default;
    };

    void moveTarget(const Parameters &p);
    double loopOutput(const Parameters &p);
    int delayed(int duty);
    void driveMotor(int duty);
    void driveMasses(int duty);
    void readEncoder();

    // One body of the sub-stepped integration: duties, counts and ms.
    struct Body {
        double inertia = 0;  // duty per (count/ms²)
        double viscous = 0;  // duty per (count/ms)
        double friction = 0; // duty, while turning
        double breakaway = 0;
        // Over one sub-step under a force (duty) besides its own friction,
        // decay being exp(−dt / time constant): the velocity exactly; the
        // travel exactly too, or (for bodies on a spring) as the new
        // velocity times dt, which keeps a swing's energy.
        void advance(double &x, double &v, double force, double dt, double decay,
                     bool exactTravel) const;
    };

    Plant m_plant;
    double m_decay;     // velocity decay over one period, exp(-1 / time constant)
    int m_substeps = 0; // 0: integrated exactly, once a period
    bool m_twoMass = false;
    Body m_motor, m_load;
    double m_stiffness = 0, m_damping = 0, m_halfPlay = 0; // of the coupling
    double m_lagDecay = 0;                                 // of the torque over one sub-step
    double m_stepDecay = 0;                                // of the velocity over one sub-step
    double m_filterGain = 1; // of the derivative filter over one period
    State m_s;
};

} // namespace kdx::sim
