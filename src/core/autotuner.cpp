#include "autotuner.h"

#include "core/loopdesign.h"
#include "core/loopfit.h"
#include "core/stepfigures.h"
#include "core/tuningsnapshot.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kdx {

namespace {

// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(AutoTuner)
};

constexpr int kVelocityLimit = 0;
constexpr int kPGain = 2;
constexpr int kIGain = 3;
constexpr int kTorqueLimit = 4;
constexpr int kGearRatio = 6;
constexpr int kDGain = 7;

// The step must stand this far above the noise at rest.
constexpr double kStepOverNoise = 50;
// Twice the step must keep its error within this share of the limit.
constexpr double kStepPeakShare = 0.5;
// At rest, the noise is measured over this share of the step window.
constexpr double kRestShare = 0.3;
// A step record with fewer readings is taken again (a busy computer).
constexpr size_t kFewestReadings = 20;
constexpr int kRetakes = 2;
// The sizes every set of gains is judged at, in tuning steps.
constexpr double kSizes[] = {0.5, 1, 2};
// A model further off the measured steps than this is not used.
constexpr double kPoorFitPct = 70;
// The design stays within this factor of the gains the model was last
// shown (each correction moves from the gains it measured).
constexpr double kTrustFactor = 6;
// Refits after a verification that missed the aim.
constexpr int kMostCorrections = 2;
// Verified gains at the edge of the model's trust: how many times the model,
// refitted with them, may go further.
constexpr int kMostFurther = 3;
// Each miss makes the margin the design keeps this much wider.
constexpr double kMarginGrowth = 1.2;
// The model is asked for this much less overshoot than the aim.
constexpr double kAimHeadroomPct = 1;
// Overshoot measured beyond the aim that still counts as meeting it: a
// count of noise on the smallest step.
constexpr double kAimTolerancePct = 0.5;
// An axis whose error at rest spreads wider than this does not hold still.
constexpr double kRestlessCounts = 3;
// A swing whose period is fewer readings than this is a quick one.
constexpr double kQuickSwingReadings = 12;
// Halvings of the gains tried to bring a swinging axis to rest.
constexpr int kMostCalmings = 9;
// A step that crosses the band this often without settling swings.
constexpr int kSwingCrossings = 4;
constexpr double kInf = std::numeric_limits<double>::infinity();

QString gainText(const ParamNumbers &p)
{
    return QStringLiteral("P2=%1 P3=%2 P7=%3").arg(p[kPGain]).arg(p[kIGain]).arg(p[kDGain]);
}

// How far a record strays from its own mean (RMS).
double rms(const std::vector<double> &v)
{
    if (v.empty())
        return 0;
    double sum = 0, sumSq = 0;
    for (double e : v) {
        sum += e;
        sumSq += e * e;
    }
    const double n = double(v.size());
    return std::sqrt(std::max(0.0, sumSq / n - (sum / n) * (sum / n)));
}

bool swings(const StepFigures &f)
{
    return f.valid && !std::isfinite(f.settlingTimeMs) && f.oscillations >= kSwingCrossings;
}

// The start of a step that swings: up to its fourth swing across the goal
// after the move, what the model can follow (later the swing is the line's
// limits and friction more than the loop).
StepRecord onset(const StepRecord &r)
{
    StepRecord o = r;
    int crossings = 0;
    size_t end = r.error.size();
    for (size_t k = 1; k < r.error.size(); ++k) {
        if (r.tMs[k] < r.moveEndMs)
            continue;
        if (r.error[k - 1] * r.error[k] < 0 && ++crossings >= 4) {
            end = k + 1;
            break;
        }
    }
    o.tMs.resize(end);
    o.error.resize(end);
    if (!o.tMs.empty())
        o.windowMs = o.tMs.back();
    return o;
}

