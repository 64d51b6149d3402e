#include "core/stepfigures.h"

#include <QRandomGenerator>
#include <QTest>

#include <cmath>
#include <functional>
#include <optional>

using namespace kdx;

namespace {

constexpr double NaN = StepFigures::NaN;
constexpr double Pi = 3.14159265358979323846;

using Response = std::function<double(double)>; // error at t ms

StepRecord sampled(const Response &error, double step, double moveEnd, double window, double dt)
{
    StepRecord r;
    r.stepCounts = step;
    r.moveEndMs = moveEnd;
    r.windowMs = window;
    for (double t = 0; t <= window + 1e-9; t += dt) {
        r.tMs.push_back(t);
        r.error.push_back(error(t));
    }
    return r;
}

// Readings at an uneven rate, as a polled line delivers them: dt on average,
// each interval drawn from 0.5..1.5 dt.
StepRecord polled(const Response &error, double step, double moveEnd, double window, double dt)
{
    QRandomGenerator random(7);
    StepRecord r;
    r.stepCounts = step;
    r.moveEndMs = moveEnd;
    r.windowMs = window;
    for (double t = dt * random.generateDouble(); t <= window;
         t += dt * (0.5 + random.generateDouble())) {
        r.tMs.push_back(t);
        r.error.push_back(error(t));
    }
    return r;
}

StepRecord quantised(StepRecord r)
{
    for (double &e : r.error)
        e = std::round(e);
    return r;
}

// Uniform noise of ±amplitude, the same every run.
StepRecord noisy(StepRecord r, double amplitude)
{
    QRandomGenerator random(11);
    for (double &e : r.error)
        e += amplitude * (2 * random.generateDouble() - 1);
    return r;
}

// The first time f rises through level within [a, b] (f(a) < level <= f(b)),
// found by halving.
double root(const Response &f, double level, double a, double b)
{
    for (int i = 0; i < 100; ++i) {
        const double m = (a + b) / 2;
        (f(m) < level ? a : b) = m;
    }
    return (a + b) / 2;
}

// First time f reaches level, searching from 0 in fine strides.
double firstReach(const Response &f, double level, double until)
{
    const double stride = 0.01;
    for (double t = 0; t < until; t += stride) {
        if (f(t + stride) >= level)
            return root(f, level, t, t + stride);
    }
    return NaN;
}

// Last time |f| leaves the band, searching backwards from the end.
double lastExit(const Response &f, double band, double until)
{
    const double stride = 0.01;
    for (double t = until; t > 0; t -= stride) {
        if (std::abs(f(t - stride)) > band) {
            const bool above = f(t - stride) > band;
            const Response g = [&](double x) { return above ? -f(x) : f(x); };
            return root(g, -band, t - stride, t);
        }
    }
    return 0;
}

// A first-order lag behind a goal that jumps: e = S·exp(−t/τ).
Response firstOrder(double step, double tau)
{
    return [=](double t) { return step * std::exp(-t / tau); };
}

// A second-order loop (damping zeta < 1, natural frequency wn rad/ms) after a
// jump of the goal.
Response secondOrder(double step, double zeta, double wn)
{
    const double wd = wn * std::sqrt(1 - zeta * zeta);
    return [=](double t) {
        return step * std::exp(-zeta * wn * t) *
               (std::cos(wd * t) + zeta / std::sqrt(1 - zeta * zeta) * std::sin(wd * t));
    };
}

// A first-order lag behind a set point that ramps to the goal by moveEnd,
// then decays as exp(−a t')·cos(w t') from the error left at the move's end
// (w = 0: plain decay).
Response rampThenDecay(double step, double moveEnd, double tau, double a, double w)
{
    const double v = step / moveEnd;
    const double left = v * tau * (1 - std::exp(-moveEnd / tau));
    return [=](double t) {
        if (t <= moveEnd)
            return v * tau * (1 - std::exp(-t / tau));
        const double s = t - moveEnd;
        return left * std::exp(-a * s) * std::cos(w * s);
    };
}

// Position normalised to a forward step, from an error response.
Response position(const Response &e, double step, double moveEnd)
{
    return [=](double t) {
        const double share = moveEnd > 0 ? std::min(1.0, t / moveEnd) : 1.0;
        return std::abs(step) * share - (step < 0 ? -1 : 1) * e(t);
    };
}

struct Expected {
    std::optional<double> peakError, peakErrorMs, overshootPct, timeToPeakMs, riseTimeMs,
        settlingTimeMs, iae, itae, sampleRateHz, steadyStateError;
    int oscillations = -1;  // -1: not checked
    QString note;           // what the figures say is missing
    double tolMs = 0.2;     // for times
    double tolShare = 0.01; // for the others, share of the expected value
    double tolCounts = 0.5; // and at least this much for counts and percents
};

// Figures of the analytic response, from closed forms or from the
// continuous curve itself.
Expected truth(const Response &e, double step, double moveEnd, double window)
{
    const double size = std::abs(step);
    const double band = std::max(0.02 * size, 2.0);
    const Response pos = position(e, step, moveEnd);
    const Response remaining = [=](double t) { return size - pos(t); };
    Expected x;
    x.riseTimeMs = firstReach(pos, 0.9 * size, window) - firstReach(pos, 0.1 * size, window);
    x.settlingTimeMs = lastExit(remaining, band, window);
    return x;
}

} // namespace

