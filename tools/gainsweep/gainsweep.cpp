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

#include "core/stepfigures.h"
#include "plant.h"
#include "servomodel.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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
    parser.process(app);

    auto plant = sim::namedPlant(parser.value(QStringLiteral("plant")));
    const QStringList start = parser.value(QStringLiteral("start")).split(u',');
    if (!plant || start.size() != 3) {
        std::fprintf(stderr, "kdxgainsweep: unknown axis or not three starting gains\n");
        return 2;
    }
    plant->gainScale = parser.value(QStringLiteral("gain-scale")).toDouble();
    const int steps = parser.value(QStringLiteral("step")).toInt();
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