// The figures of a set of gains from the steps taken with it; the ITAE
// from those at the tuning step.
GainFigures combine(const std::vector<StepFigures> &all, const std::vector<StepFigures> &atStep,
                    double windowMs)
{
    GainFigures g;
    g.settles = !all.empty();
    for (const StepFigures &f : all) {
        const bool settled = f.valid && std::isfinite(f.settlingTimeMs);
        g.settles = g.settles && settled;
        g.overshootPct =
            std::max(g.overshootPct, std::isfinite(f.overshootPct) ? f.overshootPct : 100.0);
        g.settlingMs = std::max(g.settlingMs, settled ? f.settlingTimeMs : windowMs);
        if (std::isfinite(f.peakError))
            g.peakCounts = std::max(g.peakCounts, std::abs(f.peakError));
    }
    double itae = 0;
    int n = 0;
    for (const StepFigures &f : atStep) {
        if (std::isfinite(f.itae)) {
            itae += f.itae;
            ++n;
        }
    }
    g.itae = n > 0 ? itae / n : kInf;
    g.steps = int(all.size());
    return g;
}

GainFigures fromDesign(const DesignFigures &d)
{
    GainFigures g;
    g.itae = d.itae;
    g.overshootPct = d.overshootPct;
    g.settlingMs = d.settlingMs;
    g.settles = d.settles;
    for (const StepFigures &f : d.steps) {
        if (std::isfinite(f.peakError))
            g.peakCounts = std::max(g.peakCounts, std::abs(f.peakError));
    }
    g.steps = int(d.steps.size());
    return g;
}

} // namespace

double aimOvershootPct(TuningAim aim)
{
    switch (aim) {
    case TuningAim::NoOvershoot:
        return 0;
    case TuningAim::Balanced:
        return 5;
    case TuningAim::Fast:
        return 15;
    }
    return 0;
}

// One run of the tuner: the state it carries from step to step.
class AutoTuner::Session {
public:
    Session(AutoTuner &owner, TuningAxis &axis)
        : m_owner(owner), m_o(owner.m_options), m_axis(axis),
          m_aim(aimOvershootPct(owner.m_options.aim))
    {
    }

    TuningResult run();

private:
    // A set of gains measured at the sizes.
    struct Measured {
        ParamNumbers params{};
        GainFigures all;                  // every size
        GainFigures half, once, twice;    // by size
        std::vector<StepRecord> forwards; // one forward step per size, in order
        bool swung = false;
        StepRecord swing; // the step that swung
        bool meetsAim() const
        {
            return !swung && all.settles && all.overshootPct <= aimPct + kAimTolerancePct;
        }
        double aimPct = 0;
        // How far it misses the aim: overshoot beyond it, much more for not settling.
        double miss() const
        {
            return std::max(0.0, all.overshootPct - aimPct) + (all.settles && !swung ? 0 : 100);
        }
    };

    void checkSnapshot();
    void prepare();
    // Noise at rest (RMS about the mean), counts.
    double measureRest(StepRecord *record = nullptr);
    // Halves the gains being tuned.
    void calm(const StepRecord &swing);
    bool tuned(int n) const;
    void chooseStep();
    Measured measure(const ParamNumbers &p, const QString &stage);
    bool identify(const QString &stage);
    Design design();
    void finish(const Measured &baseline, const Measured *best, const Measured *closest);
    void keepSnapshot(const QString &message);

    void report(const QString &stage);
    void abort(const QString &message) const { throw Abort{message}; }
    void checkStop();
    void apply(const ParamNumbers &p);
    StepRecord takeStep(int steps);
    LoopSetting settingOf(const ParamNumbers &p) const;
    void log(const Measured &m, const QString &stage, bool best);
    void compute(const std::function<void()> &work);

    AutoTuner &m_owner;
    const TuningOptions &m_o;
    TuningAxis &m_axis;
    const double m_aim;
    TuningResult m_r;
    ParamNumbers m_current{};
    double m_noise = 0.5;
    int m_stepSteps = 0; // the step it tunes with: the operator's or smaller
    double m_gear = 1;   // counts per step
    double m_sampleMs = 4;
    double m_marginGrowth = 1;
    int m_calmings = 0;                    // times the gains were halved to hold the axis still
    int m_quickCalmings = 0;               // of those, for a quick swing
    std::optional<StepRecord> m_lastSwing; // the last step that swung, while none since held still
    double m_aimShift = 0;
    bool m_atTrustEdge = false;       // the last design chose a gain at the edge of its trust //
                                      // overshoot the model has been seen to foresee too little
    std::vector<FitRecord> m_records; // every step taken, for the fit
    LoopFit m_fit;
};