Q_DECLARE_METATYPE(StepRecord)
Q_DECLARE_METATYPE(Expected)

class TestStepFigures : public QObject {
    Q_OBJECT
private slots:
    void analytic_data();
    void analytic();
    void degenerate_data();
    void degenerate();
    void spread();
    void spreadOfMixedRecords();
    void move_data();
    void move();
};

void TestStepFigures::analytic_data()
{
    QTest::addColumn<StepRecord>("record");
    QTest::addColumn<Expected>("expected");

    // First order, τ = 20 ms, a jump of 1000 counts: rise τ·ln 9, settling
    // to 2 % τ·ln 50, IAE τ, ITAE τ².
    {
        const double tau = 20;
        Expected x;
        x.peakError = 1000;
        x.peakErrorMs = 0;
        x.overshootPct = 0;
        x.timeToPeakMs = NaN;
        x.riseTimeMs = tau * std::log(9.0);
        x.settlingTimeMs = tau * std::log(50.0);
        x.iae = tau;
        x.itae = tau * tau;
        x.oscillations = 0;
        x.sampleRateHz = 10000;
        x.steadyStateError = 0;
        QTest::newRow("first order") << sampled(firstOrder(1000, tau), 1000, 0, 400, 0.1) << x;

        Expected back = x;
        back.peakError = -1000;
        QTest::newRow("first order, backwards")
            << sampled(firstOrder(-1000, tau), -1000, 0, 400, 0.1) << back;

        Expected whole = x;
        whole.tolMs = 0.6;
        whole.tolShare = 0.02;
        QTest::newRow("first order, whole counts")
            << quantised(sampled(firstOrder(1000, tau), 1000, 0, 400, 0.1)) << whole;

        Expected rough = x;
        rough.peakErrorMs = std::nullopt; // a noise sample near the start
        rough.peakError = std::nullopt;
        rough.overshootPct = std::nullopt; // noise passes the goal by a count or so
        rough.timeToPeakMs = std::nullopt;
        rough.sampleRateHz = 250;
        rough.itae = std::nullopt; // the noise weighs in with its time
        rough.steadyStateError = 0;
        rough.tolMs = 4; // one reading interval
        rough.tolShare = 0.05;
        rough.tolCounts = 1;
        QTest::newRow("first order, polled every 4 ms, noisy, whole counts")
            << quantised(noisy(polled(firstOrder(1000, tau), 1000, 0, 400, 4), 3)) << rough;
    }

    // Second order, ζ = 0.5: 16.3 % overshoot at π/ωd; its second swing
    // (2.7 %) leaves the 2 % band on the short side again, the third (0.4 %)
    // stays inside: two crossings.
    {
        const double zeta = 0.5;
        const double wn = 0.05;
        const Response e = secondOrder(1000, zeta, wn);
        Expected x = truth(e, 1000, 0, 600);
        x.overshootPct = 100 * std::exp(-Pi * zeta / std::sqrt(1 - zeta * zeta));
        x.timeToPeakMs = Pi / (wn * std::sqrt(1 - zeta * zeta));
        x.peakError = 1000;
        x.oscillations = 2;
        QTest::newRow("second order") << sampled(e, 1000, 0, 600, 0.1) << x;

        Expected rough = x;
        rough.tolMs = 4;
        rough.tolShare = 0.05;
        rough.tolCounts = 0.5;
        rough.peakError = std::nullopt;
        QTest::newRow("second order, polled, noisy, whole counts, backwards")
            << quantised(noisy(polled(secondOrder(-1000, zeta, wn), -1000, 0, 600, 4), 2)) << rough;
    }

    // A set point ramped over 32 ms with a 10 ms lag behind it: the error
    // peaks when the ramp ends and decays from there.
    {
        const double step = 2000, moveEnd = 32, tau = 10;
        const double v = step / moveEnd;
        const double left = v * tau * (1 - std::exp(-moveEnd / tau));
        const double band = 0.02 * step;
        const Response e = rampThenDecay(step, moveEnd, tau, 1 / tau, 0);
        Expected x = truth(e, step, moveEnd, 300);
        x.peakError = left;
        x.peakErrorMs = moveEnd;
        x.overshootPct = 0;
        x.timeToPeakMs = NaN;
        x.settlingTimeMs = moveEnd + tau * std::log(left / band);
        x.iae = (v * tau * (moveEnd - tau * (1 - std::exp(-moveEnd / tau))) + left * tau) / step;
        x.oscillations = 0;
        QTest::newRow("ramped move") << sampled(e, step, moveEnd, 300, 0.1) << x;

        // After the ramp the shaft swings past the goal: the furthest pass is
        // the first minimum of exp(−a s)·cos(w s), at w s = π − atan(a / w).
        const double a = 0.02, w = 0.1;
        const Response swing = rampThenDecay(step, moveEnd, tau, a, w);
        Expected y = truth(swing, step, moveEnd, 500);
        const double sPeak = (Pi - std::atan(a / w)) / w;
        y.overshootPct = -100 * swing(moveEnd + sPeak) / step;
        y.timeToPeakMs = moveEnd + sPeak;
        y.peakError = left;
        y.peakErrorMs = moveEnd;
        int swings = 0;
        for (int k = 1; left * std::exp(-a * (k * Pi - std::atan(a / w)) / w) *
                            std::abs(std::cos(k * Pi - std::atan(a / w))) >
                        band;
             ++k)
            ++swings;
        y.oscillations = swings;
        QTest::newRow("ramped move, swinging past the goal")
            << sampled(swing, step, moveEnd, 500, 0.1) << y;
        Expected rough = y;
        rough.tolMs = 4;
        rough.tolShare = 0.05;
        rough.tolCounts = 0.5;
        rough.peakError = -left;
        QTest::newRow("ramped move, swinging, polled, whole counts, backwards")
            << quantised(polled(rampThenDecay(-step, moveEnd, tau, a, w), -step, moveEnd, 500, 4))
            << rough;
    }

    // Friction holds the shaft off the goal: inside the band, so it settles,
    // or outside it, so it never does; either way the steady-state error
    // says by how much.
    {
        const double tau = 20;
        Expected inside;
        inside.settlingTimeMs = tau * std::log(990 / 10.0);
        inside.steadyStateError = 10;
        inside.tolCounts = 0.01;
        QTest::newRow("held inside the band")
            << sampled([=](double t) { return 10 + 990 * std::exp(-t / tau); }, 1000, 0, 500, 0.1)
            << inside;
        Expected outside = inside;
        outside.settlingTimeMs = NaN;
        outside.steadyStateError = -30;
        outside.overshootPct = 3;
        outside.note = QStringLiteral("nem állt be a sávba");
        QTest::newRow("held past the goal, outside the band")
            << sampled([=](double t) { return -30 + 1030 * std::exp(-t / tau); }, 1000, 0, 500, 0.1)
            << outside;
    }

    // Still creeping in when the window ends: the steady-state error is the
    // mean over its last 10 %, 450..500 ms, of 1000·exp(−t/200).
    {
        const double tau = 200;
        Expected creep;
        creep.settlingTimeMs = NaN;
        creep.steadyStateError = 1000 * tau / 50 * (std::exp(-450 / tau) - std::exp(-500 / tau));
        creep.note = QStringLiteral("nem állt be a sávba");
        QTest::newRow("creeping in") << sampled(firstOrder(1000, tau), 1000, 0, 500, 0.1) << creep;
    }

    // A step of 50 counts: 2 % is 1 count, so the band is 2 counts wide.
    {
        const Response e = firstOrder(50, 10);
        Expected x;
        x.settlingTimeMs = 10 * std::log(25.0);
        x.overshootPct = 0;
        QTest::newRow("small step, band of 2 counts") << sampled(e, 50, 0, 200, 0.1) << x;
    }
}

