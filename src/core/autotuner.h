#pragma once

#include "core/responsemeasure.h"
#include "core/tuningaxis.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace kdx {

enum class TuningAim { NoOvershoot, Balanced, Fast };

// How far the shaft may pass the goal for an aim, % of the step.
double aimOvershootPct(TuningAim aim);

struct TuningOptions {
    int stepSteps = 1000;           // step size in steps; at most this
    double errorLimitCounts = 3000; // larger |error| stops the tuning
    int torqueCap = 0;              // P4 during tuning at most this (0: as it is)
    TuningAim aim = TuningAim::Balanced;
    double budgetMs = 180000; // time for the whole tuning
    int maxSteps = 200;       // steps of axis movement for the whole tuning
    bool tuneP = true, tuneI = true, tuneD = true, tuneVelocity = false;
    int pairs = 2;          // ± pairs for the baseline and the verification
    double windowMs = 1000; // longest record of one step (shortened to fit the axis)
    // P0..P7 as the window shows them from its last read, when known: the
    // snapshot must agree with them.
    std::optional<ParamNumbers> shown;
    // Values a test write accepts, per parameter (the terminal fills them in).
    ParamRanges testRanges{{{1, 32767},
                            {1, 32767},
                            {1, 32767},
                            {1, 32767},
                            {1, 32767},
                            {1, 32767},
                            {1, 32767},
                            {1, 32767}}};
};

// The figures of a set of gains: each figure the median over the steps taken.
struct GainFigures {
    double itae = 0;
    double overshootPct = 0;
    double settlingMs = 0;
    double peakCounts = 0;
    double cost = 0;
    int steps = 0;
};

struct CandidateEntry {
    int index = 0;
    QString stage;
    ParamNumbers params{};
    GainFigures figures;
    bool best = false; // became the best so far
};

struct TuningProgress {
    QString stage;       // in the operator's words
    double fraction = 0; // 0..1
    double msLeft = 0;
};

struct TuningResult {
    enum class Outcome { Tuned, NoBetter, Aborted };
    Outcome outcome = Outcome::Aborted;
    QString message;         // what happened, for the operator
    ParamNumbers snapshot{}; // as found
    bool snapshotKnown = false;
    ParamNumbers tuned{};  // in force when the tuner left (snapshot when not Tuned)
    bool restored = false; // the snapshot was written back and read back equal
    GainFigures baseline, result;
    GainFigures halfStep, doubleStep;        // the result at half and twice the step
    StepRecord baselineRecord, resultRecord; // one forward step of each, for the picture
    double noiseCounts = 0;
    double sampleRateHz = 0;
    int stepSteps = 0;
    int stepsUsed = 0;
    double elapsedMs = 0;
    std::vector<CandidateEntry> log;
};

// Finds P, I and D gains for the controller's own position loop from step
// responses measured on the axis. Every value it tries is a test write; the
// values it found are left in force (test-written) for the operator to accept
// or throw away. Whenever something goes wrong it stops the motor and writes
// back what it found, and reads it back to make sure.
class AutoTuner {
public:
    explicit AutoTuner(const TuningOptions &options) : m_options(options) {}

    // Called once the snapshot is read, before anything is changed: keep it
    // somewhere safe until it is back in force or the operator has decided.
    std::function<void(const ParamNumbers &)> onSnapshot;
    std::function<void(const TuningProgress &)> onProgress;
    std::function<void(const CandidateEntry &)> onCandidate;

    TuningResult run(TuningAxis &axis);

    // Writes the snapshot back and reads it back; true when it is in force.
    // A value outside its range is never written: false instead.
    static bool restore(TuningAxis &axis, const ParamNumbers &snapshot, const ParamRanges &ranges);

private:
    struct Abort {
        QString message;
    };
    class Session;

    TuningOptions m_options;
};

} // namespace kdx