void AutoTuner::Session::report(const QString &stage)
{
    if (!m_owner.onProgress)
        return;
    TuningProgress p;
    p.stage = stage;
    // About 14 moves, and six more for each correction.
    const double expected = 14 + 6 * m_r.corrections;
    const double elapsed = m_axis.elapsedMs();
    p.fraction = std::clamp(m_r.stepsUsed / expected, 0.0, 0.95);
    const double perMove = m_r.stepsUsed > 0 ? elapsed / m_r.stepsUsed : m_o.windowMs;
    p.msLeft = std::clamp((expected - m_r.stepsUsed) * perMove, 0.0,
                          std::max(0.0, m_o.budgetMs - elapsed));
    m_owner.onProgress(p);
}

void AutoTuner::Session::checkStop()
{
    if (m_axis.cancelled())
        abort(Texts::tr("A hangolást a kezelő leállította."));
    if (m_axis.elapsedMs() > m_o.budgetMs)
        abort(Texts::tr("Lejárt a hangolásra szánt idő."));
    if (m_r.stepsUsed >= m_o.maxSteps)
        abort(Texts::tr("Elfogyott a hangolásra szánt %1 lépés.").arg(m_o.maxSteps));
}

void AutoTuner::Session::compute(const std::function<void()> &work)
{
    if (m_owner.compute)
        m_owner.compute(work);
    else
        work();
    checkStop();
}

void AutoTuner::Session::apply(const ParamNumbers &p)
{
    for (int n = 0; n < 8; ++n) {
        if (p[n] == m_current[n])
            continue;
        checkStop();
        m_axis.testWrite(n, p[n]);
        m_current[n] = p[n];
    }
}

LoopSetting AutoTuner::Session::settingOf(const ParamNumbers &p) const
{
    LoopSetting s;
    s.p = p[kPGain];
    s.i = p[kIGain];
    s.d = p[kDGain];
    s.torqueLimit = p[kTorqueLimit];
    const StepMove move = stepMove(1000, p[kVelocityLimit], p[kGearRatio]);
    s.rampCountsPerMs = std::isfinite(move.moveEndMs) && move.moveEndMs > 0
                            ? std::abs(move.stepCounts) / move.moveEndMs
                            : 1e-9;
    return s;
}

StepRecord AutoTuner::Session::takeStep(int steps)
{
    for (int attempt = 0;; ++attempt) {
        checkStop();
        StepRecord r = m_axis.step(steps, m_o.windowMs, m_o.errorLimitCounts);
        ++m_r.stepsUsed;
        r.moveEndMs = stepMove(steps, m_current[kVelocityLimit], m_current[kGearRatio]).moveEndMs;
        double largest = 0;
        for (double e : r.error)
            largest = std::max(largest, std::abs(e));
        if (largest > m_o.errorLimitCounts)
            abort(Texts::tr("A pozícióhiba (%1) túllépte a megengedett %2 értéket.")
                      .arg(largest)
                      .arg(m_o.errorLimitCounts));
        checkStop();
        if (!r.complete)
            abort(Texts::tr("A felvétel megszakadt."));
        if (r.tMs.size() >= kFewestReadings)
            return r;
        // The line was too slow this once: the step back brings the axis to
        // where it started, then the step again.
        if (attempt >= kRetakes)
            abort(Texts::tr("Túl kevés mérés érkezett egy lépés alatt."));
        checkStop();
        m_axis.step(-steps, m_o.windowMs, m_o.errorLimitCounts);
        ++m_r.stepsUsed;
    }
}

void AutoTuner::Session::checkSnapshot()
{
    // What goes back at the end must be what the controller held: two reads
    // that agree with each other and with the window, every value within
    // its range. Nothing has been changed yet when one of them fails.
    m_r.snapshot = m_axis.readBack();
    const ParamNumbers again = m_axis.readBack();
    const QString notStarted = Texts::tr(" A hangolás nem indul.");
    for (int n = 0; n < 8; ++n) {
        if (again[n] != m_r.snapshot[n])
            abort(Texts::tr("A paraméterek két kiolvasása eltér: P%1 = %2, majd %3.")
                      .arg(n)
                      .arg(m_r.snapshot[n])
                      .arg(again[n]) +
                  notStarted);
    }
    const QString wrong = rangeProblems(m_r.snapshot, m_o.testRanges);
    if (!wrong.isEmpty())
        abort(Texts::tr("Hibás kiolvasott érték: %1.").arg(wrong) + notStarted);
    if (m_o.shown) {
        for (int n = 0; n < 8; ++n) {
            if ((*m_o.shown)[n] != m_r.snapshot[n])
                abort(Texts::tr("P%1 a vezérlőben %2, az ablakban %3. Olvassa ki újra a "
                                "paramétereket (Mind KIOLVAS).")
                          .arg(n)
                          .arg(m_r.snapshot[n])
                          .arg((*m_o.shown)[n]) +
                      notStarted);
        }
    }
}

