// The named axes: each, with the gains sim/README.md suggests for it, gives
// a step response the figures describe well when polled over the line as
// the terminal polls it; with the factory gains each shows its character.

#include "core/stepfigures.h"
#include "simulateddevice.h"

#include <QTest>

#include <cmath>

using namespace kdx;
using namespace kdx::sim;

namespace {

struct Gains {
    int p = 200; // P2
    int i = 10;  // P3
    int d = 30;  // P7
};

// Polls P9 over a 38400 baud line, one request after the other, as the
// workbench's capture does: the step goes out at 0 ms, each reading is
// stamped when its answer has arrived, relative to the reading before the
// step.
StepRecord capture(SimulatedDevice &device, int steps, double windowMs)
{
    auto poll = [&device](const QByteArray &line) {
        device.write(line + '\r');
        QByteArray answer;
        for (int ms = 0; !answer.contains(':') && ms < 1000; ++ms) {
            device.advanceTime(1);
            answer += device.readAll();
        }
        const qsizetype start = answer.indexOf("P9 ");
        const qsizetype colon = answer.indexOf(':');
        if (start < 0 || colon < start)
            return qQNaN();
        return answer.mid(start + 3, colon - start - 3).toDouble();
    };
    device.advanceTime(200); // at rest
    device.readAll();
    const double zero = poll("P9");
    const Firmware &firmware = device.firmware();
    const StepMove move = stepMove(steps, firmware.activeValue(0), firmware.activeValue(6));
    StepRecord r;
    r.stepCounts = move.stepCounts;
    r.moveEndMs = move.moveEndMs;
    r.windowMs = windowMs;
    const qint64 sent = device.simulatedTimeNs();
    device.write((steps > 0 ? "+" : "") + QByteArray::number(steps) + '\r');
    while (r.tMs.empty() || r.tMs.back() < windowMs) {
        const double raw = poll("P9");
        r.tMs.push_back(double(device.simulatedTimeNs() - sent) / 1e6);
        r.error.push_back(raw - zero);
    }
    return r;
}

StepFigures stepOn(const QString &plant, const Gains &gains, int steps)
{
    SimulatedDevice device(LineTiming(), SimulatedDevice::Clock::Manual);
    device.open(QIODevice::ReadWrite);
    device.firmware().setPlant(*namedPlant(plant));
    device.firmware().preset(2, gains.p);
    device.firmware().preset(3, gains.i);
    device.firmware().preset(7, gains.d);
    return stepFigures(capture(device, steps, 1000));
}

QString describe(const StepFigures &f)
{
    return QStringLiteral("peak %1 at %2 ms, overshoot %3 %, settled at %4 ms, %5 oscillations, "
                          "steady %6, %7 Hz; %8")
        .arg(f.peakError)
        .arg(f.peakErrorMs)
        .arg(f.overshootPct)
        .arg(f.settlingTimeMs)
        .arg(f.oscillations)
        .arg(f.steadyStateError)
        .arg(f.sampleRateHz)
        .arg(f.note);
}

} // namespace

Q_DECLARE_METATYPE(Gains)

class TestSimPlants : public QObject {
    Q_OBJECT
private slots:
    void names();
    void suggestedGains_data();
    void suggestedGains();
    void character_data();
    void character();
};

void TestSimPlants::names()
{
    QCOMPARE(plantNames(), QStringList({"light", "nominal", "heavy", "sticky", "laggy"}));
    QVERIFY(namedPlant(QStringLiteral("nominal")) == Plant());
    QVERIFY(!namedPlant(QStringLiteral("Nominal")));
    QVERIFY(!namedPlant(QString()));
    QVERIFY(!kdx::sim::suggestedGains(QStringLiteral("feather")));

    // The axis stays what it is across a power cycle of the controller.
    const Plant heavy = *namedPlant(QStringLiteral("heavy"));
    QVERIFY(!(heavy == Plant()));
    Firmware firmware(heavy);
    firmware.powerCycle();
    QVERIFY(firmware.axis().plant() == heavy);
}

void TestSimPlants::suggestedGains_data()
{
    QTest::addColumn<QString>("plant");
    QTest::addColumn<Gains>("gains");
    QTest::addColumn<int>("steps");
    for (const QString &plant : plantNames()) {
        const SuggestedGains s = *kdx::sim::suggestedGains(plant);
        for (int steps : {400, -400, 2000})
            QTest::addRow("%s %+d", qPrintable(plant), steps)
                << plant << Gains{s.p, s.i, s.d} << steps;
    }
    QTest::addRow("nominal, factory gains") << QStringLiteral("nominal") << Gains() << 400;
}

void TestSimPlants::suggestedGains()
{
    QFETCH(QString, plant);
    QFETCH(Gains, gains);
    QFETCH(int, steps);
    const StepFigures f = stepOn(plant, gains, steps);
    const QByteArray about = describe(f).toUtf8();
    QVERIFY2(f.valid && f.note.isEmpty(), about);
    // Polled as fast as the line allows: about four readings per 10 ms.
    QVERIFY2(f.sampleRateHz > 150 && f.sampleRateHz < 300, about);
    // The error grows while the set point moves, and peaks around the end
    // of the move, on the side of the step.
    QVERIFY2(f.peakError * steps > 0 && std::abs(f.peakError) > 5 * f.bandCounts, about);
    QVERIFY2(f.peakErrorMs < std::abs(steps) * 16.0 / 1000 + 10, about);
    // Settles inside its band well within the window, without ringing.
    QVERIFY2(f.settlingTimeMs < 500, about);
    QVERIFY2(f.oscillations <= 1 && f.overshootPct < 10, about);
    QVERIFY2(std::abs(f.steadyStateError) <= f.bandCounts, about);
}

void TestSimPlants::character_data()
{
    // With the factory gains (P2=200 P3=10 P7=30), a step of 400.
    QTest::addColumn<QString>("plant");
    QTest::addColumn<double>("settlingAtLeast");
    QTest::addColumn<double>("settlingBelow");
    QTest::addColumn<int>("oscillationsAtLeast");
    QTest::newRow("light: quick") << "light" << 0.0 << 60.0 << 0;
    QTest::newRow("nominal: a little overshoot") << "nominal" << 30.0 << 150.0 << 1;
    QTest::newRow("heavy: swings") << "heavy" << 100.0 << 400.0 << 3;
    QTest::newRow("sticky: creeps in") << "sticky" << 300.0 << qInf() << 0;
    QTest::newRow("laggy: rings") << "laggy" << 100.0 << qInf() << 6;
}

void TestSimPlants::character()
{
    QFETCH(QString, plant);
    QFETCH(double, settlingAtLeast);
    QFETCH(double, settlingBelow);
    QFETCH(int, oscillationsAtLeast);
    const StepFigures f = stepOn(plant, Gains(), 400);
    const QByteArray about = describe(f).toUtf8();
    QVERIFY2(f.valid, about);
    const double settling = std::isnan(f.settlingTimeMs) ? qInf() : f.settlingTimeMs;
    QVERIFY2(settling >= settlingAtLeast && settling <= settlingBelow, about);
    QVERIFY2(f.oscillations >= oscillationsAtLeast, about);
}

QTEST_GUILESS_MAIN(TestSimPlants)
#include "tst_sim_plants.moc"
