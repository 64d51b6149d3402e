#include "familybench.h"

#include "benchterminal.h"
#include "plant.h"
#include "referencesearch.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

namespace kdx::bench {

namespace {

constexpr int kExitMissed = 1;
constexpr int kExitBroken = 2;
constexpr int kDefaultStep = 1000;    // the tuner's own default
constexpr double kSlackPoints = 2;    // a result may pass the goal this much beyond its aim
constexpr double kResultShare = 0.95; // of the sound axes
constexpr double kMedianRatio = 1.25; // ITAE against the reference's
constexpr double kP90Ratio = 2;
constexpr double kMedianAxisSeconds = 45;
constexpr double kMaxAxisSeconds = 120;
constexpr double kMedianMoves = 40;
constexpr double kP2Agreement = 0.10;

double aimPct(TuningAim aim)
{
    return aimOvershootPct(aim);
}

// Whether the tuner said that the gains it left meet the aim, when its
// result tells (a tuner whose result does not is judged offline instead).
template <typename Result> std::optional<bool> reportedAimMet(const Result &r)
{
    if constexpr (requires { r.aimMet; })
        return bool(r.aimMet);
    else
        return std::nullopt;
}

QString outcomeName(TuningResult::Outcome outcome)
{
    switch (outcome) {
    case TuningResult::Outcome::Tuned:
        return QStringLiteral("Tuned");
    case TuningResult::Outcome::NoBetter:
        return QStringLiteral("NoBetter");
    case TuningResult::Outcome::Aborted:
        return QStringLiteral("Aborted");
    }
    return QStringLiteral("?");
}

using Tuning = BenchTuning;

// One tuning with the default options on the seed's axis.
Tuning tune(quint64 seed, TuningAim aim, double timeScale)
{
    TuningOptions options;
    options.aim = aim;
    return tuneOnKdxsim({QStringLiteral("--latency"), QStringLiteral("1"),
                         QStringLiteral("--plant"), QStringLiteral("random:%1").arg(seed)},
                        options, timeScale);
}

struct Verdict {
    quint64 seed = 0;
    TuningAim aim = TuningAim::Balanced;
    family::Reference reference; // at the default step: whether the axis is sound for the aim
    family::Reference atStep;    // at the step the tuning used, for the ITAE ratio
    Tuning tuning;
    int step = kDefaultStep;
    family::Gains gains;      // left in force
    family::Judgement judged; // of those gains, on the same axis
    bool result = false;      // new gains, or the gains as found meeting the aim
    double ratio = std::numeric_limits<double>::quiet_NaN(); // ITAE against the reference's
    QStringList reasons;                                     // why missed
    bool sound() const { return reference.found; }
    bool aborted() const { return tuning.result.outcome == TuningResult::Outcome::Aborted; }
};

Verdict judge(quint64 seed, TuningAim aim, const Tuning &t, family::ReferenceCache &cache)
{
    Verdict v;
    v.seed = seed;
    v.aim = aim;
    v.tuning = t;
    const TuningResult &r = t.result;
    v.step = r.stepSteps > 0 ? r.stepSteps : kDefaultStep;
    // Sound or not is the axis's own: a tuning that chose a smaller step
    // does not make it unsound. Its ITAE is held against the best at its
    // own step.
    v.reference = cache.reference(seed, aimPct(aim), kDefaultStep);
    v.atStep = v.step == kDefaultStep ? v.reference : cache.reference(seed, aimPct(aim), v.step);
    v.gains = {r.tuned[2], r.tuned[3], r.tuned[7]};
    if (!r.snapshotKnown && r.outcome == TuningResult::Outcome::Aborted)
        v.gains = {}; // never read: the factory gains stayed
    const sim::Plant plant = sim::randomPlant(seed);
    v.judged = family::judgeGains(plant, v.gains, v.step);
    const bool meets = v.judged.meets(aimPct(aim), kSlackPoints);
    if (r.outcome == TuningResult::Outcome::Tuned)
        v.result = true;
    else if (r.outcome == TuningResult::Outcome::NoBetter)
        v.result = reportedAimMet(r).value_or(meets);
    if (v.result && v.sound() && v.atStep.found)
        v.ratio = v.judged.itae / v.atStep.judgement.itae;

    QString message = r.message;
    message.replace(u'\n', u' ');
    if (v.aborted() && v.sound())
        v.reasons << QStringLiteral("aborted: ") + message;
    else if (!v.result && v.sound())
        v.reasons << QStringLiteral("no result: ") + message;
    if (v.result && !v.judged.withinAim(aimPct(aim), kSlackPoints))
        v.reasons << QStringLiteral("overshoot beyond the aim + %1").arg(kSlackPoints);
    if (v.result && !v.judged.settledEverywhere())
        v.reasons << QStringLiteral("not settled at every size");
    if (t.axisSeconds > kMaxAxisSeconds)
        v.reasons << QStringLiteral("over %1 s").arg(kMaxAxisSeconds);
    return v;
}

QString yesNo(bool b)
{
    return b ? QStringLiteral("yes") : QStringLiteral("no");
}

void printLine(const Verdict &v)
{
    const TuningResult &r = v.tuning.result;
    const family::Judgement &j = v.judged;
    QString itae = QStringLiteral("ITAE %1").arg(j.itae, 0, 'f', 0);
    if (v.sound())
        itae += std::isfinite(v.ratio) ? QStringLiteral(" x%1").arg(v.ratio, 0, 'f', 2)
                                       : QStringLiteral(" x-");
    auto reference = [](const family::Reference &ref) {
        return ref.found ? QStringLiteral("ref %1 at %2/%3/%4")
                               .arg(ref.judgement.itae, 0, 'f', 0)
                               .arg(ref.gains.p)
                               .arg(ref.gains.i)
                               .arg(ref.gains.d)
                         : QStringLiteral("no reference");
    };
    if (!v.sound())
        itae += QStringLiteral(" (no reference: not sound)");
    else if (v.step == kDefaultStep)
        itae += QStringLiteral(" (%1)").arg(reference(v.reference));
    else
        itae += QStringLiteral(" (%1; at step %2 %3)")
                    .arg(reference(v.reference))
                    .arg(v.step)
                    .arg(reference(v.atStep));
    std::printf("family %llu %s %s P2/P3/P7 %d/%d/%d | step %d | overshoot %.1f %% | settled "
                "%s/%s/%s | %s | %.1f s %d moves | %s%s\n",
                static_cast<unsigned long long>(v.seed), qPrintable(aimName(v.aim)),
                qPrintable(outcomeName(r.outcome)), v.gains.p, v.gains.i, v.gains.d, v.step,
                j.worstOvershootPct, qPrintable(yesNo(j.settled[family::Half])),
                qPrintable(yesNo(j.settled[family::One])),
                qPrintable(yesNo(j.settled[family::Double])), qPrintable(itae),
                v.tuning.axisSeconds, r.stepsUsed,
                v.reasons.isEmpty() ? "" : qPrintable(v.reasons.join(QStringLiteral("; ")) + " | "),
                v.reasons.isEmpty() ? "met" : "missed");
    std::fflush(stdout);
}

double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(share * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

double median(std::vector<double> values)
{
    if (values.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return (values[(n - 1) / 2] + values[n / 2]) / 2;
}

// The figures of a set of verdicts; each target met or not.
struct Figures {
    int pairs = 0, sound = 0, aborts = 0, results = 0, soundResults = 0, resultsMeeting = 0;
    double ratioMedian = 0, ratioP90 = 0, secondsMedian = 0, secondsMax = 0, movesMedian = 0;

    explicit Figures(const std::vector<Verdict> &verdicts)
    {
        std::vector<double> ratios, seconds, moves;
        for (const Verdict &v : verdicts) {
            ++pairs;
            sound += v.sound();
            aborts += v.sound() && v.aborted();
            results += v.result;
            soundResults += v.sound() && v.result;
            resultsMeeting += v.result && v.judged.meets(aimPct(v.aim), kSlackPoints);
            if (std::isfinite(v.ratio))
                ratios.push_back(v.ratio);
            seconds.push_back(v.tuning.axisSeconds);
            moves.push_back(v.tuning.result.stepsUsed);
        }
        ratioMedian = median(ratios);
        ratioP90 = percentile(ratios, 0.9);
        secondsMedian = median(seconds);
        secondsMax = seconds.empty() ? 0 : *std::max_element(seconds.begin(), seconds.end());
        movesMedian = median(moves);
    }

    double resultShare() const { return sound ? double(soundResults) / sound : 1; }
    bool abortsMet() const { return aborts == 0; }
    bool resultsMet() const { return resultShare() >= kResultShare; }
    bool qualityMet() const { return resultsMeeting == results; }
    bool ratioMedianMet() const { return !(ratioMedian > kMedianRatio); }
    bool ratioP90Met() const { return !(ratioP90 > kP90Ratio); }
    bool timeMet() const
    {
        return !(secondsMedian > kMedianAxisSeconds) && !(secondsMax > kMaxAxisSeconds) &&
               !(movesMedian > kMedianMoves);
    }
    bool allMet() const
    {
        return abortsMet() && resultsMet() && qualityMet() && ratioMedianMet() && ratioP90Met() &&
               timeMet();
    }
};

const char *metOrMissed(bool met)
{
    return met ? "met" : "missed";
}

void printAimFigures(TuningAim aim, const Figures &f)
{
    std::printf("family aim %s: sound %d/%d, results %d/%d (%.0f %%), aim met and settled on "
                "%d/%d results, ITAE ratio median %.2f p90 %.2f, axis time median %.1f s max "
                "%.1f s, moves median %.0f\n",
                qPrintable(aimName(aim)), f.sound, f.pairs, f.soundResults, f.sound,
                100 * f.resultShare(), f.resultsMeeting, f.results, f.ratioMedian, f.ratioP90,
                f.secondsMedian, f.secondsMax, f.movesMedian);
}

} // namespace

QString aimName(TuningAim aim)
{
    switch (aim) {
    case TuningAim::NoOvershoot:
        return QStringLiteral("no-overshoot");
    case TuningAim::Balanced:
        return QStringLiteral("balanced");
    case TuningAim::Fast:
        return QStringLiteral("fast");
    }
    return QString();
}

bool aimFromName(const QString &name, TuningAim *aim)
{
    for (TuningAim a : {TuningAim::NoOvershoot, TuningAim::Balanced, TuningAim::Fast}) {
        if (name == aimName(a)) {
            *aim = a;
            return true;
        }
    }
    return false;
}

int runFamilyBench(const FamilyBenchSettings &settings)
{
    QList<quint64> seeds = settings.seeds;
    if (seeds.isEmpty()) {
        for (int s = 1; s <= settings.axes; ++s)
            seeds.append(quint64(s));
    }
    family::ReferenceCache cache(settings.referenceCache);

    std::printf(
        "kdxbench --tune-family: %lld axes (kdxsim --plant random:SEED, family version %d), "
        "aims %s; kdxsim at 38400 baud, latency 1 ms, %gx real time; default options; "
        "judged offline at 1/2, 1 and 2 x the step the tuning used, both directions; "
        "times in axis time\n",
        static_cast<long long>(seeds.size()), sim::FamilyVersion, qPrintable([&] {
            QStringList names;
            for (TuningAim a : settings.aims)
                names << aimName(a);
            return names.join(u',');
        }()),
        settings.timeScale);
    std::fflush(stdout);

    bool allRan = true;
    std::vector<Verdict> verdicts;
    for (quint64 seed : seeds) {
        for (TuningAim aim : settings.aims) {
            if (settings.verbose)
                std::fprintf(stderr, "random:%llu: %s\n", static_cast<unsigned long long>(seed),
                             qPrintable(sim::describePlant(sim::randomPlant(seed))));
            const Tuning t = tune(seed, aim, settings.timeScale);
            if (!t.ran) {
                allRan = false;
                std::printf("family %llu %s could not run | missed\n",
                            static_cast<unsigned long long>(seed), qPrintable(aimName(aim)));
                continue;
            }
            verdicts.push_back(judge(seed, aim, t, cache));
            if (settings.verbose) {
                for (const CandidateEntry &e : t.result.log)
                    std::fprintf(stderr,
                                 "  %d %s P2=%d P3=%d P7=%d ITAE %.0f overshoot %.1f %% %s\n",
                                 e.index, qPrintable(e.stage), e.params[2], e.params[3],
                                 e.params[7], e.figures.itae, e.figures.overshootPct,
                                 e.figures.settles ? "settles" : "unsettled");
                std::fprintf(stderr, "  fit %.1f %%, P margin %.2f, corrections %d\n",
                             t.result.fitErrorPct, t.result.pMargin, t.result.corrections);
                std::fprintf(stderr, "  %s\n", qPrintable(t.result.message));
            }
            printLine(verdicts.back());
        }
    }

    // Repeatability: the first sound axes, aim balanced (or the first aim), again and again.
    const TuningAim repeatAim = settings.aims.contains(TuningAim::Balanced)
                                    ? TuningAim::Balanced
                                    : settings.aims.value(0, TuningAim::Balanced);
    int repeatedAxes = 0, agreeing = 0;
    for (const Verdict &first : verdicts) {
        if (settings.repeats < 2 || repeatedAxes >= settings.repeatAxes)
            break;
        if (first.aim != repeatAim || !first.sound())
            continue;
        ++repeatedAxes;
        std::vector<int> p2;
        bool allResults = first.result;
        p2.push_back(first.gains.p);
        for (int k = 1; k < settings.repeats; ++k) {
            const Tuning t = tune(first.seed, repeatAim, settings.timeScale);
            if (!t.ran) {
                allRan = false;
                allResults = false;
                continue;
            }
            const Verdict again = judge(first.seed, repeatAim, t, cache);
            allResults = allResults && again.result;
            p2.push_back(again.gains.p);
        }
        std::vector<double> values(p2.begin(), p2.end());
        const double mid = median(values);
        bool agree = allResults;
        QStringList list;
        for (int p : p2) {
            agree = agree && std::abs(p - mid) <= kP2Agreement * mid;
            list << QString::number(p);
        }
        agreeing += agree;
        std::printf("family repeat %llu %s P2 over %zu runs: %s (within +-10 %% of %g%s) | %s\n",
                    static_cast<unsigned long long>(first.seed), qPrintable(aimName(repeatAim)),
                    p2.size(), qPrintable(list.join(u' ')), mid,
                    allResults ? "" : "; a run without a result", metOrMissed(agree));
        std::fflush(stdout);
    }

    for (TuningAim aim : settings.aims) {
        std::vector<Verdict> ofAim;
        std::copy_if(verdicts.begin(), verdicts.end(), std::back_inserter(ofAim),
                     [aim](const Verdict &v) { return v.aim == aim; });
        printAimFigures(aim, Figures(ofAim));
    }
    const Figures f(verdicts);
    const bool repeatMet = agreeing == repeatedAxes;
    const bool allMet = f.allMet() && repeatMet;
    std::printf(
        "family summary: sound %d/%d; no abort on a sound axis: %d aborts %s; results on %d/%d "
        "sound (%.0f %%, >= 95 %%) %s; aim within 2 points and settled on %d/%d results %s; "
        "ITAE ratio median %.2f (<= 1.25) %s, p90 %.2f (<= 2) %s; axis time median %.1f s "
        "(<= 45) max %.1f s (<= 120), moves median %.0f (<= 40) %s; P2 within +-10 %% on "
        "%d/%d repeated axes %s | %s\n",
        f.sound, f.pairs, f.aborts, metOrMissed(f.abortsMet()), f.soundResults, f.sound,
        100 * f.resultShare(), metOrMissed(f.resultsMet()), f.resultsMeeting, f.results,
        metOrMissed(f.qualityMet()), f.ratioMedian, metOrMissed(f.ratioMedianMet()), f.ratioP90,
        metOrMissed(f.ratioP90Met()), f.secondsMedian, f.secondsMax, f.movesMedian,
        metOrMissed(f.timeMet()), agreeing, repeatedAxes, metOrMissed(repeatMet),
        allMet ? "met" : "missed");
    std::printf("family references: %d from %s, %d searched\n", cache.hits(),
                qPrintable(settings.referenceCache), cache.searched());
    if (!allRan)
        return kExitBroken;
    return allMet ? 0 : kExitMissed;
}

} // namespace kdx::bench
