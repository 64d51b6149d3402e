#pragma once

#include <QMap>
#include <QString>

// The measurements behind the benchmark's figures. Each one runs in a
// process of its own, so that start-up is cold and the memory figures are
// the terminal's alone, and hands back named values.
namespace kdx::bench {

struct Settings {
    bool shortRun = false;     // a few seconds each, for CI
    double memoryMinutes = 3;  // polling span of the memory figure
    int pollWindows = 10;      // the poll rate's stretches of time...
    int pollWindowMs = 2000;   // ...and their length
    double silentSeconds = 10; // span of the silent-controller CPU figure
    int readAllRepeats = 5;    // read-alls timed (the median counts)
    int runSpeed = 300;        // speed of the PID run that moves the axis
};

// Settings for a full run or, with shortRun, for a brief one.
Settings settingsFor(bool shortRun, double memoryMinutes);

using Results = QMap<QString, double>;

// The measurement names, in the order the benchmark runs them.
QStringList measurementNames();

// Runs the named measurement in this process. False (with the reason) when
// it could not be run at all.
bool measure(const QString &name, const Settings &settings, Results &results, QString *error);

} // namespace kdx::bench
