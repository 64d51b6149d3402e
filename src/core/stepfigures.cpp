#include "core/stepfigures.h"

#include <QStringList>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace kdx {

namespace {

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(StepFigures)
};

constexpr qsizetype MinReadings = 3;
constexpr double BandShare = 0.02;
constexpr double MinBand = 2;
constexpr double SteadyShare = 0.1;
constexpr double GearScale = 1024;
constexpr double SpeedScale = 16; // the velocity limit is in 1/16 step per ms

double sign(double v)
{
    return v < 0 ? -1.0 : 1.0;
}

// Share of the move the set point has made by time t.
double moveFraction(double t, double moveEndMs)
{
    if (!(moveEndMs > 0))
        return 1;
    return std::clamp(t / moveEndMs, 0.0, 1.0);
}

// Time at which a quantity sampled at t[i-1], t[i] passes the level between
// them, linearly interpolated.
double crossing(const std::vector<double> &t, const std::vector<double> &v, size_t i, double level)
{
    if (i == 0 || v[i] == v[i - 1])
        return t[i];
    return t[i - 1] + (level - v[i - 1]) / (v[i] - v[i - 1]) * (t[i] - t[i - 1]);
}

// Why a record cannot be described at all; empty when it can.
QString unusable(const StepRecord &r)
{
    if (r.tMs.size() != r.error.size())
        return Texts::tr("hibás mérés");
    if (r.tMs.empty())
        return Texts::tr("nincs mérés");
    if (r.tMs.size() < MinReadings)
        return Texts::tr("túl kevés mérés");
    if (!std::isfinite(r.stepCounts) || r.stepCounts == 0)
        return Texts::tr("nincs lépés");
    for (size_t i = 0; i < r.tMs.size(); ++i) {
        if (!std::isfinite(r.tMs[i]) || !std::isfinite(r.error[i]) ||
            (i > 0 && r.tMs[i] < r.tMs[i - 1]))
            return Texts::tr("hibás mérés");
    }
    if (r.tMs.back() <= r.tMs.front())
        return Texts::tr("túl kevés mérés");
    return {};
}

struct Curves {
    std::vector<double> position;  // shaft position, normalised to a forward step
    std::vector<double> remaining; // distance still to go, positive while short of the goal
};

Curves curves(const StepRecord &r)
{
    const double s = sign(r.stepCounts);
    const double size = std::abs(r.stepCounts);
    Curves c;
    c.position.reserve(r.tMs.size());
    c.remaining.reserve(r.tMs.size());
    for (size_t i = 0; i < r.tMs.size(); ++i) {
        const double setPoint = size * moveFraction(r.tMs[i], r.moveEndMs);
        c.position.push_back(setPoint - s * r.error[i]);
        c.remaining.push_back(size - c.position.back());
    }
    return c;
}

double timeToReach(const std::vector<double> &t, const std::vector<double> &position, double level)
{
    for (size_t i = 0; i < t.size(); ++i) {
        if (position[i] >= level)
            return crossing(t, position, i, level);
    }
    return StepFigures::NaN;
}

void integrate(const StepRecord &r, StepFigures &f)
{
    const std::vector<double> &t = r.tMs;
    double iae = 0;
    double itae = 0;
    // The first reading stands for the time between the step and itself.
    if (t.front() > 0) {
        iae += std::abs(r.error.front()) * t.front();
        itae += std::abs(r.error.front()) * t.front() * t.front() / 2;
    }
    for (size_t i = 1; i < t.size(); ++i) {
        const double dt = t[i] - t[i - 1];
        const double a = std::abs(r.error[i - 1]);
        const double b = std::abs(r.error[i]);
        iae += (a + b) / 2 * dt;
        itae += (t[i - 1] * a + t[i] * b) / 2 * dt;
    }
    f.iae = iae / std::abs(r.stepCounts);
    f.itae = itae / std::abs(r.stepCounts);
}

void measureSteadyState(const StepRecord &r, StepFigures &f, QStringList &notes)
{
    const double end = r.windowMs > 0 ? r.windowMs : r.tMs.back();
    const double from = end * (1 - SteadyShare);
    double sum = 0;
    int n = 0;
    for (size_t i = 0; i < r.tMs.size(); ++i) {
        if (r.tMs[i] >= from) {
            sum += r.error[i];
            ++n;
        }
    }
    if (n > 0)
        f.steadyStateError = sum / n;
    else
        notes << Texts::tr("nincs mérés az ablak végén");
}