void AutoTuner::Session::prepare()
{
    report(Texts::tr("Paraméterek kiolvasása"));
    checkSnapshot();
    m_r.snapshotKnown = true;
    m_current = m_r.snapshot;
    if (m_owner.onSnapshot)
        m_owner.onSnapshot(m_r.snapshot);

    ParamNumbers capped = m_current;
    if (m_o.torqueCap > 0 && capped[kTorqueLimit] > m_o.torqueCap)
        capped[kTorqueLimit] = m_o.torqueCap;
    apply(capped);

    report(Texts::tr("Zaj mérése nyugalomban"));
    m_axis.stopAndReset();
    // An axis that does not hold still at rest with the gains as found gets
    // calmer ones until it does: nothing can be measured on it before.
    StepRecord rest;
    while (measureRest(&rest) > kRestlessCounts) {
        if (m_calmings >= kMostCalmings)
            abort(Texts::tr("A tengely nyugalomban sem áll meg (zaj %1 impulzus), "
                            "kisebb erősítésekkel sem.")
                      .arg(m_noise, 0, 'f', 0));
        calm(rest);
        m_axis.stopAndReset();
        // What the gains before left swinging dies away before the axis is
        // judged again.
        m_axis.rest(m_o.windowMs);
        checkStop();
    }

    m_gear = m_current[kGearRatio] > 0 ? m_current[kGearRatio] / 1024.0 : 1.0;
    m_stepSteps = m_o.stepSteps;
    m_r.stepSteps = m_stepSteps;
    const double stepCounts = m_stepSteps * m_gear;
    if (stepCounts < kStepOverNoise * m_noise)
        abort(Texts::tr("A lépés (%1 impulzus) túl kicsi a zajhoz (%2) képest.")
                  .arg(stepCounts)
                  .arg(m_noise, 0, 'f', 1));
}

double AutoTuner::Session::measureRest(StepRecord *record)
{
    const StepRecord rest = m_axis.rest(kRestShare * m_o.windowMs);
    if (record)
        *record = rest;
    checkStop();
    if (rest.tMs.size() < kFewestReadings / 2 || rest.tMs.back() <= rest.tMs.front())
        abort(Texts::tr("A tengely nem válaszol elég gyorsan a mérésekhez."));
    const double n = double(rest.error.size());
    m_noise = std::max(0.5, rms(rest.error));
    m_sampleMs = (rest.tMs.back() - rest.tMs.front()) / (n - 1);
    m_r.noiseCounts = m_noise;
    m_r.sampleRateHz = 1000 / m_sampleMs;
    return m_noise;
}