namespace {

void near(const char *what, double actual, std::optional<double> expected, double tol)
{
    if (!expected)
        return;
    if (std::isnan(*expected)) {
        QVERIFY2(std::isnan(actual),
                 qPrintable(
                     QStringLiteral("%1: %2, expected none").arg(QLatin1String(what)).arg(actual)));
        return;
    }
    QVERIFY2(std::abs(actual - *expected) <= tol,
             qPrintable(QStringLiteral("%1: %2, expected %3 ± %4")
                            .arg(QLatin1String(what))
                            .arg(actual)
                            .arg(*expected)
                            .arg(tol)));
}

double relative(std::optional<double> v, const Expected &x)
{
    return std::max(x.tolCounts, v && std::isfinite(*v) ? std::abs(*v) * x.tolShare : 0);
}

} // namespace

void TestStepFigures::analytic()
{
    QFETCH(StepRecord, record);
    QFETCH(Expected, expected);
    const StepFigures f = stepFigures(record);
    QVERIFY2(f.valid, qPrintable(f.note));
    QCOMPARE(f.note, expected.note);
    QCOMPARE(f.stepCounts, record.stepCounts);
    QCOMPARE(f.bandCounts, std::max(0.02 * std::abs(record.stepCounts), 2.0));
    const Expected &x = expected;
    near("peak error", f.peakError, x.peakError, relative(x.peakError, x));
    near("peak error time", f.peakErrorMs, x.peakErrorMs, x.tolMs);
    near("overshoot", f.overshootPct, x.overshootPct, relative(x.overshootPct, x));
    near("time to peak", f.timeToPeakMs, x.timeToPeakMs, x.tolMs);
    near("rise time", f.riseTimeMs, x.riseTimeMs, x.tolMs);
    near("settling time", f.settlingTimeMs, x.settlingTimeMs, x.tolMs);
    near("IAE", f.iae, x.iae, std::abs(x.iae.value_or(0)) * x.tolShare);
    near("ITAE", f.itae, x.itae, std::abs(x.itae.value_or(0)) * x.tolShare);
    near("sample rate", f.sampleRateHz, x.sampleRateHz, relative(x.sampleRateHz, x));
    near("steady-state error", f.steadyStateError, x.steadyStateError, x.tolCounts);
    if (x.oscillations >= 0)
        QCOMPARE(f.oscillations, x.oscillations);
}

