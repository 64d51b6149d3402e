#include "core/responsemeasure.h"

#include <QTest>

#include <cmath>
#include <functional>

using kdx::measureResponse;
using kdx::StepRecord;

Q_DECLARE_METATYPE(std::function<double(double)>)

namespace {

StepRecord sampled(double step, double windowMs, double everyMs,
                   const std::function<double(double)> &error)
{
    StepRecord r;
    r.stepCounts = step;
    r.windowMs = windowMs;
    for (double t = everyMs; t <= windowMs + 1e-9; t += everyMs) {
        r.tMs.push_back(t);
        r.error.push_back(error(t));
    }
    return r;
}

} // namespace

class TestResponseMeasure : public QObject {
    Q_OBJECT
private slots:
    void shapes_data();
    void shapes();
    void itaeOfAnExponentialDecay();
    void tooFewReadingsSayNothing();
};

void TestResponseMeasure::shapes_data()
{
    using F = std::function<double(double)>;
    QTest::addColumn<double>("step");
    QTest::addColumn<F>("error");
    QTest::addColumn<double>("overshoot");
    QTest::addColumn<bool>("settled");
    QTest::addColumn<bool>("rings");
    QTest::addColumn<bool>("grows");

    const double pi = std::acos(-1.0);
    // Second order, zeta 0.5, wn 0.1 rad/ms: overshoot exp(-pi*z/sqrt(1-z²)) = 16.3 %.
    const double z = 0.5, wn = 0.1, wd = wn * std::sqrt(1 - z * z);
    const F second = [=](double t) {
        const double y = 1 - std::exp(-z * wn * t) *
                                 (std::cos(wd * t) + z / std::sqrt(1 - z * z) * std::sin(wd * t));
        return 1000 * (1 - y);
    };
    const double expected = 100 * std::exp(-pi * z / std::sqrt(1 - z * z));
    QTest::newRow("first order") << 1000.0 << F([](double t) { return 1000 * std::exp(-t / 20); })
                                 << 0.0 << true << false << false;
    QTest::newRow("second order") << 1000.0 << second << expected << true << false << false;
    QTest::newRow("second order backwards")
        << -1000.0 << F([=](double t) { return -second(t); }) << expected << true << false << false;
    QTest::newRow("quantised first order")
        << 500.0 << F([](double t) { return std::round(500 * std::exp(-t / 30)); }) << 0.0 << true
        << false << false;
    QTest::newRow("sustained swing") << 1000.0 << F([](double t) { return 100 * std::cos(t / 10); })
                                     << 10.0 << false << true << false;
    QTest::newRow("growing swing")
        << 1000.0 << F([](double t) { return 20 * std::exp(t / 150) * std::cos(t / 10); }) << -1.0
        << false << true << true;
    QTest::newRow("creeping in, never settled")
        << 1000.0 << F([](double t) { return 400 - 0.1 * t; }) << 0.0 << false << false << false;
}

void TestResponseMeasure::shapes()
{
    QFETCH(double, step);
    QFETCH(std::function<double(double)>, error);
    QFETCH(double, overshoot);
    QFETCH(bool, settled);
    QFETCH(bool, rings);
    QFETCH(bool, grows);

    const auto m = measureResponse(sampled(step, 1000, 1, error));
    QVERIFY(m.valid);
    if (overshoot >= 0) // -1: far beyond any aim, the figure itself does not matter
        QVERIFY2(std::fabs(m.overshootPct - overshoot) <= std::max(0.3, 0.05 * overshoot),
                 qPrintable(QString::number(m.overshootPct)));
    else
        QVERIFY(m.overshootPct > 100);
    QCOMPARE(m.settled, settled);
    QCOMPARE(m.rings, rings);
    QCOMPARE(m.grows, grows);
    if (!settled)
        QCOMPARE(m.settlingMs, 1000.0);
    QVERIFY(std::fabs(m.sampleRateHz - 1000) < 1);
}

void TestResponseMeasure::itaeOfAnExponentialDecay()
{
    // ∫ t·A·exp(-t/T) dt = A·T² over a long window; normalised by the step.
    const double a = 800, T = 25, step = 1000;
    const auto m =
        measureResponse(sampled(step, 1000, 0.5, [=](double t) { return a * std::exp(-t / T); }));
    QVERIFY(std::fabs(m.itae - a * T * T / step) < 0.01 * a * T * T / step);
    // Settling into the 20-count band: A·exp(-t/T) = 20.
    QVERIFY(std::fabs(m.settlingMs - T * std::log(a / 20)) < 1);
    QCOMPARE(m.peakCounts, a * std::exp(-0.5 / T));
}

void TestResponseMeasure::tooFewReadingsSayNothing()
{
    QVERIFY(!measureResponse(StepRecord{}).valid);
    QVERIFY(!measureResponse(sampled(1000, 5, 1, [](double) { return 1.0; })).valid);
    QVERIFY(!measureResponse(sampled(0, 100, 1, [](double) { return 1.0; })).valid);
}

QTEST_APPLESS_MAIN(TestResponseMeasure)
#include "tst_responsemeasure.moc"