void AutoTuner::Session::calm(const StepRecord &swing)
{
    // The integral goes first: on a shaft with inertia it is what most often
    // makes a loop swing, and the fit needs steps more than speed. Then how
    // the axis swings says what to change: a swing of a few readings a
    // period is the loop too quick for its delay (less P, then less D as
    // well); a slow one is too little damping for the stiffness (less P,
    // more D).
    const size_t n = swing.error.size();
    double mean = 0;
    for (size_t k = n / 2; k < n; ++k)
        mean += swing.error[k];
    mean /= std::max<size_t>(1, n - n / 2);
    int crossings = 0;
    for (size_t k = n / 2 + 1; k < n; ++k)
        crossings += (swing.error[k - 1] - mean) * (swing.error[k] - mean) < 0;
    const double period = crossings > 0 ? 2.0 * double(n - n / 2) / crossings : kInf;
    const auto change = [&](ParamNumbers &p, int g, double f) {
        if (tuned(g))
            p[g] = std::clamp(int(std::lround(p[g] * f)), m_o.testRanges[g].first,
                              m_o.testRanges[g].second);
    };
    ParamNumbers p = m_current;
    const int leastI = m_o.testRanges[kIGain].first;
    if (tuned(kIGain) && p[kIGain] > leastI) {
        p[kIGain] = leastI;
    } else if (period < kQuickSwingReadings) {
        // The P gain first; when three halvings of it have not stilled the
        // axis, the D gain too, by turns.
        int g = m_quickCalmings < 3 || m_quickCalmings % 2 == 0 ? kPGain : kDGain;
        if (!tuned(g))
            g = g == kPGain ? kDGain : kPGain;
        change(p, g, 0.5);
        ++m_quickCalmings;
    } else {
        change(p, kPGain, 0.5);
        change(p, kDGain, 2);
    }
    ++m_calmings;
    apply(p);
}

bool AutoTuner::Session::tuned(int n) const
{
    return (n == kPGain && m_o.tuneP) || (n == kIGain && m_o.tuneI) || (n == kDGain && m_o.tuneD);
}

void AutoTuner::Session::chooseStep()
{
    // A quarter step first, with the gains as found: a wild axis takes a
    // smaller step, so that even twice the step keeps its error within
    // half the limit. The two steps are measured for the fit as well.
    report(Texts::tr("Lépésméret"));
    const int probe = std::max(1, m_o.stepSteps / 4);
    double peak = 0;
    for (const int s : {probe, -probe}) {
        const StepRecord r = takeStep(s);
        for (double e : r.error)
            peak = std::max(peak, std::abs(e));
        if (swings(stepFigures(r))) {
            m_axis.stopAndReset();
            m_records.push_back({onset(r), settingOf(m_current)});
            m_lastSwing = r;
            break;
        }
        m_records.push_back({r, settingOf(m_current)});
    }
    if (peak <= 0)
        return;
    const double fits = probe / 2.0 * kStepPeakShare * m_o.errorLimitCounts / peak;
    const int least = int(std::ceil(kStepOverNoise * m_noise / m_gear));
    m_stepSteps = std::clamp(int(fits), std::min(least, m_o.stepSteps), m_o.stepSteps);
    m_r.stepSteps = m_stepSteps;
}

AutoTuner::Session::Measured AutoTuner::Session::measure(const ParamNumbers &p,
                                                         const QString &stage)
{
    Measured m;
    m.params = p;
    m.aimPct = m_aim;
    apply(p);
    std::vector<StepFigures> all, bySize[3];
    for (int k = 0; k < 3 && !m.swung; ++k) {
        const int steps = std::max(1, int(std::lround(kSizes[k] * m_stepSteps)));
        for (const int s : {steps, -steps}) {
            report(stage);
            const StepRecord r = takeStep(s);
            const StepFigures f = stepFigures(r);
            // Of a step that swings, the model is fitted on how it began.
            m_records.push_back({swings(f) ? onset(r) : r, settingOf(m_current)});
            all.push_back(f);
            bySize[k].push_back(f);
            if (s > 0)
                m.forwards.push_back(r);
            if (swings(f)) {
                // Stopped at once.
                m_axis.stopAndReset();
                m.swung = true;
                m.swing = r;
                break;
            }
        }
    }
    m.all = combine(all, bySize[1], m_o.windowMs);
    m.half = combine(bySize[0], bySize[0], m_o.windowMs);
    m.once = combine(bySize[1], bySize[1], m_o.windowMs);
    m.twice = combine(bySize[2], bySize[2], m_o.windowMs);
    // A size never reached counts as not settled.
    if (m.swung)
        m.all.settles = false;
    return m;
}

void AutoTuner::Session::log(const Measured &m, const QString &stage, bool best)
{
    CandidateEntry e;
    e.index = int(m_r.log.size()) + 1;
    e.stage = m.swung ? stage + Texts::tr(" – leng") : stage;
    e.params = m.params;
    e.figures = m.all;
    e.best = best;
    m_r.log.push_back(e);
    if (m_owner.onCandidate)
        m_owner.onCandidate(e);
}

