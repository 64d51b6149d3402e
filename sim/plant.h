#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace kdx::sim {

// The axis a ServoModel drives: motor, load and drive, as the controller sees
// them, and how the controller's loop acts on it. Lengths are encoder counts,
// times milliseconds, duties 1/256 of the supply voltage.
//
// The motor's inertia, viscous friction and back-EMF together give a
// first-order velocity response to the duty: time constant timeConstant, speed
// noLoadSpeed at full duty. Coulomb friction takes `friction` of the duty
// while the shaft turns; a shaft at rest starts only when the duty exceeds
// `breakaway` (static friction). The motor answers a duty `delayMs` control
// periods after the loop computed it (drive and transport delay). gainScale
// is how strongly the loop's terms act on this drive: every gain works as if
// multiplied by it.
//
// The fields after those describe what the named axes do not have; their
// defaults leave each out, and an axis with all of them at their defaults is
// computed exactly as before they existed (see ServoModel).
struct Plant {
    double noLoadSpeed = 100.0; // counts per ms at full duty
    double timeConstant = 20.0; // ms
    int friction = 5;           // duty lost to Coulomb friction while turning
    int breakaway = 5;          // duty needed to start from rest
    int delayMs = 0;            // 0 .. MaxDelayMs
    double gainScale = 1.0;

    // The drive: the torque follows the duty with a first-order lag of this
    // time constant (the winding's inductance; 0: at once).
    double windingLagMs = 0;
    // A constant load (gravity) in duty: positive pulls towards lower counts.
    // It acts on the load when the axis has one, else on the motor.
    double loadDuty = 0;

    // A load on the far side of a coupling: its share of the whole inertia,
    // friction and viscous friction (0: motor and load are one rigid body).
    // The coupling is a spring with the given resonance of the two masses
    // against each other and its damping ratio, or stiff (resonanceHz 0);
    // with backlash it has that much play (counts, in all). Only with a
    // load share above 0 do the resonance and the backlash take effect. The
    // encoder is on the motor.
    double loadShare = 0;
    double resonanceHz = 0;
    double resonanceDamping = 0.05;
    double backlashCounts = 0;

    // Encoder noise: each reading is floor(position + n), n uniform in
    // ±encoderNoise counts (0..1, so a reading is at most one count off),
    // drawn from a sequence that starts at noiseSeed.
    double encoderNoise = 0;
    quint64 noiseSeed = 0;

    // The controller's loop: how strongly each of P2, P3 and P7 acts (on top
    // of gainScale), whether the derivative is taken of the error or of the
    // measured position (which leaves out the set point's ramp), a
    // first-order filter on the derivative (ms, 0: none), and the largest
    // I term as a share of full duty (anti-windup bound).
    double pScale = 1.0;
    double iScale = 1.0;
    double dScale = 1.0;
    bool derivativeOnMeasurement = false;
    double derivativeFilterMs = 0;
    double integralLimit = 1.0;

    static constexpr int MaxDelayMs = 64;

    bool operator==(const Plant &) const = default;
};

// The range a gain scale may be chosen from.
constexpr double MinGainScale = 0.001;
constexpr double MaxGainScale = 1000;

// The named axes: "light", "nominal" (the default, Plant{}), "heavy",
// "sticky" and "laggy"; sim/README.md describes each and the gains that suit
// it.
QStringList plantNames();
std::optional<Plant> namedPlant(const QString &name);

// The family of random axes: randomPlant(seed) draws one from the
// distribution sim/README.md documents ("The family"), the same axis for the
// same seed on every machine. A change to the distribution changes
// FamilyVersion.
constexpr int FamilyVersion = 1;
Plant randomPlant(quint64 seed);

// An axis by the name the command lines take: a named axis, or
// "random:SEED" (SEED a whole number 0 .. 2^64 - 1) for one of the family.
std::optional<Plant> plantFor(const QString &name);
// How the command lines' help names the axes.
QString plantChoices();

// One line about an axis, every quantity that differs from the nominal one.
QString describePlant(const Plant &plant);

// Gains that suit a named axis (the other parameters at their defaults): a
// step of a few hundred to a few thousand counts peaks at the end of the
// move and settles inside its band without ringing. For tests and
// comparisons; the terminal itself never knows which axis it drives.
struct SuggestedGains {
    int p; // P2
    int i; // P3
    int d; // P7
};
std::optional<SuggestedGains> suggestedGains(const QString &name);

} // namespace kdx::sim
