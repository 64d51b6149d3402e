// The auto-tuner's parts against the simulated axes in simulated time.
//
//   kdxtunelab --fit nominal            steps with the factory gains, the model fitted to them
//   kdxtunelab --fit laggy --gains 600,10,80
#include "core/autotuner.h"
#include "core/loopdesign.h"
#include "core/loopfit.h"
#include "core/stepfigures.h"
#include "plant.h"
#include "simtuningaxis.h"
#include "syntheticaxis.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

using namespace kdx;

namespace {

LoopSetting settingOf(const ParamNumbers &p)
{
    LoopSetting s;
    s.p = p[2];
    s.i = p[3];
    s.d = p[7];
    s.torqueLimit = p[4];
    s.rampCountsPerMs = p[0] / 16.0 * p[6] / 1024.0;
    return s;
}

void printModel(const LoopModel &m)
{
    std::printf("model: drive %.4g  P %.4g  I %.4g  D %.4g  viscous %.4g  coulomb %.2f  "
                "breakaway %.2f  load %.2f  delay %.2f ms  lag %.2f ms  D on %s\n",
                m.drive, m.pScale, m.iScale, m.dScale, m.viscous, m.coulomb, m.breakaway, m.load,
                m.delayMs, m.lagMs, m.derivativeOnMeasurement ? "measurement" : "error");
}

// The figures of gains on the simulated axis itself: ±½, ±1, ±2 steps,
// sampled every 3 or 4 ms.
struct Truth {
    double itae = 0, overshoot = 0;
    bool settles = true;
};
Truth truthOf(const sim::Plant &plant, int p2, int p3, int p7, int step)
{
    SimTuningAxis axis(plant);
    axis.testWrite(2, p2);
    axis.testWrite(3, p3);
    axis.testWrite(7, p7);
    Truth t;
    const ParamNumbers p = axis.readBack();
    for (double size : {0.5, 1.0, 2.0}) {
        for (int dir : {1, -1}) {
            StepRecord r = axis.step(int(dir * size * step), 1000, 1e9);
            r.moveEndMs = std::abs(r.stepCounts) / (p[0] / 16.0 * p[6] / 1024.0);
            const StepFigures f = stepFigures(r);
            t.overshoot = std::max(t.overshoot, f.overshootPct);
            t.settles = t.settles && std::isfinite(f.settlingTimeMs);
            if (size == 1.0)
                t.itae += f.itae / 2;
        }
    }
    return t;
}

int sweep(const QCommandLineParser &parser)
{
    const auto plant = sim::plantFor(parser.value(QStringLiteral("sweep")));
    const int step = parser.value(QStringLiteral("step")).toInt();
    const double aim = parser.value(QStringLiteral("aim")).toDouble();
    Truth best;
    best.itae = 1e18;
    int bp = 0, bi = 0, bd = 0;
    for (double p = 10; p <= 5000; p *= 1.3)
        for (double d = 1; d <= 1000; d *= 1.3)
            for (double i = 1; i <= 1000; i *= 2.5) {
                const Truth t = truthOf(*plant, int(p), int(i), int(d), step);
                if (t.settles && t.overshoot <= aim && t.itae < best.itae) {
                    best = t;
                    bp = int(p);
                    bi = int(i);
                    bd = int(d);
                }
            }
    std::printf("best P2 %d P3 %d P7 %d  ITAE %.0f overshoot %.1f\n", bp, bi, bd, best.itae,
                best.overshoot);
    return 0;
}

struct Reference {
    int p2 = 0, p3 = 0, p7 = 0;
    double itae = 0;
};

Reference reference(const sim::Plant &plant, int step, double aim)
{
    Reference best;
    best.itae = 1e18;
    for (double p = 1; p <= 5000; p *= 1.3)
        for (double d = 1; d <= 1000; d *= 1.3)
            for (double i = 1; i <= 1000; i *= 2.5) {
                const Truth t = truthOf(plant, int(p), int(i), int(d), step);
                if (t.settles && t.overshoot <= aim && t.itae < best.itae)
                    best = {int(p), int(i), int(d), t.itae};
            }
    return best;
}

// The tuner on axes of the family, each result judged on the axis itself
// against the best gains on a grid.
int family(const QCommandLineParser &parser)
{
    const int count = parser.value(QStringLiteral("family")).toInt();
    const int step = parser.value(QStringLiteral("step")).toInt();
    QFile cache(QStringLiteral("/tmp/kdxtunelab-references.txt"));
    QMap<QString, Reference> known;
    if (cache.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cache.readAll().split('\n')) {
            const QList<QByteArray> w = line.split(' ');
            if (w.size() == 5)
                known[QString::fromLatin1(w[0])] = {w[1].toInt(), w[2].toInt(), w[3].toInt(),
                                                    w[4].toDouble()};
        }
        cache.close();
    }
    std::vector<double> ratios, moves, seconds;
    int results = 0, aimMet = 0, runs = 0, sound = 0;
    QStringList seeds = parser.value(QStringLiteral("seeds")).split(u',', Qt::SkipEmptyParts);
    if (seeds.isEmpty())
        for (int k = 1; k <= count; ++k)
            seeds << QString::number(k);
    for (const QString &seed : seeds) {
        const sim::Plant plant = sim::randomPlant(seed.toULongLong());
        for (double aim : {0.0, 5.0}) {
            const QString key = QStringLiteral("%1/%2/%3").arg(seed).arg(aim).arg(step);
            if (!known.contains(key)) {
                known[key] = reference(plant, step, aim);
                if (cache.open(QIODevice::Append)) {
                    const Reference &r = known[key];
                    cache.write(QStringLiteral("%1 %2 %3 %4 %5\n")
                                    .arg(key)
                                    .arg(r.p2)
                                    .arg(r.p3)
                                    .arg(r.p7)
                                    .arg(r.itae)
                                    .toLatin1());
                    cache.close();
                }
            }
            const Reference ref = known[key];
            ++runs;
            const bool isSound = ref.itae < 1e17;
            sound += isSound;
            SimTuningAxis axis(plant);
            TuningOptions o;
            o.testRanges = {{{10, 1000},
                             {1, 5000},
                             {1, 5000},
                             {1, 1000},
                             {1, 250},
                             {1, 9999},
                             {1, 4096},
                             {1, 1000}}};
            o.stepSteps = step;
            o.aim = aim <= 0 ? TuningAim::NoOvershoot : TuningAim::Balanced;
            AutoTuner tuner(o);
            QElapsedTimer clock;
            clock.start();
            const TuningResult r = tuner.run(axis);
            const double computed = clock.elapsed() / 1000.0;
            const bool result = r.aimMet && r.outcome != TuningResult::Outcome::Aborted;
            const Truth t = truthOf(plant, r.tuned[2], r.tuned[3], r.tuned[7], r.stepSteps);
            const bool met = t.settles && t.overshoot <= aim + 2;
            const double ratio = isSound ? t.itae / ref.itae : 0;
            if (result && isSound) {
                ++results;
                aimMet += met;
                ratios.push_back(ratio);
            }
            moves.push_back(r.stepsUsed);
            seconds.push_back(r.elapsedMs / 1000);
            std::printf(
                "family %3s %s %-8s P %4d %3d %4d  os %5.1f %s  ITAE %7.0f ref %7.0f (%4d %3d "
                "%4d) x%5.2f  moves %2d axis %5.1f s comp %4.1f s fit %4.1f%% corr %d %s\n",
                qPrintable(seed), aim > 0 ? "bal" : "no ",
                r.outcome == TuningResult::Outcome::Tuned     ? "tuned"
                : r.outcome == TuningResult::Outcome::Aborted ? "ABORT"
                : r.aimMet                                    ? "kept"
                                                              : "NONE",
                r.tuned[2], r.tuned[3], r.tuned[7], t.overshoot, t.settles ? "settles" : "UNSETTL",
                t.itae, ref.itae, ref.p2, ref.p3, ref.p7, ratio, r.stepsUsed, r.elapsedMs / 1000,
                computed, r.fitErrorPct, r.corrections, result && met ? "" : "<--");
            std::fflush(stdout);
        }
    }
    auto pct = [](std::vector<double> v, double q) {
        if (v.empty())
            return 0.0;
        std::sort(v.begin(), v.end());
        return v[size_t(q * (v.size() - 1))];
    };
    std::printf("summary: %d runs, %d sound, results %d, aim met %d, ITAE ratio median %.2f p90 "
                "%.2f, moves median %.0f, axis time median %.1f s max %.1f s\n",
                runs, sound, results, aimMet, pct(ratios, 0.5), pct(ratios, 0.9), pct(moves, 0.5),
                pct(seconds, 0.5), pct(seconds, 1.0));
    return 0;
}

