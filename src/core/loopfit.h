#pragma once

#include "core/loopmodel.h"

#include <functional>
#include <vector>

namespace kdx {

// One measured step and what the controller was given for it. The record's
// times are from the step reaching the controller.
struct FitRecord {
    StepRecord measured;
    LoopSetting setting;
};

struct LoopFit {
    LoopModel model;
    // How far the model's errors lie from the measured ones: the RMS of the
    // difference against the RMS of the measured error, %, each step
    // weighed by its size.
    double errorPct = 100;
    // The model's prediction for each record, at its times.
    std::vector<StepRecord> predicted;
};

// Fits the model to the records: a coarse look over how fast and how damped
// the loop is, then least squares on every parameter. `cancelled` is asked
// now and then; the fit gives up early (with what it has) when it says so.
LoopFit fitLoop(const std::vector<FitRecord> &records,
                const std::function<bool()> &cancelled = {});

// Least squares from a given model only.
LoopFit refineLoop(const LoopModel &start, const std::vector<FitRecord> &records);

// The fit error of a given model on the records, %.
double fitErrorPct(const LoopModel &model, const std::vector<FitRecord> &records);

} // namespace kdx