bool AutoTuner::Session::identify(const QString &stage)
{
    report(stage);
    const std::vector<FitRecord> records = m_records;
    const auto cancelled = [this] { return m_axis.cancelled(); };
    LoopFit fit;
    compute([&] { fit = fitLoop(records, cancelled); });
    m_fit = fit;
    m_r.model = fit.model;
    m_r.fitErrorPct = fit.errorPct;
    m_r.fitMeasured.clear();
    for (const FitRecord &f : records)
        m_r.fitMeasured.push_back(f.measured);
    m_r.fitPredicted = fit.predicted;
    return fit.errorPct <= kPoorFitPct;
}

Design AutoTuner::Session::design()
{
    report(Texts::tr("Tervezés a modellen"));
    DesignGoal g;
    // A point under the aim on the model (a fifth of it for a small aim),
    // and as much less again as the model has been seen to foresee too
    // little: what the axis measures is not quite what the model said.
    g.aimPct = std::max(0.0, m_aim - std::min(kAimHeadroomPct, 0.2 * m_aim) - m_aimShift);
    for (double k : kSizes)
        g.stepCounts.push_back(k * m_stepSteps * m_gear);
    g.windowMs = m_o.windowMs;
    g.sampleMs = m_sampleMs;
    g.start = settingOf(m_current);
    g.tuneP = m_o.tuneP;
    g.tuneI = m_o.tuneI;
    g.tuneD = m_o.tuneD;
    // The model is trusted only so far from the gains it was last shown:
    // each gain within a factor of those, and within its range.
    const int gains[] = {kPGain, kIGain, kDGain};
    for (int k = 0; k < 3; ++k) {
        const int n = gains[k];
        const auto [lo, hi] = m_o.testRanges[n];
        const double at = std::max(1, m_current[n]);
        g.ranges[k] = {std::clamp(int(std::floor(at / kTrustFactor)), lo, hi),
                       std::clamp(int(std::ceil(at * kTrustFactor)), lo, hi)};
    }
    g.robustGain = 1 + (g.robustGain - 1) * m_marginGrowth;
    g.robustDelay = 1 + (g.robustDelay - 1) * m_marginGrowth;
    const LoopModel model = m_fit.model;
    const auto cancelled = [this] { return m_axis.cancelled(); };
    Design d;
    const auto atEdge = [&] {
        const double chosen[] = {d.setting.p, d.setting.i, d.setting.d};
        const bool tunedGain[] = {g.tuneP, g.tuneI, g.tuneD};
        for (int k = 0; k < 3; ++k) {
            const auto [lo, hi] = g.ranges[k];
            const auto [rangeLo, rangeHi] = m_o.testRanges[gains[k]];
            if (tunedGain[k] &&
                ((chosen[k] >= hi && hi < rangeHi) || (chosen[k] <= lo && lo > rangeLo)))
                return true;
        }
        return false;
    };
    compute([&] { d = designGains(model, g, cancelled); });
    m_atTrustEdge = d.found && atEdge();
    return d;
}

void AutoTuner::Session::keepSnapshot(const QString &message)
{
    m_r.outcome = TuningResult::Outcome::NoBetter;
    m_r.message = message;
    apply(m_r.snapshot);
    m_r.restored = AutoTuner::restore(m_axis, m_r.snapshot, m_o.testRanges);
    m_current = m_r.snapshot;
    m_r.tuned = m_r.snapshot;
}

