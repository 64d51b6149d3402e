#pragma once

#include "measurements.h"

#include <QString>

#include <optional>

namespace kdx::bench {

// Turns the measurements' values into the benchmark's figures, one line
// each: the measured value, its limit, their ratio and, where the figure has
// a target, whether it was met.
class FigureReport {
public:
    // judged: false for a short run, whose figures are too brief to judge.
    explicit FigureReport(bool judged) : m_judged(judged) {}

    // Prints the figures of one measurement.
    void report(const QString &measurement, const Results &results);

    // False when a judged figure missed its target.
    bool allMet() const { return m_allMet; }

private:
    enum class Ratio { Percent, Factor };
    struct Figure {
        QString name;
        QString measured;
        QString limitWord; // "limit" or "floor"
        QString limit;
        double ratio = 0;
        Ratio ratioKind = Ratio::Percent;
        QString target;          // empty: no target
        std::optional<bool> met; // unset: no target
    };
    void print(const Figure &figure);
    // Resident memory at the first tenth (or minute) against the end.
    void reportGrowth(const QString &name, const Results &results);

    bool m_judged;
    bool m_allMet = true;
    double m_windowMs = -1;
    double m_pollingCpu = -1; // the polling figure, history off
    void reportHistory(const Results &results);
};

} // namespace kdx::bench
