#pragma once

#include "core/loopmodel.h"
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
    bool tuneP = true, tuneI = true, tuneD = true;
    double windowMs = 1000; // the record of one step
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

// The figures of a set of gains over the steps taken with them (forward and
// backward, at each size measured).
struct GainFigures {
    double itae = 0;         // at the tuning step, both directions' mean
    double overshootPct = 0; // the largest
    double settlingMs = 0;   // the longest (the window when one never settled)
    double peakCounts = 0;   // the largest error
    bool settles = false;    // every step settled
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
    // The gains in force when the tuner left meet the aim at every size: the
    // tuned ones, or the ones as found when nothing better was found.
    bool aimMet = false;
    bool baselineMeetsAim = false;
    // The gains as found, and the tuned (or, when no gains met the aim, the
    // closest) ones, measured at half, once and twice the tuning step.
    GainFigures baseline, result;
    GainFigures halfStep, doubleStep;        // the result at half and twice the step
    StepRecord baselineRecord, resultRecord; // one forward step of each, for the picture
    ParamNumbers closest{};                  // when no gains met the aim: the nearest tried
    // The model: how it was fitted and what it says.
    LoopModel model;
    double fitErrorPct = 0;
    std::vector<StepRecord> fitMeasured, fitPredicted; // the steps fitted, and the model's
    GainFigures predicted;                             // the result as the model foresaw it
    double pMargin = 0;     // how many times more P gain before it rings (model)
    double crossoverHz = 0; // the loop's bandwidth (model)
    int corrections = 0;    // refits after a verification that missed
    double noiseCounts = 0;
    double sampleRateHz = 0;
    int stepSteps = 0;
    int stepsUsed = 0;
    double elapsedMs = 0;
    std::vector<CandidateEntry> log;
};

// Finds P, I and D gains for the controller's own position loop: it
// measures steps with the gains as found, fits a small model of the loop to
// them, chooses on the model the fastest gains that keep the aim at half,
// once and twice the step with a margin, and verifies them on the axis at
// those sizes (refitting and choosing again, at most twice, when they miss).
// Every value it tries is a test write; the values it found are left in
// force for the operator to accept or throw away. Whenever something goes
// wrong it stops the motor and writes back what it found, and reads it back
// to make sure.
class AutoTuner {
public:
    explicit AutoTuner(const TuningOptions &options) : m_options(options) {}

    // Called once the snapshot is read, before anything is changed: keep it
    // somewhere safe until it is back in force or the operator has decided.
    std::function<void(const ParamNumbers &)> onSnapshot;
    std::function<void(const TuningProgress &)> onProgress;
    std::function<void(const CandidateEntry &)> onCandidate;
    // Runs a long computation (the fit, the design); by default at once. The
    // terminal runs it beside the window so that the window stays alive.
    std::function<void(const std::function<void()> &)> compute;

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