// The named axis (a simulator plant, or "synthetic") with the --gains
// written; nothing, with a message, for an unknown name.
std::unique_ptr<TuningAxis> axisWithGains(const QCommandLineParser &parser, const QString &name,
                                          SimTuningAxis **simulated)
{
    const auto plant = sim::plantFor(name);
    if (!plant && name != QLatin1String("synthetic")) {
        std::fprintf(stderr, "unknown axis\n");
        return nullptr;
    }
    std::unique_ptr<TuningAxis> axis;
    if (plant) {
        auto *onPlant = new SimTuningAxis(*plant);
        axis.reset(onPlant);
        if (simulated)
            *simulated = onPlant;
    } else {
        axis.reset(new SyntheticAxis);
    }
    const QStringList g = parser.value(QStringLiteral("gains")).split(u',');
    axis->testWrite(2, g.value(0).toInt());
    axis->testWrite(3, g.value(1).toInt());
    axis->testWrite(7, g.value(2).toInt());
    return axis;
}

// The tuner from the gains given, then the result judged at the three sizes.
int tune(const QCommandLineParser &parser)
{
    SimTuningAxis *simulated = nullptr;
    const std::unique_ptr<TuningAxis> owned =
        axisWithGains(parser, parser.value(QStringLiteral("tune")), &simulated);
    if (!owned)
        return 2;
    TuningAxis &axis = *owned;
    TuningOptions o;
    o.testRanges = {
        {{10, 1000}, {1, 5000}, {1, 5000}, {1, 1000}, {1, 250}, {1, 9999}, {1, 4096}, {1, 1000}}};
    o.stepSteps = parser.value(QStringLiteral("step")).toInt();
    const double aim = parser.value(QStringLiteral("aim")).toDouble();
    o.aim = aim <= 0 ? TuningAim::NoOvershoot : aim <= 5 ? TuningAim::Balanced : TuningAim::Fast;
    AutoTuner tuner(o);
    const bool verbose = parser.isSet(QStringLiteral("verbose"));
    if (verbose) {
        tuner.onProgress = [](const TuningProgress &p) {
            std::printf("  .. %s\n", qPrintable(p.stage));
        };
        tuner.onCandidate = [](const CandidateEntry &e) {
            std::printf("  %d %-28s P2=%d P3=%d P7=%d  ITAE %.0f overshoot %.1f %% settling %.0f "
                        "ms%s\n",
                        e.index, qPrintable(e.stage), e.params[2], e.params[3], e.params[7],
                        e.figures.itae, e.figures.overshootPct, e.figures.settlingMs,
                        e.figures.settles ? "" : " (not settled)");
        };
    }
    QElapsedTimer clock;
    clock.start();
    const TuningResult r = tuner.run(axis);
    std::printf("%s\n", qPrintable(r.message));
    std::printf("outcome %d aim met %d  P2 %d P3 %d P7 %d  moves %d  axis %.1f s  computed %.1f s  "
                "fit %.1f %%  corrections %d  P margin %.2f\n",
                int(r.outcome), r.aimMet, r.tuned[2], r.tuned[3], r.tuned[7], r.stepsUsed,
                r.elapsedMs / 1000, clock.elapsed() / 1000.0, r.fitErrorPct, r.corrections,
                r.pMargin);
    std::printf("baseline ITAE %.0f overshoot %.1f | result ITAE %.0f overshoot %.1f settles %d | "
                "predicted ITAE %.0f overshoot %.1f\n",
                r.baseline.itae, r.baseline.overshootPct, r.result.itae, r.result.overshootPct,
                r.result.settles, r.predicted.itae, r.predicted.overshootPct);
    if (parser.isSet(QStringLiteral("trace")) && simulated) {
        SimTuningAxis &axis = *simulated;
        // The result's forward step beside the model's prediction.
        const StepRecord &m = r.resultRecord;
        LoopSetting st;
        st.p = r.tuned[2] ? axis.firmware().activeValue(2) : 0;
        st.p = axis.firmware().activeValue(2);
        st.i = axis.firmware().activeValue(3);
        st.d = axis.firmware().activeValue(7);
        st.torqueLimit = axis.firmware().activeValue(4);
        st.rampCountsPerMs = axis.firmware().activeValue(0) / 16.0;
        const std::vector<double> e = simulateError(r.model, st, m.stepCounts, m.tMs);
        for (size_t k = 0; k < m.tMs.size(); k += 4)
            std::printf("%7.1f %8.1f %8.1f\n", m.tMs[k], m.error[k], e[k]);
        const LoopModel &md = r.model;
        std::printf("model: drive %.4g  P %.4g  I %.4g  D %.4g  viscous %.4g  coulomb %.2f  "
                    "breakaway %.2f  load %.2f  delay %.2f ms  lag %.2f ms  D on %s\n",
                    md.drive, md.pScale, md.iScale, md.dScale, md.viscous, md.coulomb, md.breakaway,
                    md.load, md.delayMs, md.lagMs,
                    md.derivativeOnMeasurement ? "measurement" : "error");
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({QStringLiteral("fit"), QStringLiteral("Fit the model on this axis."),
                      QStringLiteral("axis")});
    parser.addOption({QStringLiteral("gains"), QStringLiteral("P2,P3,P7 to step with."),
                      QStringLiteral("P2,P3,P7"), QStringLiteral("200,10,30")});
    parser.addOption({QStringLiteral("step"), QStringLiteral("Step in steps."), QStringLiteral("N"),
                      QStringLiteral("1000")});
    parser.addOption({QStringLiteral("aim"), QStringLiteral("Largest overshoot, %."),
                      QStringLiteral("pct"), QStringLiteral("5")});
    parser.addOption({QStringLiteral("tune"), QStringLiteral("Run the tuner on this axis."),
                      QStringLiteral("axis")});
    parser.addOption({QStringLiteral("sweep"), QStringLiteral("The best gains on a grid."),
                      QStringLiteral("axis")});
    parser.addOption(
        {QStringLiteral("trace"), QStringLiteral("The result's step beside the model.")});
    parser.addOption({QStringLiteral("family"), QStringLiteral("Tune N axes of the family."),
                      QStringLiteral("N")});
    parser.addOption(
        {QStringLiteral("seeds"), QStringLiteral("Only these seeds."), QStringLiteral("list")});
    parser.addOption({QStringLiteral("describe"), QStringLiteral("Describe these axes."),
                      QStringLiteral("names")});
    parser.addOption({QStringLiteral("selffit"), QStringLiteral("Fit the model to itself.")});
    parser.addOption({QStringLiteral("verbose"), QStringLiteral("Every stage and candidate.")});
    parser.process(app);

    if (parser.isSet(QStringLiteral("describe"))) {
        for (const QString &n : parser.value(QStringLiteral("describe")).split(u','))
            std::printf("%s: %s\n", qPrintable(n),
                        qPrintable(sim::describePlant(*sim::plantFor(n))));
        return 0;
    }
    if (parser.isSet(QStringLiteral("selffit"))) {
        LoopModel truth;
        truth.drive = 0.02;
        truth.pScale = 0.01;
        truth.iScale = 0.0002;
        truth.dScale = 0.3;
        truth.viscous = 0.05;
        LoopSetting st;
        const QStringList g = parser.value(QStringLiteral("gains")).split(u',');
        st.p = g[0].toDouble();
        st.i = g[1].toDouble();
        st.d = g[2].toDouble();
        st.torqueLimit = 200;
        st.rampCountsPerMs = 62.5;
        std::vector<FitRecord> records;
        for (double size : {250.0, -250.0, 500.0, -500.0, 1000.0, -1000.0, 2000.0, -2000.0}) {
            FitRecord f;
            f.setting = st;
            f.measured = predictStep(truth, st, size, 1000, 3.5);
            records.push_back(f);
        }
        LoopModel near = truth;
        near.drive *= 1.3;
        near.pScale *= 0.8;
        near.dScale *= 1.3;
        near.iScale *= 2;
        near.viscous *= 0.7;
        const LoopFit fromTruth = refineLoop(truth, records);
        const LoopFit fromNear = refineLoop(near, records);
        std::printf("from the truth %.2f %%, from near it %.2f %% (start %.2f %%)\n",
                    fromTruth.errorPct, fromNear.errorPct, fitErrorPct(near, records));
        printModel(fromNear.model);
        const LoopFit fit = fitLoop(records);
        std::printf("self fit error %.2f %%, truth's own %.2f %%\n", fit.errorPct,
                    fitErrorPct(truth, records));
        printModel(fit.model);
        return 0;
    }
    if (parser.isSet(QStringLiteral("tune")))
        return tune(parser);
    if (parser.isSet(QStringLiteral("sweep")))
        return sweep(parser);
    if (parser.isSet(QStringLiteral("family")))
        return family(parser);
    const std::unique_ptr<TuningAxis> owned =
        axisWithGains(parser, parser.value(QStringLiteral("fit")), nullptr);
    if (!owned)
        return 2;
    TuningAxis &axis = *owned;
    const ParamNumbers p = axis.readBack();
    const int step = parser.value(QStringLiteral("step")).toInt();
    std::vector<FitRecord> records;
    for (double size : {0.5, 1.0, 2.0}) {
        for (int dir : {1, -1}) {
            FitRecord f;
            f.measured = axis.step(int(dir * size * step), 1000, 1e9);
            f.measured.moveEndMs = std::abs(f.measured.stepCounts) / settingOf(p).rampCountsPerMs;
            f.setting = settingOf(p);
            const StepFigures fig = stepFigures(f.measured);
            std::printf("step %+6.0f: overshoot %5.1f %%  settling %6.1f ms  ITAE %8.0f\n",
                        f.measured.stepCounts, fig.overshootPct, fig.settlingTimeMs, fig.itae);
            records.push_back(f);
        }
    }
    QElapsedTimer clock;
    clock.start();
    const LoopFit fit = fitLoop(records);
    std::printf("fit error %.2f %% in %lld ms\n", fit.errorPct, clock.elapsed());
    printModel(fit.model);
    for (size_t k = 0; k < records.size(); ++k) {
        StepRecord pr = fit.predicted[k];
        pr.moveEndMs = records[k].measured.moveEndMs;
        const StepFigures fig = stepFigures(pr);
        std::printf("predicted %+6.0f: overshoot %5.1f %%  settling %6.1f ms  ITAE %8.0f\n",
                    pr.stepCounts, fig.overshootPct, fig.settlingTimeMs, fig.itae);
    }

    DesignGoal goal;
    goal.aimPct = parser.value(QStringLiteral("aim")).toDouble();
    goal.stepCounts = {0.5 * step, 1.0 * step, 2.0 * step};
    goal.start = settingOf(p);
    goal.sampleMs = 3.5;
    clock.restart();
    const Design d = designGains(fit.model, goal);
    std::printf("design %s in %lld ms: P2 %.0f P3 %.0f P7 %.0f  predicted ITAE %.0f overshoot %.1f "
                "settling %.0f  P margin %.2f  crossover %.1f Hz\n",
                d.found ? "found" : "NOT found", clock.elapsed(), d.setting.p, d.setting.i,
                d.setting.d, d.predicted.itae, d.predicted.overshootPct, d.predicted.settlingMs,
                d.pMargin, d.crossoverHz);
    axis.testWrite(2, int(d.setting.p));
    axis.testWrite(3, int(d.setting.i));
    axis.testWrite(7, int(d.setting.d));
    for (double size : {0.5, 1.0, 2.0}) {
        for (int dir : {1, -1}) {
            StepRecord r = axis.step(int(dir * size * step), 1000, 1e9);
            r.moveEndMs = std::abs(r.stepCounts) / settingOf(p).rampCountsPerMs;
            const StepFigures fig = stepFigures(r);
            std::printf("measured %+6.0f: overshoot %5.1f %%  settling %6.1f ms  ITAE %8.0f\n",
                        r.stepCounts, fig.overshootPct, fig.settlingTimeMs, fig.itae);
        }
    }
    return 0;
}