// The settling time, overshoot and oscillations: what the shaft did around
// the goal.
void measureArrival(const StepRecord &r, const Curves &c, StepFigures &f, QStringList &notes)
{
    const std::vector<double> &t = r.tMs;
    const std::vector<double> &rem = c.remaining;
    const double band = f.bandCounts;

    // Crossings from beyond one edge of the band to beyond the other.
    double side = 0;
    for (double d : rem) {
        if (std::abs(d) <= band)
            continue;
        if (side != 0 && sign(d) != side)
            ++f.oscillations;
        side = sign(d);
    }

    if (t.back() < r.moveEndMs) {
        notes << Texts::tr("a felvétel a mozgás vége előtt véget ért");
        return;
    }

    const auto furthest = std::min_element(rem.begin(), rem.end());
    if (*furthest < 0) {
        f.overshootPct = -*furthest / std::abs(r.stepCounts) * 100;
        f.timeToPeakMs = t[size_t(furthest - rem.begin())];
    } else {
        f.overshootPct = 0;
    }

    size_t last = rem.size();
    for (size_t i = rem.size(); i-- > 0;) {
        if (std::abs(rem[i]) > band) {
            last = i;
            break;
        }
    }
    if (last == rem.size())
        f.settlingTimeMs = 0; // inside the band from the step on
    else if (last + 1 == rem.size())
        notes << Texts::tr("nem állt be a sávba");
    else
        f.settlingTimeMs = crossing(t, rem, last + 1, rem[last] > 0 ? band : -band);
}

} // namespace

StepFigures stepFigures(const StepRecord &record)
{
    StepFigures f;
    f.stepCounts = record.stepCounts;
    f.note = unusable(record);
    if (!f.note.isEmpty())
        return f;
    f.valid = true;

    const std::vector<double> &t = record.tMs;
    const std::vector<double> &e = record.error;
    const double size = std::abs(record.stepCounts);
    f.bandCounts = std::max(BandShare * size, MinBand);
    f.sampleRateHz = double(t.size() - 1) * 1000 / (t.back() - t.front());

    const auto peak = std::max_element(
        e.begin(), e.end(), [](double a, double b) { return std::abs(a) < std::abs(b); });
    f.peakError = *peak;
    f.peakErrorMs = t[size_t(peak - e.begin())];

    const Curves c = curves(record);
    f.riseTimeMs = timeToReach(t, c.position, 0.9 * size) - timeToReach(t, c.position, 0.1 * size);

    QStringList notes;
    measureArrival(record, c, f, notes);
    measureSteadyState(record, f, notes);
    integrate(record, f);
    if (!record.complete)
        notes.prepend(Texts::tr("hiányos felvétel"));
    f.note = notes.join(QStringLiteral("; "));
    return f;
}

namespace {

using Field = double StepFigures::*;

constexpr Field SignedFields[] = {&StepFigures::stepCounts, &StepFigures::peakError,
                                  &StepFigures::steadyStateError};
constexpr Field PlainFields[] = {
    &StepFigures::peakErrorMs, &StepFigures::overshootPct, &StepFigures::timeToPeakMs,
    &StepFigures::riseTimeMs,  &StepFigures::bandCounts,   &StepFigures::iae,
    &StepFigures::itae,        &StepFigures::sampleRateHz, &StepFigures::settlingTimeMs};

struct Stats {
    double mean = StepFigures::NaN;
    double spread = StepFigures::NaN;
};

Stats stats(const std::vector<double> &values)
{
    Stats s;
    if (values.empty())
        return s;
    double sum = 0;
    for (double v : values)
        sum += v;
    s.mean = sum / double(values.size());
    double squares = 0;
    for (double v : values)
        squares += (v - s.mean) * (v - s.mean);
    s.spread = values.size() > 1 ? std::sqrt(squares / double(values.size() - 1)) : 0;
    return s;
}

} // namespace

FigureSpread figureSpread(const std::vector<StepFigures> &figures)
{
    std::vector<const StepFigures *> used;
    for (const StepFigures &f : figures) {
        if (f.valid)
            used.push_back(&f);
    }
    FigureSpread out;
    out.count = int(used.size());
    if (used.empty()) {
        out.mean.note = Texts::tr("nincs használható felvétel");
        return out;
    }
    out.mean.valid = out.spread.valid = true;

    auto combine = [&](Field field, bool normalise) {
        std::vector<double> values;
        for (const StepFigures *f : used) {
            const double v = normalise ? f->*field * sign(f->stepCounts) : f->*field;
            if (std::isfinite(v))
                values.push_back(v);
        }
        const Stats s = stats(values);
        out.mean.*field = s.mean;
        out.spread.*field = s.spread;
        return values.size();
    };
    for (Field field : SignedFields)
        combine(field, true);
    for (Field field : PlainFields) {
        if (combine(field, false) < used.size() && field == &StepFigures::settlingTimeMs) {
            out.mean.settlingTimeMs = out.spread.settlingTimeMs = StepFigures::NaN;
            out.mean.note = Texts::tr("nem mind állt be a sávba");
        }
    }

    int least = used.front()->oscillations;
    int most = least;
    double sum = 0;
    for (const StepFigures *f : used) {
        least = std::min(least, f->oscillations);
        most = std::max(most, f->oscillations);
        sum += f->oscillations;
    }
    out.mean.oscillations = int(std::lround(sum / out.count));
    out.spread.oscillations = most - least;
    return out;
}

StepMove stepMove(int steps, int velocityLimit, int gearRatio)
{
    StepMove m;
    const double gear = gearRatio / GearScale;
    m.stepCounts = steps * gear;
    if (m.stepCounts == 0)
        return m;
    if (velocityLimit <= 0) {
        m.moveEndMs = std::numeric_limits<double>::infinity();
        return m;
    }
    m.moveEndMs = std::abs(m.stepCounts) / (velocityLimit / SpeedScale * std::abs(gear));
    return m;
}

} // namespace kdx
