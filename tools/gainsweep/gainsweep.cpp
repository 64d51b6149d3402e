// Tries every combination of P2, P3, P7 (and P1) on a grid against one of the
// simulator's axes and prints the start's figures beside the lowest ITAE any
// grid point reaches within the overshoot allowed. A yardstick for the
// auto-tuner: it shows what is out of reach for any gains, not only for the
// tuner. The tuner itself never sees the simulator's equations.
//
//   kdxgainsweep --plant light --start 1000,10,30
//
// Each point is judged on two ± pairs, each step's error read every 3 or 4
// ms (as over the line), figures as the workbench and the tuner take them,
// medians over the four steps; a point that swings on any step is left out.
//
// With --reference AIM it instead runs the family's reference search
// (tools/family): the best gains that meet the aim (overshoot %) and settle
// at ½×, 1× and 2× the step, judged as kdxbench --tune-family judges a
// tuning's result; with --seeds FIRST-LAST on each of those random axes.
//
//   kdxgainsweep --plant random:7 --reference 5
//   kdxgainsweep --seeds 1-100 --reference 0

#include "core/stepfigures.h"
#include "plant.h"
#include "referencesearch.h"
#include "servomodel.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

using namespace kdx;

namespace {

struct Point {
    sim::Parameters params{};
    double itae = 0, overshootPct = 0, settlingMs = 0;
    bool swings = false;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return 0.5 * (v[(v.size() - 1) / 2] + v[v.size() / 2]);
}

Point judge(const sim::Plant &plant, const sim::Parameters &p, int steps, double windowMs)
{
    sim::ServoModel axis(plant);
    for (int ms = 0; ms < 300; ++ms)
        axis.tick(p);
    Point point;
    point.params = p;
    std::vector<double> itae, over, settle;
    for (int dir : {1, -1, 1, -1}) {
        axis.moveSteps(dir * steps, p);
        StepRecord r;
        r.stepCounts = dir * steps * p[sim::GearRatio] / 1024.0;
        r.windowMs = windowMs;
        double next = 1.5;
        for (int ms = 1, k = 0; ms <= windowMs; ++ms) {
            axis.tick(p);
            if (ms >= next) {
                r.tMs.push_back(ms);
                r.error.push_back(axis.positionError());
                next += (k++ % 2) ? 3 : 4;
            }
        }
        for (int ms = 0; ms < 300; ++ms)
            axis.tick(p);
        r.moveEndMs = stepMove(dir * steps, p[sim::VelocityLimit], p[sim::GearRatio]).moveEndMs;
        const StepFigures m = stepFigures(r);
        const bool settled = std::isfinite(m.settlingTimeMs);
        point.swings = point.swings || (!settled && m.oscillations >= 4);
        itae.push_back(m.itae);
        over.push_back(m.overshootPct);
        settle.push_back(settled ? m.settlingTimeMs : windowMs);
    }
    point.itae = median(itae);
    point.overshootPct = median(over);
    point.settlingMs = median(settle);
    return point;
}

std::vector<int> logGrid(int lo, int hi, double factor)
{
    std::vector<int> values;
    for (double v = lo; v <= hi; v *= factor) {
        if (values.empty() || int(v) != values.back())
            values.push_back(int(v));
    }
    return values;
}

void print(const char *what, const Point &p)
{
    std::printf("%-6s P1=%d P2=%d P3=%d P7=%d  ITAE %.0f  overshoot %.1f %%  settling %.0f ms%s\n",
                what, p.params[sim::VelocityFeedback], p.params[sim::PGain], p.params[sim::IGain],
                p.params[sim::DGain], p.itae, p.overshootPct, p.settlingMs,
                p.swings ? "  swings" : "");
}

QString judged(const family::Judgement &j)
{
    return QStringLiteral("ITAE %1  worst overshoot %2 %  settled %3/%4/%5  settling %6/%7 ms")
        .arg(j.itae, 0, 'f', 0)
        .arg(j.worstOvershootPct, 0, 'f', 1)
        .arg(j.settled[family::Half] ? "yes" : "no")
        .arg(j.settled[family::One] ? "yes" : "no")
        .arg(j.settled[family::Double] ? "yes" : "no")
        .arg(j.steps[family::OneForward].settlingTimeMs, 0, 'f', 0)
        .arg(j.steps[family::OneBack].settlingTimeMs, 0, 'f', 0);
}

// The reference search on one axis: the start's judgement, then the best.
bool reference(const QString &name, const sim::Plant &plant, const family::Gains &start,
               double aimPct, int steps)
{
    QElapsedTimer clock;
    clock.start();
    const family::Judgement first = family::judgeGains(plant, start, steps);
    const family::Reference ref = family::findReference(plant, aimPct, steps);
    std::printf("%s: %s\n", qPrintable(name), qPrintable(sim::describePlant(plant)));
    std::printf("  start %d/%d/%d  %s%s\n", start.p, start.i, start.d, qPrintable(judged(first)),
                first.meets(aimPct) ? "  meets the aim" : "");
    if (ref.found)
        std::printf("  best  %d/%d/%d  %s  (ITAE %.2f x the start's)\n", ref.gains.p, ref.gains.i,
                    ref.gains.d, qPrintable(judged(ref.judgement)),
                    ref.judgement.itae / first.itae);
    else
        std::printf("  no gains meet %.0f %% and settle at all three sizes\n", aimPct);
    std::printf("  %d gain sets judged in %.1f s\n", ref.judged, clock.elapsed() / 1000.0);
    std::fflush(stdout);
    return ref.found;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sweeps the gains on a simulated axis: the lowest ITAE any of them reach."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("plant"), QStringLiteral("Named axis."),
                      QStringLiteral("name"), QStringLiteral("nominal")});
    parser.addOption({QStringLiteral("gain-scale"), QStringLiteral("How strongly the gains act."),
                      QStringLiteral("X"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("step"), QStringLiteral("Step in steps."), QStringLiteral("N"),
                      QStringLiteral("1000")});
    parser.addOption({QStringLiteral("window"), QStringLiteral("Record window, ms."),
                      QStringLiteral("ms"), QStringLiteral("300")});
    parser.addOption({QStringLiteral("start"), QStringLiteral("Starting P2,P3,P7."),
                      QStringLiteral("P2,P3,P7"), QStringLiteral("200,10,30")});
    parser.addOption({QStringLiteral("overshoot"),
                      QStringLiteral("Largest overshoot counted, % (default 7: balanced + 2)."),
                      QStringLiteral("pct"), QStringLiteral("7")});
    parser.addOption({QStringLiteral("velocity-feedback"),
                      QStringLiteral("Also sweep P1 (otherwise it stays at 50).")});
    parser.addOption({QStringLiteral("reference"),
                      QStringLiteral("Run the family's reference search for this aim (largest "
                                     "overshoot, %) instead of the grid."),
                      QStringLiteral("pct")});
    parser.addOption({QStringLiteral("seeds"),
                      QStringLiteral("With --reference: every random axis from FIRST to LAST."),
                      QStringLiteral("FIRST-LAST")});
    parser.process(app);

    auto plant = sim::plantFor(parser.value(QStringLiteral("plant")));
    const QStringList start = parser.value(QStringLiteral("start")).split(u',');
    if (!plant || start.size() != 3) {
        std::fprintf(stderr, "kdxgainsweep: unknown axis or not three starting gains\n");
        return 2;
    }
    plant->gainScale *= parser.value(QStringLiteral("gain-scale")).toDouble();
    const int steps = parser.value(QStringLiteral("step")).toInt();
    if (parser.isSet(QStringLiteral("reference"))) {
        const double aimPct = parser.value(QStringLiteral("reference")).toDouble();
        const family::Gains gains{start[0].toInt(), start[1].toInt(), start[2].toInt()};
        const QStringList range = parser.value(QStringLiteral("seeds")).split(u'-');
        if (range.size() != 2)
            return reference(parser.value(QStringLiteral("plant")), *plant, gains, aimPct, steps)
                       ? 0
                       : 1;
        int sound = 0, all = 0;
        for (quint64 seed = range[0].toULongLong(); seed <= range[1].toULongLong(); ++seed, ++all)
            sound += reference(QStringLiteral("random:%1").arg(seed), sim::randomPlant(seed), gains,
                               aimPct, steps);
        std::printf("%d of %d axes sound for %.0f %%\n", sound, all, aimPct);
        return 0;
    }
    const double windowMs = parser.value(QStringLiteral("window")).toDouble();
    const double allowed = parser.value(QStringLiteral("overshoot")).toDouble();

    sim::Parameters p{1000, 50,   start[0].toInt(), start[1].toInt(), 200,
                      100,  1024, start[2].toInt()};
    const Point first = judge(*plant, p, steps, windowMs);
    print("start", first);

    const std::vector<int> p1s = parser.isSet(QStringLiteral("velocity-feedback"))
                                     ? logGrid(1, 800, 2)
                                     : std::vector<int>{50};
    Point best;
    best.itae = -1;
    int judged = 0;
    for (int v : p1s)
        for (int kp : logGrid(10, 5000, 1.25))
            for (int ki : logGrid(1, 1000, 1.6))
                for (int kd : logGrid(1, 1000, 1.25)) {
                    p[sim::VelocityFeedback] = v;
                    p[sim::PGain] = kp;
                    p[sim::IGain] = ki;
                    p[sim::DGain] = kd;
                    const Point q = judge(*plant, p, steps, windowMs);
                    ++judged;
                    if (!q.swings && q.overshootPct <= allowed &&
                        (best.itae < 0 || q.itae < best.itae))
                        best = q;
                }
    if (best.itae < 0) {
        std::printf("none of %d grid points holds still within %.1f %% overshoot\n", judged,
                    allowed);
        return 1;
    }
    print("best", best);
    std::printf("of %d grid points; best / start ITAE = %.2f\n", judged, best.itae / first.itae);
    return 0;
}
