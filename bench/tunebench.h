#pragma once

#include <QStringList>

namespace kdx::bench {

struct TuneBenchSettings {
    double timeScale = 4; // simulated time runs this many times as fast as real time
    QStringList only;     // run only these cases ("nominal/defaults", ...); empty: all
    int repeats = 3;      // runs of nominal/defaults whose P2 must agree
    bool verbose = false; // every candidate on standard error
};

// kdxbench --tune: the auto-tuner through the terminal's own link on every
// simulator preset from three starts, and on the nominal one with gains
// acting ten times weaker and stronger. One line per case; 0 when every case
// met its targets, 1 when one missed, 2 when something did not run.
int runTuneBench(const TuneBenchSettings &settings);

} // namespace kdx::bench
