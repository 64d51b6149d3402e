#include "autotuner.h"

#include "core/tuningsnapshot.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

namespace kdx {

namespace {

constexpr int kVelocityFeedback = 1;
constexpr int kPGain = 2;
constexpr int kIGain = 3;
constexpr int kTorqueLimit = 4;
constexpr int kGearRatio = 6;
constexpr int kDGain = 7;

// The step must stand this far above the noise at rest.
constexpr double kStepOverNoise = 50;
// The step is chosen so that the error it makes with the gains as found
// stays within this share of the limit.
constexpr double kStepPeakShare = 0.5;
// At rest, the noise is measured over this share of the step window.
constexpr double kRestShare = 0.3;
// A window holds at least this many readings.
constexpr double kFewestReadings = 100;
// A step whose record came back too thin is taken again this many times.
constexpr int kRetakes = 2;
// A response that never settles within the window costs this many times
// its ITAE more than one that settles at once.
constexpr double kSettleWeight = 1;
// A better cost counts only when it is better by at least this share.
constexpr double kSmallestMargin = 0.03;
// Steps kept back for the verification at the end.
constexpr int kVerifyExtraSteps = 4;
// Candidates that may make the axis swing before the tuning gives up (each
// is stopped at once). The edge of the stable gains is where a search meets
// most of them; a candidate is never tried twice.
constexpr int kMostSwings = 10;
// Gains as found that swing are brought down together by halves, at most
// this many times, before the search starts from them.
constexpr int kCalmingHalvings = 5;
// Earlier best gains tried when the best fails the verification.
constexpr int kVerifyFallbacks = 2;
// The gains come down together by this factor while the cost stays as good.
constexpr double kLowerFactor = 0.85;
// Lower gains may cost at most this share more than the best found.
constexpr double kLowerGainsWorth = 0.1;
// A line search ends when its factor comes below this.
constexpr double kFinestFactor = 1.12;

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t h = v.size() / 2;
    return v.size() % 2 ? v[h] : 0.5 * (v[h - 1] + v[h]);
}

StepRecord truncated(const StepRecord &r, double windowMs)
{
    StepRecord t = r;
    t.windowMs = std::min(r.windowMs, windowMs);
    size_t n = 0;
    while (n < r.tMs.size() && r.tMs[n] <= windowMs)
        ++n;
    t.tMs.resize(n);
    t.error.resize(std::min(n, r.error.size()));
    return t;
}

QString gainText(const ParamNumbers &p)
{
    return QStringLiteral("P1=%1 P2=%2 P3=%3 P7=%4").arg(p[1]).arg(p[2]).arg(p[3]).arg(p[7]);
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
    Session(AutoTuner &owner, TuningAxis &axis) : m_owner(owner), m_o(owner.m_options), m_axis(axis)
    {
        // Damping first: it is what a ringing start lacks.
        if (m_o.tuneD)
            m_gains.push_back(kDGain);
        if (m_o.tuneP)
            m_gains.push_back(kPGain);
        if (m_o.tuneI)
            m_gains.push_back(kIGain);
        if (m_o.tuneVelocity)
            m_gains.push_back(kVelocityFeedback);
    }

    TuningResult run();

private:
    // The gains of one candidate and what its steps showed.
    struct Trial {
        ParamNumbers params{};
        std::vector<StepRecord> records; // in pairs, forward first
        std::vector<ResponseMeasure> measures;
        std::vector<double> pairCosts;
        double itaeLimit = std::numeric_limits<double>::infinity(); // baseline: never worse
        // A set of gains is as good as its worse pair: a lucky pair must not lead.
        double cost() const
        {
            return pairCosts.empty() ? std::numeric_limits<double>::infinity()
                                     : *std::max_element(pairCosts.begin(), pairCosts.end());
        }
    };

    void prepare();
    // Reads the snapshot and makes sure it can be trusted (throws Abort).
    void checkSnapshot();
    void chooseStep();
    void measureBaseline();
    void search();
    void calmDown();
    std::vector<int> calmingGains() const; // the gains halved to calm a swinging axis
    void verify();
    // Verifies one set of gains on fresh steps and at half and twice the
    // step; true when they are kept. Throws Swinging.
    bool verifyGains(const ParamNumbers &gains);
    void keepSnapshot(const QString &message);
    void abort(const QString &message);

    void checkStop();
    StepRecord takeStep(int steps);
    // Gains the tuner set made the axis swing; stopped already.
    struct Swinging {
        QString message;
    };
    void takeStepBack(int steps);
    void apply(const ParamNumbers &p);
    void addPairs(Trial &trial, int pairs, int steps);
    void score(Trial &trial) const;
    void lineSearch(const std::vector<int> &which, double factor, const QString &stage);
    double cost(const ResponseMeasure &m) const;
    GainFigures figuresOf(const Trial &trial) const;
    bool better(const Trial &candidate, const Trial &best) const;
    // Tries p as a candidate; true when it became the best: when it wins
    // (better than the best, by default) and its ITAE is not worse than the
    // baseline's.
    bool tryCandidate(const ParamNumbers &p, const QString &stage);
    bool tryCandidate(const ParamNumbers &p, const QString &stage,
                      const std::function<bool(const Trial &)> &wins);
    void preferLower();
    void tame();
    ParamNumbers scaled(const ParamNumbers &base, const std::vector<int> &which, double f) const;
    bool budgetLeftForSearch() const;
    void rejectSwinging(Trial &t, const QString &stage, const QString &message);
    void report(const QString &stage);
    void logTrial(const Trial &trial, const QString &stage, bool best);
    // Logs gains that made the axis swing, and keeps them from being tried again.
    void logSwinging(Trial trial, const QString &stage);
    bool swung(const ParamNumbers &p) const;
    // The lowest cost that led so far: the baseline's or a best's.
    double lowestLeadCost() const;

    AutoTuner &m_owner;
    const TuningOptions &m_o;
    TuningAxis &m_axis;
    std::vector<int> m_gains;
    TuningResult m_r;
    ParamNumbers m_current{};
    double m_noise = 0.5;
    int m_stepSteps = 0; // the step it tunes with: the operator's or smaller
    double m_gear = 1;   // counts per step
    double m_windowMs = 0;
    double m_margin = kSmallestMargin;
    double m_stepMsAverage = 0;
    bool m_judgingBaseline = false;
    bool m_baselineSwings = false;
    int m_swings = 0;
    Trial m_baseline;
    Trial m_best;
    std::vector<Trial> m_bests;        // every trial that led, in order
    std::vector<Trial> m_tried;        // every candidate measured, by its gains
    std::vector<ParamNumbers> m_swung; // candidates that swung: never again
    QString m_stage;
};

void AutoTuner::Session::report(const QString &stage)
{
    m_stage = stage;
    if (!m_owner.onProgress)
        return;
    TuningProgress p;
    p.stage = stage;
    const double elapsed = m_axis.elapsedMs();
    const double stepShare = double(m_r.stepsUsed) / std::max(1, m_o.maxSteps);
    const double timeShare = elapsed / std::max(1.0, m_o.budgetMs);
    p.fraction = std::clamp(std::max(stepShare, timeShare), 0.0, 1.0);
    p.msLeft = std::max(
        0.0, std::min(m_o.budgetMs - elapsed, (m_o.maxSteps - m_r.stepsUsed) * m_stepMsAverage));
    m_owner.onProgress(p);
}

void AutoTuner::Session::abort(const QString &message)
{
    throw Abort{message};
}

void AutoTuner::Session::checkStop()
{
    if (m_axis.cancelled())
        abort(QStringLiteral("A hangolást a kezelő leállította."));
    if (m_axis.elapsedMs() > m_o.budgetMs)
        abort(QStringLiteral("Lejárt a hangolásra szánt idő."));
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

StepRecord AutoTuner::Session::takeStep(int steps)
{
    for (int attempt = 0;; ++attempt) {
        checkStop();
        const double started = m_axis.elapsedMs();
        StepRecord r = m_axis.step(steps, m_windowMs, m_o.errorLimitCounts);
        ++m_r.stepsUsed;
        m_stepMsAverage = 0.8 * m_stepMsAverage + 0.2 * (m_axis.elapsedMs() - started);
        double largest = 0;
        for (double e : r.error)
            largest = std::max(largest, std::fabs(e));
        if (largest > m_o.errorLimitCounts)
            abort(QStringLiteral("A pozícióhiba (%1) túllépte a megengedett %2 értéket.")
                      .arg(largest)
                      .arg(m_o.errorLimitCounts));
        checkStop();
        if (!r.complete)
            abort(QStringLiteral("A felvétel megszakadt."));
        const ResponseMeasure m = measureResponse(r);
        if (m.grows || m.rings) {
            // Stopped at once, whatever comes next.
            m_axis.stopAndReset();
            const QString what = (m.grows ? QStringLiteral("A lengés egyre nő (%1).")
                                          : QStringLiteral("A tengely nem áll meg, leng (%1)."))
                                     .arg(gainText(m_current));
            // The gains as found may swing: that is what the tuning is for.
            if (!m_judgingBaseline)
                throw Swinging{what};
            m_baselineSwings = true;
        }
        if (m.valid)
            return r;
        // The line was too slow this once (a busy computer): the axis is
        // back where it started after the step's opposite, so take it again.
        if (attempt >= kRetakes)
            abort(QStringLiteral("Túl kevés mérés érkezett egy lépés alatt."));
        takeStepBack(steps);
    }
}

void AutoTuner::Session::takeStepBack(int steps)
{
    checkStop();
    m_axis.step(-steps, m_windowMs, m_o.errorLimitCounts);
    ++m_r.stepsUsed;
}

double AutoTuner::Session::cost(const ResponseMeasure &m) const
{
    const double aim = aimOvershootPct(m_o.aim) + 0.5;
    const double over = std::max(0.0, m.overshootPct - aim);
    double c = m.itae * (1 + kSettleWeight * m.settlingMs / m_windowMs);
    c *= (1 + 0.5 * over) * (1 + 0.5 * over);
    // Chatter at rest after the move: faster than the readings can show, so
    // no bandwidth this line could verify.
    const double chatterFloor = 2 * m_noise + 0.5;
    if (m.lateSpreadCounts > chatterFloor)
        c *= 1 + (m.lateSpreadCounts - chatterFloor);
    if (m.oscillations > 2)
        c *= 1 + 0.25 * (m.oscillations - 2);
    return c;
}

void AutoTuner::Session::addPairs(Trial &trial, int pairs, int steps)
{
    apply(trial.params);
    for (int k = 0; k < pairs; ++k) {
        trial.records.push_back(takeStep(steps));
        trial.records.push_back(takeStep(-steps));
    }
    score(trial);
}

void AutoTuner::Session::score(Trial &trial) const
{
    trial.measures.clear();
    trial.pairCosts.clear();
    for (size_t k = 0; k + 1 < trial.records.size(); k += 2) {
        const ResponseMeasure forward = measureResponse(trial.records[k]);
        const ResponseMeasure back = measureResponse(trial.records[k + 1]);
        trial.measures.push_back(forward);
        trial.measures.push_back(back);
        trial.pairCosts.push_back(0.5 * (cost(forward) + cost(back)));
    }
}

GainFigures AutoTuner::Session::figuresOf(const Trial &trial) const
{
    GainFigures f;
    std::vector<double> itae, over, settle, peak;
    for (const ResponseMeasure &m : trial.measures) {
        itae.push_back(m.itae);
        over.push_back(m.overshootPct);
        settle.push_back(m.settlingMs);
        peak.push_back(m.peakCounts);
    }
    f.itae = median(itae);
    f.overshootPct = median(over);
    f.settlingMs = median(settle);
    f.peakCounts = median(peak);
    f.cost = trial.cost();
    f.steps = int(trial.measures.size());
    return f;
}

void AutoTuner::Session::logTrial(const Trial &trial, const QString &stage, bool best)
{
    CandidateEntry e;
    e.index = int(m_r.log.size()) + 1;
    e.stage = stage;
    e.params = trial.params;
    e.figures = figuresOf(trial);
    e.best = best;
    m_r.log.push_back(e);
    if (m_owner.onCandidate)
        m_owner.onCandidate(e);
}

bool AutoTuner::Session::better(const Trial &candidate, const Trial &best) const
{
    const double c = candidate.cost(), b = best.cost();
    if (c < b * (1 - m_margin))
        return true;
    // Within the noise: the lower gains are the safer choice, unless they
    // give up the baseline's speed, which the verification insists on. The
    // noise is counted from the lowest cost that led, so that lower gains
    // cannot creep up the cost one small step at a time.
    if (c > std::min(b, lowestLeadCost()) * (1 + m_margin))
        return false;
    if (figuresOf(candidate).itae > m_baseline.itaeLimit)
        return false;
    bool lower = false;
    for (int n : m_gains) {
        if (candidate.params[n] > best.params[n])
            return false;
        lower = lower || candidate.params[n] < best.params[n];
    }
    return lower;
}

ParamNumbers AutoTuner::Session::scaled(const ParamNumbers &base, const std::vector<int> &which,
                                        double f) const
{
    ParamNumbers p = base;
    for (int n : which) {
        const auto [lo, hi] = m_o.testRanges[n];
        int v = int(std::lround(base[n] * f));
        if (v == base[n])
            v += f > 1 ? 1 : -1;
        p[n] = std::clamp(v, lo, hi);
    }
    return p;
}

bool AutoTuner::Session::budgetLeftForSearch() const
{
    const int reserve = 2 * m_o.pairs * 2 + kVerifyExtraSteps + 4;
    if (m_r.stepsUsed + reserve > m_o.maxSteps)
        return false;
    const double reserveMs = (reserve + 2) * m_stepMsAverage * 1.3;
    return m_axis.elapsedMs() + reserveMs < m_o.budgetMs;
}

bool AutoTuner::Session::tryCandidate(const ParamNumbers &p, const QString &stage)
{
    return tryCandidate(p, stage, [this](const Trial &t) { return better(t, m_best); });
}

bool AutoTuner::Session::tryCandidate(const ParamNumbers &p, const QString &stage,
                                      const std::function<bool(const Trial &)> &wins)
{
    if (p == m_best.params || !budgetLeftForSearch())
        return false;
    if (swung(p))
        return false;
    // Gains tried before are judged again on what they showed, without
    // new steps, unless they now win on a single pair.
    auto known =
        std::find_if(m_tried.begin(), m_tried.end(), [&](const Trial &k) { return k.params == p; });
    Trial t;
    t.params = p;
    if (known != m_tried.end())
        t = *known;
    const int steps = m_stepSteps;
    try {
        const auto leads = [&] {
            return wins(t) && figuresOf(t).itae <= m_baseline.itaeLimit * (1 + m_margin);
        };
        bool measured = false;
        if (t.records.empty()) {
            report(stage);
            addPairs(t, 1, steps);
            measured = true;
        }
        bool won = leads();
        if (won && t.pairCosts.size() < 2) {
            // One pair may have been lucky: judge it on another before it
            // leads (its cost is its worse pair).
            report(stage);
            addPairs(t, 1, steps);
            measured = true;
            won = leads();
        }
        if (known != m_tried.end())
            *known = t;
        else
            m_tried.push_back(t);
        if (measured || won)
            logTrial(t, stage, won);
        if (won) {
            m_best = t;
            m_bests.push_back(t);
        }
        return won;
    } catch (const Swinging &s) {
        rejectSwinging(t, stage, s.message);
        return false;
    }
}

void AutoTuner::Session::logSwinging(Trial trial, const QString &stage)
{
    trial.pairCosts = {std::numeric_limits<double>::infinity()};
    logTrial(trial, stage + QStringLiteral(" – leng, elvetve"), false);
    if (!swung(trial.params))
        m_swung.push_back(trial.params);
}

bool AutoTuner::Session::swung(const ParamNumbers &p) const
{
    return std::find(m_swung.begin(), m_swung.end(), p) != m_swung.end();
}

double AutoTuner::Session::lowestLeadCost() const
{
    double lowest = m_baseline.cost();
    for (const Trial &b : m_bests)
        lowest = std::min(lowest, b.cost());
    return lowest;
}

void AutoTuner::Session::rejectSwinging(Trial &t, const QString &stage, const QString &message)
{
    // The candidate is out; the best gains go back and must hold still, or
    // the tuning ends and the snapshot goes back.
    logSwinging(t, stage);
    if (++m_swings > kMostSwings)
        abort(message + QStringLiteral(" Leállítva."));
    // The best must still hold still; gains as found that swing are known to.
    // A best that swings now sits too near the edge: it is out as well, and
    // the gains that led before it take its place, under the same rule.
    // Gains that calmed a swinging start and swing now give way to half of
    // them, which are measured on the pair that shows they hold still.
    for (;;) {
        apply(m_best.params);
        if (m_best.params == m_baseline.params && m_baselineSwings)
            return;
        try {
            StepRecord forward = takeStep(m_stepSteps);
            StepRecord back = takeStep(-m_stepSteps);
            if (m_best.records.empty()) {
                m_best.records = {forward, back};
                score(m_best);
                logTrial(m_best, QStringLiteral("Lengés csillapítása"), true);
                m_bests.push_back(m_best);
                m_tried.push_back(m_best);
            }
            return;
        } catch (const Swinging &again) {
            if (m_best.params == m_baseline.params || ++m_swings > kMostSwings)
                abort(again.message + QStringLiteral(" Leállítva."));
            const Trial out = m_best;
            logSwinging(out, QStringLiteral("Legjobb"));
            std::erase_if(m_bests, [&](const Trial &b) { return b.params == out.params; });
            m_best = m_bests.empty() ? m_baseline : m_bests.back();
            if (m_best.params == m_baseline.params && m_baselineSwings) {
                m_best = Trial{};
                m_best.params = scaled(out.params, calmingGains(), 0.5);
                if (swung(m_best.params))
                    abort(again.message + QStringLiteral(" Leállítva."));
            }
        }
    }
}

void AutoTuner::Session::checkSnapshot()
{
    // What goes back at the end must be what the controller held: two reads
    // that agree with each other and with the window, every value within
    // its range. Nothing has been changed yet when one of them fails.
    m_r.snapshot = m_axis.readBack();
    const ParamNumbers again = m_axis.readBack();
    const QString notStarted = QStringLiteral(" A hangolás nem indul.");
    for (int n = 0; n < 8; ++n) {
        if (again[n] != m_r.snapshot[n])
            abort(QStringLiteral("A paraméterek két kiolvasása eltér: P%1 = %2, majd %3.")
                      .arg(n)
                      .arg(m_r.snapshot[n])
                      .arg(again[n]) +
                  notStarted);
    }
    const QString wrong = rangeProblems(m_r.snapshot, m_o.testRanges);
    if (!wrong.isEmpty())
        abort(QStringLiteral("Hibás kiolvasott érték: %1.").arg(wrong) + notStarted);
    if (m_o.shown) {
        for (int n = 0; n < 8; ++n) {
            if ((*m_o.shown)[n] != m_r.snapshot[n])
                abort(QStringLiteral("P%1 a vezérlőben %2, az ablakban %3. Olvassa ki újra a "
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
    report(QStringLiteral("Paraméterek kiolvasása"));
    checkSnapshot();
    m_r.snapshotKnown = true;
    m_current = m_r.snapshot;
    if (m_owner.onSnapshot)
        m_owner.onSnapshot(m_r.snapshot);

    ParamNumbers capped = m_current;
    if (m_o.torqueCap > 0 && capped[kTorqueLimit] > m_o.torqueCap)
        capped[kTorqueLimit] = m_o.torqueCap;
    apply(capped);

    report(QStringLiteral("Zaj mérése nyugalomban"));
    m_axis.stopAndReset();
    m_windowMs = m_o.windowMs;
    m_stepMsAverage = m_o.windowMs;
    const StepRecord rest = m_axis.rest(kRestShare * m_o.windowMs);
    const ResponseMeasure quiet = [&] {
        StepRecord r = rest;
        r.stepCounts = 1;
        return measureResponse(r);
    }();
    if (!quiet.valid)
        abort(QStringLiteral("A tengely nem válaszol elég gyorsan a mérésekhez."));
    double sum = 0, sumSq = 0;
    for (double e : rest.error) {
        sum += e;
        sumSq += e * e;
    }
    const double n = double(rest.error.size());
    const double mean = sum / n;
    m_noise = std::max(0.5, std::sqrt(std::max(0.0, sumSq / n - mean * mean)));
    m_r.noiseCounts = m_noise;
    m_r.sampleRateHz = quiet.sampleRateHz;

    m_gear = m_current[kGearRatio] > 0 ? m_current[kGearRatio] / 1024.0 : 1.0;
    m_stepSteps = m_o.stepSteps;
    m_r.stepSteps = m_stepSteps;
    const double stepCounts = m_stepSteps * m_gear;
    if (stepCounts < kStepOverNoise * m_noise)
        abort(QStringLiteral("A lépés (%1 impulzus) túl kicsi a zajhoz (%2) képest.")
                  .arg(stepCounts)
                  .arg(m_noise, 0, 'f', 1));
}

void AutoTuner::Session::chooseStep()
{
    // A quarter step first, with the gains as found: a wild axis takes a
    // smaller step, so that its error stays within half the limit.
    const int probe = m_o.stepSteps / 4;
    if (probe * m_gear < kStepOverNoise * m_noise)
        return;
    m_judgingBaseline = true;
    double peak = 0;
    for (const StepRecord &r : {takeStep(probe), takeStep(-probe)}) {
        for (double e : r.error)
            peak = std::max(peak, std::fabs(e));
    }
    m_judgingBaseline = false;
    if (peak <= 0)
        return;
    const double fits = probe * kStepPeakShare * m_o.errorLimitCounts / peak;
    m_stepSteps = std::clamp(int(fits), probe, m_o.stepSteps);
    m_r.stepSteps = m_stepSteps;
}

void AutoTuner::Session::measureBaseline()
{
    report(QStringLiteral("Kiinduló állapot mérése"));
    chooseStep();
    m_baseline.params = m_current;
    m_judgingBaseline = true;
    addPairs(m_baseline, m_o.pairs, m_stepSteps);
    m_judgingBaseline = false;

    // The window follows the axis: three times what the baseline needs to
    // settle, so that every candidate is judged on the same span.
    double slowest = 0;
    for (const ResponseMeasure &m : m_baseline.measures)
        slowest = std::max(slowest, m.settled ? m.settlingMs : m_o.windowMs);
    const double shortest = kFewestReadings * 1000 / std::max(1.0, m_r.sampleRateHz);
    m_windowMs = std::clamp(3 * slowest, std::min(shortest, m_o.windowMs), m_o.windowMs);
    for (StepRecord &r : m_baseline.records)
        r = truncated(r, m_windowMs);
    score(m_baseline);

    // How much the same gains differ from pair to pair: smaller differences
    // between candidates are noise.
    double lo = m_baseline.pairCosts.front(), hi = lo;
    for (double c : m_baseline.pairCosts) {
        lo = std::min(lo, c);
        hi = std::max(hi, c);
    }
    if (m_baseline.cost() > 0)
        m_margin = std::clamp((hi - lo) / m_baseline.cost(), kSmallestMargin, 0.15);
    m_baseline.itaeLimit = figuresOf(m_baseline).itae;
    logTrial(m_baseline, QStringLiteral("Kiinduló"), true);
    m_r.baseline = figuresOf(m_baseline);
    m_r.baselineRecord = m_baseline.records.front();
}

void AutoTuner::Session::lineSearch(const std::vector<int> &which, double factor,
                                    const QString &stage)
{
    const bool overshooting = figuresOf(m_best).overshootPct > aimOvershootPct(m_o.aim);
    for (double f = factor; f > kFinestFactor; f = std::sqrt(f)) {
        for (double dir : {overshooting ? -1.0 : 1.0, overshooting ? 1.0 : -1.0}) {
            if (!tryCandidate(scaled(m_best.params, which, std::pow(f, dir)), stage))
                continue;
            while (tryCandidate(scaled(m_best.params, which, std::pow(f, dir)), stage)) {
            }
            break;
        }
        if (!budgetLeftForSearch())
            return;
    }
}

std::vector<int> AutoTuner::Session::calmingGains() const
{
    std::vector<int> which;
    for (int n : m_gains) {
        if (n == kPGain || n == kIGain)
            which.push_back(n);
    }
    return which.empty() ? m_gains : which;
}

void AutoTuner::Session::calmDown()
{
    // Gains as found that keep the axis swinging: the P and I gains come
    // down by halves, the damping stays, until the axis holds still; the
    // search goes on from there. These swings come from the gains as found,
    // so they do not count against the search.
    if (!m_baselineSwings)
        return;
    const std::vector<int> which = calmingGains();
    const int swingsBefore = m_swings;
    const QString stage = QStringLiteral("Lengés csillapítása");
    double f = 1;
    for (int k = 0; k < kCalmingHalvings && m_best.params == m_baseline.params; ++k) {
        f *= 0.5;
        const size_t swung = m_swung.size();
        tryCandidate(scaled(m_baseline.params, which, f), stage);
        if (m_swung.size() == swung)
            break; // holds still: better or not, lower is no use
    }
    m_swings = swingsBefore;
}

void AutoTuner::Session::search()
{
    m_best = m_baseline;
    calmDown();
    // Gain units differ from axis to axis: first find the overall level with
    // every gain moving together, then shape the response one gain at a time.
    // Once shaped, the level again: a better-damped loop may take more.
    const QString together = QStringLiteral("Együttes erősítés");
    lineSearch(m_gains, 2.0, together);
    for (double factor : {1.6, 1.25}) {
        for (int n : m_gains)
            lineSearch({n}, factor, QStringLiteral("P%1 hangolása").arg(n));
        lineSearch(m_gains, factor, together);
    }
    if (m_best.params != m_baseline.params) {
        tame();
        preferLower();
    }
}

void AutoTuner::Session::preferLower()
{
    // Where P and D can grow together the cost falls only slowly, and where
    // the search stopped on that slope is partly chance. All tuned gains
    // come down together while the cost stays within the noise of the best
    // found: the lowest gains that are as good are the safer choice, and the
    // same from run to run.
    // Two measured costs of the same gains differ by up to twice the spread;
    // lower gains are not worth more than a tenth of the cost, however noisy.
    const double asGood =
        std::min(m_best.cost(), lowestLeadCost()) * (1 + std::min(2 * m_margin, kLowerGainsWorth));
    const QString stage = QStringLiteral("Alacsonyabb erősítés");
    while (tryCandidate(scaled(m_best.params, m_gains, kLowerFactor), stage, [&](const Trial &t) {
        return t.cost() <= asGood && figuresOf(t).itae <= m_baseline.itaeLimit;
    })) {
    }
}

void AutoTuner::Session::tame()
{
    // The cost weighs overshoot against speed; where the best still passes
    // the goal by more than a point beyond the aim, less I, then less P, win
    // whenever they bring the overshoot down, as long as the ITAE stays
    // within the baseline's.
    const double aim = aimOvershootPct(m_o.aim);
    const QString stage = QStringLiteral("Túllendülés csökkentése");
    while (figuresOf(m_best).overshootPct > aim + 1 && budgetLeftForSearch()) {
        const double over = figuresOf(m_best).overshootPct;
        const auto lower = [&](const Trial &t) {
            return figuresOf(t).overshootPct <= std::max(aim, over - 1.5);
        };
        const bool won =
            (m_o.tuneI && tryCandidate(scaled(m_best.params, {kIGain}, 0.5), stage, lower)) ||
            (m_o.tuneP && tryCandidate(scaled(m_best.params, {kPGain}, 0.8), stage, lower));
        if (!won)
            return;
    }
}

void AutoTuner::Session::keepSnapshot(const QString &message)
{
    m_r.outcome = TuningResult::Outcome::NoBetter;
    m_r.message = message;
    m_r.restored = AutoTuner::restore(m_axis, m_r.snapshot, m_o.testRanges);
    m_current = m_r.snapshot;
    m_r.tuned = m_r.snapshot;
}

void AutoTuner::Session::verify()
{
    report(QStringLiteral("Ellenőrzés"));
    const QString noBetter = QStringLiteral("Nem találtam a mostaninál jobb beállítást; "
                                            "a kiinduló értékek maradnak.");
    if (m_best.params == m_baseline.params) {
        m_r.result = m_r.baseline;
        m_r.resultRecord = m_r.baselineRecord;
        keepSnapshot(noBetter);
        return;
    }
    // The best first; should it swing on fresh steps or at another step
    // size, or prove no better than the gains as found, the gains that led
    // before it, while steps and time are left.
    std::vector<ParamNumbers> order{m_best.params};
    for (auto it = m_bests.rbegin(); it != m_bests.rend(); ++it) {
        if (int(order.size()) > kVerifyFallbacks)
            break;
        if (std::find(order.begin(), order.end(), it->params) == order.end())
            order.push_back(it->params);
    }
    const int stepsPerCheck = 2 * m_o.pairs * 2 + kVerifyExtraSteps;
    bool anySwung = false, notBetter = false;
    for (const ParamNumbers &p : order) {
        if ((anySwung || notBetter) &&
            (m_r.stepsUsed + stepsPerCheck > m_o.maxSteps ||
             m_axis.elapsedMs() + (stepsPerCheck + 2) * m_stepMsAverage * 1.3 > m_o.budgetMs))
            break;
        try {
            if (verifyGains(p))
                return;
            notBetter = true;
        } catch (const Swinging &s) {
            anySwung = true;
            Trial t;
            t.params = p;
            logSwinging(t, QStringLiteral("Ellenőrzés"));
        }
    }
    keepSnapshot(notBetter ? noBetter
                           : QStringLiteral("A legjobb talált értékekkel a tengely az ellenőrzés "
                                            "közben lengett; a kiinduló értékek maradnak."));
}

bool AutoTuner::Session::verifyGains(const ParamNumbers &gains)
{
    const int steps = m_stepSteps;
    Trial fresh;
    fresh.params = gains;
    addPairs(fresh, m_o.pairs, steps);
    m_r.result = figuresOf(fresh);
    m_r.resultRecord = fresh.records.front();

    // Never worse than found: not in cost, not in ITAE.
    if (!(fresh.cost() < m_baseline.cost()) || m_r.result.itae > m_r.baseline.itae) {
        logTrial(fresh, QStringLiteral("Ellenőrzés"), false);
        return false;
    }

    // The same gains must also hold at half and at twice the step.
    Trial half;
    half.params = gains;
    addPairs(half, 1, std::max(1, steps / 2));
    m_r.halfStep = figuresOf(half);
    // Twice the step only where its following error stays inside the limit.
    m_r.doubleStep = GainFigures{};
    if (2 * steps <= 9999 && 2.2 * m_r.result.peakCounts < m_o.errorLimitCounts) {
        Trial twice;
        twice.params = gains;
        addPairs(twice, 1, 2 * steps);
        m_r.doubleStep = figuresOf(twice);
    }
    logTrial(fresh, QStringLiteral("Ellenőrzés"), true);

    // Back to the operator's torque limit; the gains stay for the decision.
    ParamNumbers final = gains;
    final[kTorqueLimit] = m_r.snapshot[kTorqueLimit];
    apply(final);
    m_axis.stopAndReset();
    m_r.tuned = final;
    m_r.outcome = TuningResult::Outcome::Tuned;
    m_r.message = QStringLiteral("Kész: %1 (ITAE %2 → %3).")
                      .arg(gainText(final))
                      .arg(m_r.baseline.itae, 0, 'f', 0)
                      .arg(m_r.result.itae, 0, 'f', 0);
    return true;
}

TuningResult AutoTuner::Session::run()
{
    try {
        prepare();
        measureBaseline();
        search();
        verify();
    } catch (const Swinging &s) {
        m_r.outcome = TuningResult::Outcome::Aborted;
        m_r.message = s.message + QStringLiteral(" Leállítva.");
    } catch (const Abort &a) {
        m_r.outcome = TuningResult::Outcome::Aborted;
        m_r.message = a.message;
    } catch (const AxisFailure &f) {
        m_r.outcome = TuningResult::Outcome::Aborted;
        m_r.message = QStringLiteral("A vezérlő nem válaszol: %1").arg(f.reason());
    }
    if (m_r.outcome == TuningResult::Outcome::Aborted && m_r.snapshotKnown) {
        try {
            m_axis.stopAndReset();
        } catch (const AxisFailure &) {
        }
        m_r.restored = AutoTuner::restore(m_axis, m_r.snapshot, m_o.testRanges);
        m_r.tuned = m_r.snapshot;
    }
    if (m_r.outcome != TuningResult::Outcome::Aborted && m_stepSteps < m_o.stepSteps)
        m_r.message += QStringLiteral(" A lépés %1 volt: a választott %2 lépés a kiinduló "
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
