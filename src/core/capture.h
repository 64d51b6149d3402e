#pragma once

#include "core/steprecord.h"

#include <QDateTime>
#include <QString>

#include <array>

namespace kdx {

// One step response kept by the workbench, with what is needed to tell it
// from the others and to repeat it: the gains in force, the port and when it
// was taken.
struct Capture {
    QString label;               // legend text, e.g. "P2=200 P3=10 P7=30 +400"
    QDateTime takenAt;           // local time the step went out
    QString port;                // port name as the window shows it
    QString axis;                // the axis as the operator named it ("3. gép, X tengely")
    std::array<int, 8> params{}; // P0..P7 in force, read back from the controller
    bool paramsKnown = false;
    int steps = 0; // the step command, signed (steps, not counts)
    StepRecord record;
};

} // namespace kdx
