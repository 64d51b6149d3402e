#pragma once

#include "core/autotuner.h"

#include <QList>
#include <QString>

namespace kdx::bench {

struct FamilyBenchSettings {
    int axes = 40;        // seeds 1..axes, unless seeds are given
    QList<quint64> seeds; // these seeds only
    QList<TuningAim> aims{TuningAim::NoOvershoot, TuningAim::Balanced};
    double timeScale = 4;   // simulated time runs this many times as fast as real time
    int repeats = 5;        // runs of each repeated axis whose P2 must agree
    int repeatAxes = 5;     // the first sound axes (aim balanced) run that many times
    bool verbose = false;   // the axis, the reference and the tuner's message on standard error
    QString referenceCache; // file the references are kept in between runs
};

// kdxbench --tune-family: the auto-tuner through the terminal's own link on
// random axes of the simulator's family (kdxsim --plant random:SEED), each
// result judged offline on the same axis against the best gains a search
// finds there (tools/family). One line per axis and aim, a line per
// repeated axis, per-aim figures and a summary line; 0 when every target is
// met, 1 when one is missed, 2 when something did not run.
int runFamilyBench(const FamilyBenchSettings &settings);

// The aim's name on the bench's lines and command line: "no-overshoot",
// "balanced", "fast"; and back (false when the name is none of those).
QString aimName(TuningAim aim);
bool aimFromName(const QString &name, TuningAim *aim);

} // namespace kdx::bench