void TestStepFigures::degenerate_data()
{
    QTest::addColumn<StepRecord>("record");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("note");
    QTest::addColumn<bool>("settles");
    QTest::addColumn<bool>("overshootKnown");
    QTest::addColumn<bool>("steadyKnown");

    StepRecord none;
    none.stepCounts = 400;
    none.windowMs = 1000;
    none.complete = false;
    QTest::newRow("no readings") << none << false << "nincs mérés" << false << false << false;

    StepRecord one = none;
    one.tMs = {3.9};
    one.error = {12};
    QTest::newRow("one reading") << one << false << "túl kevés mérés" << false << false << false;

    StepRecord two = one;
    two.tMs.push_back(7.8);
    two.error.push_back(30);
    QTest::newRow("two readings") << two << false << "túl kevés mérés" << false << false << false;

    StepRecord sameTime = two;
    sameTime.tMs = {5, 5, 5};
    sameTime.error = {1, 2, 3};
    QTest::newRow("all at one time")
        << sameTime << false << "túl kevés mérés" << false << false << false;

    const StepRecord good = sampled(firstOrder(400, 20), 400, 0, 300, 1);

    StepRecord noStep = good;
    noStep.stepCounts = 0;
    QTest::newRow("no step") << noStep << false << "nincs lépés" << false << false << false;

    StepRecord backwardsInTime = good;
    std::swap(backwardsInTime.tMs[5], backwardsInTime.tMs[6]);
    QTest::newRow("time running backwards")
        << backwardsInTime << false << "hibás mérés" << false << false << false;

    StepRecord notANumber = good;
    notANumber.error[9] = NaN;
    QTest::newRow("not a number") << notANumber << false << "hibás mérés" << false << false
                                  << false;

    StepRecord uneven = good;
    uneven.error.pop_back();
    QTest::newRow("columns of different length")
        << uneven << false << "hibás mérés" << false << false << false;

    // The line died 20 ms into a 50 ms move.
    StepRecord shortRecord = sampled(rampThenDecay(2000, 50, 10, 0.1, 0), 2000, 50, 20, 1);
    shortRecord.windowMs = 1000;
    shortRecord.complete = false;
    QTest::newRow("ends before the move")
        << shortRecord << true
        << "hiányos felvétel; a felvétel a mozgás vége előtt véget ért; nincs mérés az ablak végén"
        << false << false << false;

    // Undamped: swings ±20 % for ever.
    const Response ringing = [](double t) { return 200 * std::cos(0.1 * t); };
    QTest::newRow("never settling") << sampled(ringing, 1000, 0, 500, 1) << true
                                    << "nem állt be a sávba" << false << true << true;

    // Sticks 50 counts short of the goal.
    const Response stuck = [](double t) { return std::max(50.0, 400 * std::exp(-t / 20)); };
    QTest::newRow("stuck outside the band")
        << sampled(stuck, 400, 0, 500, 1) << true << "nem állt be a sávba" << false << true << true;

    QTest::newRow("sound") << good << true << "" << true << true << true;
}