void AutoTuner::Session::finish(const Measured &baseline, const Measured *best,
                                const Measured *closest)
{
    const QString aimText = QString::number(m_aim) + QStringLiteral(" %");
    if (best && !(baseline.meetsAim() && baseline.all.itae <= best->all.itae)) {
        m_r.outcome = TuningResult::Outcome::Tuned;
        m_r.aimMet = true;
        m_r.message =
            Texts::tr("Kész: %1; a túllendülés legfeljebb %2 a fél, az egyszeres "
                      "és a kétszeres lépésnél.")
                .arg(gainText(best->params))
                .arg(QString::number(best->all.overshootPct, 'f', 1) + QStringLiteral(" %"));
        // The torque limit goes back to what it was.
        ParamNumbers final = best->params;
        final[kTorqueLimit] = m_r.snapshot[kTorqueLimit];
        apply(final);
        m_r.tuned = final;
        return;
    }
    if (baseline.meetsAim()) {
        m_r.aimMet = true;
        keepSnapshot(Texts::tr("Nem találtam a mostaninál jobb beállítást: a mostani "
                               "erősítések tartják a célt (%1), és a megtalált "
                               "erősítések ITAE-je nem kisebb.")
                         .arg(aimText));
        return;
    }
    QString message = Texts::tr("Nem találtam a célnak (%1 túllendülés, beállás mindhárom "
                                "lépésméretnél) megfelelő beállítást.")
                          .arg(aimText);
    if (closest) {
        m_r.closest = closest->params;
        message +=
            Texts::tr(" A legközelebbi: %1 (túllendülés %2%3).")
                .arg(gainText(closest->params),
                     QString::number(closest->all.overshootPct, 'f', 1) + QStringLiteral(" %"),
                     closest->all.settles ? QString() : Texts::tr(", nem áll be"));
    }
    keepSnapshot(message);
}

