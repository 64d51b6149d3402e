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
// The velocity step is integrated exactly, so no gain setting can make the
// arithmetic itself unstable: whatever the loop does, the duty is clamped to
// the torque limit and the speed stays below the plant's no-load speed.
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
    double velocity() const { return m_s.velocity; } // counts per ms
    int duty() const { return m_s.duty; }            // as the loop computed it, before any delay
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
        int duty = 0;
        std::array<int, Plant::MaxDelayMs> pending{}; // duties on their way, oldest first
        bool operator==(const State &) const = default;
    };

    void moveTarget(const Parameters &p);
    double loopOutput(const Parameters &p);
    int delayed(int duty);
    void driveMotor(int duty);

    Plant m_plant;
    double m_decay; // velocity decay over one period, exp(-1 / time constant)
    State m_s;
};

} // namespace kdx::sim