void TestStepFigures::degenerate()
{
    QFETCH(StepRecord, record);
    QFETCH(bool, valid);
    QFETCH(QString, note);
    QFETCH(bool, settles);
    QFETCH(bool, overshootKnown);
    QFETCH(bool, steadyKnown);
    const StepFigures f = stepFigures(record);
    QCOMPARE(f.valid, valid);
    QCOMPARE(f.note, note);
    QCOMPARE(std::isfinite(f.settlingTimeMs), settles);
    QCOMPARE(std::isfinite(f.overshootPct), overshootKnown);
    QCOMPARE(std::isfinite(f.steadyStateError), steadyKnown);
    // What is known is known whatever else is missing.
    QCOMPARE(std::isfinite(f.peakError), valid);
    QCOMPARE(std::isfinite(f.iae), valid);
    QCOMPARE(std::isfinite(f.sampleRateHz), valid);
    if (!valid)
        QCOMPARE(f.oscillations, 0);
}

void TestStepFigures::spread()
{
    // K ± pairs of the same response: the mean is the forward response's
    // figures, with no spread.
    const Response forward = rampThenDecay(1000, 16, 8, 0.03, 0.12);
    const Response backward = rampThenDecay(-1000, 16, 8, 0.03, 0.12);
    const StepFigures one = stepFigures(sampled(forward, 1000, 16, 400, 0.5));
    std::vector<StepFigures> pairs;
    for (int k = 0; k < 3; ++k) {
        pairs.push_back(one);
        pairs.push_back(stepFigures(sampled(backward, -1000, 16, 400, 0.5)));
    }
    const FigureSpread s = figureSpread(pairs);
    QCOMPARE(s.count, 6);
    QVERIFY(s.mean.valid);
    QVERIFY(one.peakError > 0);
    QVERIFY(one.overshootPct > 2);
    QCOMPARE(s.mean.stepCounts, 1000.0);
    QCOMPARE(s.mean.peakError, one.peakError);
    QCOMPARE(s.mean.overshootPct, one.overshootPct);
    QCOMPARE(s.mean.settlingTimeMs, one.settlingTimeMs);
    QCOMPARE(s.mean.steadyStateError, one.steadyStateError);
    QCOMPARE(s.mean.itae, one.itae);
    QCOMPARE(s.mean.oscillations, one.oscillations);
    QVERIFY(s.spread.peakError < 1e-9);
    QVERIFY(s.spread.settlingTimeMs < 1e-9);
    QCOMPARE(s.spread.oscillations, 0);
}

