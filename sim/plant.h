#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kdx::sim {

// The axis a ServoModel drives: motor, load and drive, as the controller sees
// them. Lengths are encoder counts, times milliseconds, duties 1/256 of the
// supply voltage.
//
// The motor's inertia, viscous friction and back-EMF together give a
// first-order velocity response to the duty: time constant timeConstant, speed
// noLoadSpeed at full duty. Coulomb friction takes `friction` of the duty
// while the shaft turns; a shaft at rest starts only when the duty exceeds
// `breakaway` (static friction). The motor answers a duty `delayMs` control
// periods after the loop computed it (drive and transport delay). gainScale
// is how strongly the loop's terms act on this drive: every gain works as if
// multiplied by it.
struct Plant {
    double noLoadSpeed = 100.0; // counts per ms at full duty
    double timeConstant = 20.0; // ms
    int friction = 5;           // duty lost to Coulomb friction while turning
    int breakaway = 5;          // duty needed to start from rest
    int delayMs = 0;            // 0 .. MaxDelayMs
    double gainScale = 1.0;

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