TuningResult AutoTuner::Session::run()
{
    try {
        prepare();
        chooseStep();

        // The gains as found, at the three sizes; when they keep the axis
        // swinging, calmer ones are measured for the fit, halved until
        // they hold it still.
        Measured baseline;
        if (m_calmings == 0) {
            baseline = measure(m_current, Texts::tr("Kiinduló erősítések mérése"));
        } else {
            baseline.params = m_r.snapshot;
            baseline.params[kTorqueLimit] = m_current[kTorqueLimit];
            baseline.aimPct = m_aim;
            baseline.swung = true;
        }
        m_r.baselineMeetsAim = baseline.meetsAim();
        m_r.baseline = baseline.all;
        if (baseline.forwards.size() > 1)
            m_r.baselineRecord = baseline.forwards[1];
        log(baseline, Texts::tr("Kiinduló"), baseline.meetsAim());
        // Gains that hold the axis still between measurements.
        ParamNumbers safe = baseline.params;
        if (baseline.swung)
            m_lastSwing = baseline.swing;
        else
            m_lastSwing.reset();

        std::optional<Measured> best;
        std::optional<Measured> closest;
        if (!baseline.meetsAim())
            closest = baseline;
        std::vector<ParamNumbers> tried{m_current};
        bool fitted = false;
        int further = 0;
        for (int round = 0; round <= kMostCorrections; ++round) {
            m_r.corrections = round;
            const QString fitStage =
                round == 0 ? Texts::tr("Modell illesztése") : Texts::tr("Modell újraillesztése");
            const LoopFit before = m_fit;
            if (identify(fitStage)) {
                fitted = true;
            } else if (fitted) {
                // What the last gains did is beyond the model: the model
                // before them stays, with a wider margin.
                m_fit = before;
                m_r.model = before.model;
                m_r.fitErrorPct = before.errorPct;
            } else if (m_lastSwing && m_calmings < kMostCalmings) {
                // The swing alone does not make a model: calmer gains that
                // hold the axis still give the fit more to go on.
                calm(*m_lastSwing);
                const Measured still = measure(m_current, Texts::tr("Lengés csillapítása"));
                log(still, Texts::tr("Csillapítva"), false);
                m_lastSwing.reset();
                if (still.swung)
                    m_lastSwing = still.swing;
                else
                    safe = m_current;
                --round;
                continue;
            } else {
                keepSnapshot(Texts::tr("A modell nem illeszkedik a mért lépésekhez "
                                       "(illesztési hiba %1 %); ezen a tengelyen nem "
                                       "hangolok.")
                                 .arg(m_r.fitErrorPct, 0, 'f', 0));
                m_r.aimMet = baseline.meetsAim();
                m_r.elapsedMs = m_axis.elapsedMs();
                return m_r;
            }
            // Gains measured once are not asked for again: the margin widens
            // until the model gives others.
            Design d;
            ParamNumbers p = m_current;
            const auto triedBefore = [&] {
                return std::find(tried.begin(), tried.end(), p) != tried.end();
            };
            for (int widen = 0;; ++widen) {
                d = design();
                p[kPGain] = int(d.setting.p);
                p[kIGain] = int(d.setting.i);
                p[kDGain] = int(d.setting.d);
                if (!triedBefore() || widen >= 2 || !d.found)
                    break;
                m_marginGrowth *= kMarginGrowth;
            }
            m_r.predicted = fromDesign(d.predicted);
            m_r.pMargin = d.pMargin;
            m_r.crossoverHz = d.crossoverHz;
            if ((!d.found && round > 0) || triedBefore())
                break;
            tried.push_back(p);
            const Measured m = measure(p, d.found ? Texts::tr("Ellenőrzés (fél, egyszeres és "
                                                              "kétszeres lépés)")
                                                  : Texts::tr("A legközelebbi a modell "
                                                              "szerint"));
            log(m, round == 0 ? Texts::tr("Tervezett") : Texts::tr("Javított"), m.meetsAim());
            if (m.meetsAim()) {
                if (!best || m.all.itae < best->all.itae)
                    best = m;
                // Gains at the edge of what the model was trusted with: the
                // model, shown these too, may go further from here.
                if (!m_atTrustEdge || further >= kMostFurther)
                    break;
                safe = best->params;
                // Going further is no correction: the model was right.
                ++further;
                --round;
                continue;
            }
            if (best) {
                // Going further missed the aim: the best stays.
                apply(best->params);
                break;
            }
            if (!closest || m.miss() < closest->miss())
                closest = m;
            // The model was wrong about these gains: the next fit knows what
            // they did, the margin grows, and the model is asked for as much
            // less overshoot as it foresaw too little.
            m_marginGrowth *= kMarginGrowth;
            if (d.found && m.all.settles)
                m_aimShift = std::max(m_aimShift, m.all.overshootPct - d.predicted.overshootPct);
            if (m.swung)
                apply(safe);
        }

        const Measured &shown = best ? *best : closest ? *closest : baseline;
        m_r.result = shown.all;
        m_r.halfStep = shown.half;
        m_r.doubleStep = shown.twice;
        if (shown.forwards.size() > 1)
            m_r.resultRecord = shown.forwards[1];
        finish(baseline, best ? &*best : nullptr, closest ? &*closest : nullptr);
    } catch (const Abort &a) {
        m_r.outcome = TuningResult::Outcome::Aborted;
        m_r.message = a.message;
    } catch (const AxisFailure &f) {
        m_r.outcome = TuningResult::Outcome::Aborted;
        m_r.message = Texts::tr("A vezérlő nem válaszol: %1").arg(f.reason());
    }
    if (m_r.outcome == TuningResult::Outcome::Aborted && m_r.snapshotKnown) {
        try {
            m_axis.stopAndReset();
        } catch (const AxisFailure &) {
        }
        m_r.restored = AutoTuner::restore(m_axis, m_r.snapshot, m_o.testRanges);
        m_r.tuned = m_r.snapshot;
        m_r.aimMet = false;
    }
    if (m_r.outcome != TuningResult::Outcome::Aborted && m_stepSteps < m_o.stepSteps)
        m_r.message += Texts::tr(" A lépés %1 volt: a választott %2 lépés a kiinduló "
                                 "értékekkel túl nagy hibát adott volna.")
                           .arg(m_stepSteps)
                           .arg(m_o.stepSteps);
    m_r.elapsedMs = m_axis.elapsedMs();
    return m_r;
}

bool AutoTuner::restore(TuningAxis &axis, const ParamNumbers &snapshot, const ParamRanges &ranges)
{
    try {
        for (int attempt = 0; attempt < 2; ++attempt) {
            const ParamNumbers now = axis.readBack();
            if (now == snapshot)
                return true;
            // A value outside its range is never written, whatever it was
            // taken for; nor is any other, so that nothing half goes back.
            for (int n = 0; n < 8; ++n) {
                if (now[n] != snapshot[n] &&
                    (snapshot[n] < ranges[n].first || snapshot[n] > ranges[n].second))
                    return false;
            }
            for (int n = 0; n < 8; ++n) {
                if (now[n] != snapshot[n])
                    axis.testWrite(n, snapshot[n]);
            }
        }
        return axis.readBack() == snapshot;
    } catch (const AxisFailure &) {
        return false;
    }
}

TuningResult AutoTuner::run(TuningAxis &axis)
{
    Session s(*this, axis);
    return s.run();
}

} // namespace kdx