void TestStepFigures::spreadOfMixedRecords()
{
    StepFigures a;
    a.valid = true;
    a.stepCounts = 400;
    a.peakError = 100;
    a.overshootPct = 2;
    a.settlingTimeMs = 80;
    a.timeToPeakMs = 30;
    a.oscillations = 1;
    StepFigures b = a;
    b.stepCounts = -400;
    b.peakError = -140;
    b.overshootPct = 6;
    b.settlingTimeMs = 120;
    b.timeToPeakMs = NaN; // did not pass the goal
    b.oscillations = 3;
    StepFigures broken; // too few readings: left out
    broken.peakError = 1e6;

    FigureSpread s = figureSpread({a, b, broken});
    QCOMPARE(s.count, 2);
    QCOMPARE(s.mean.peakError, 120.0);
    QCOMPARE(s.spread.peakError, std::sqrt(800.0));
    QCOMPARE(s.mean.overshootPct, 4.0);
    QCOMPARE(s.mean.settlingTimeMs, 100.0);
    QCOMPARE(s.mean.timeToPeakMs, 30.0);
    QVERIFY(s.spread.timeToPeakMs == 0);
    QCOMPARE(s.mean.oscillations, 2);
    QCOMPARE(s.spread.oscillations, 2);
    QVERIFY(std::isnan(s.mean.iae));

    // One of them never settled: the mean does not pretend it did.
    b.settlingTimeMs = NaN;
    s = figureSpread({a, b});
    QVERIFY(std::isnan(s.mean.settlingTimeMs));
    QVERIFY(!s.mean.note.isEmpty());
    QCOMPARE(s.mean.peakError, 120.0);

    s = figureSpread({broken});
    QCOMPARE(s.count, 0);
    QVERIFY(!s.mean.valid);
    QVERIFY(std::isnan(s.mean.peakError));
}

void TestStepFigures::move_data()
{
    QTest::addColumn<int>("steps");
    QTest::addColumn<int>("p0");
    QTest::addColumn<int>("p6");
    QTest::addColumn<double>("counts");
    QTest::addColumn<double>("moveEnd");
    QTest::newRow("defaults") << 2000 << 1000 << 1024 << 2000.0 << 32.0;
    QTest::newRow("backwards") << -400 << 500 << 1024 << -400.0 << 12.8;
    QTest::newRow("geared 1:4") << 400 << 1000 << 256 << 100.0 << 6.4;
    QTest::newRow("reversed gear") << 400 << 1000 << -1024 << -400.0 << 6.4;
    QTest::newRow("no velocity") << 10 << 0 << 1024 << 10.0 << qInf();
    QTest::newRow("no steps") << 0 << 1000 << 1024 << 0.0 << 0.0;
}

void TestStepFigures::move()
{
    QFETCH(int, steps);
    QFETCH(int, p0);
    QFETCH(int, p6);
    QFETCH(double, counts);
    QFETCH(double, moveEnd);
    const StepMove m = stepMove(steps, p0, p6);
    QCOMPARE(m.stepCounts, counts);
    QCOMPARE(m.moveEndMs, moveEnd);
}

QTEST_GUILESS_MAIN(TestStepFigures)
#include "tst_stepfigures.moc"
