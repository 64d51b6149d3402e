// The parts of an axis the named ones do not have: the winding's lag, the
// encoder's noise, a load on a springy coupling or one with play, a
// constant load, and the loop's other shapes. Each is checked where a fault
// would hide: the sub-stepped integration against the exact one, the
// resonance's frequency, the play's width, the lag's curve, the noise's
// bound, the terms of the loop.

#include "firmware.h"
#include "servomodel.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kdx::sim;

namespace {

constexpr Parameters Factory = Firmware::DefaultParameters;

Parameters with(std::initializer_list<std::pair<Param, int>> changes)
{
    Parameters p = Factory;
    for (const auto &[n, value] : changes)
        p[size_t(n)] = value;
    return p;
}

// The position error of every period after a step of the goal.
QList<int> stepTrace(const Plant &plant, const Parameters &p, int steps, int ms)
{
    ServoModel axis(plant);
    axis.moveSteps(steps, p);
    QList<int> errors;
    for (int i = 0; i < ms; ++i) {
        axis.tick(p);
        errors.append(axis.positionError());
    }
    return errors;
}

// A voltage run of the given speed command (duty = speed · 256 / 600).
ServoModel voltageRun(const Plant &plant, int speed)
{
    ServoModel axis(plant);
    axis.setMode(ServoModel::Mode::Voltage);
    axis.setSpeed(speed);
    return axis;
}

} // namespace

Q_DECLARE_METATYPE(Plant)
Q_DECLARE_METATYPE(Parameters)

class TestSimAxisParts : public QObject {
    Q_OBJECT
private slots:
    void substepsAgreeWithTheExactStep_data()
    {
        QTest::addColumn<Plant>("plant");
        QTest::addColumn<Parameters>("params");
        Plant heavy;
        heavy.timeConstant = 100;
        heavy.friction = heavy.breakaway = 8;
        Plant sticky;
        sticky.friction = 12;
        sticky.breakaway = 40;
        // Gains that do not ring: where the shaft reverses, the exact step
        // can only stop it for a whole period, the sub-steps sooner, and a
        // ringing trace would drift apart by that alone (so would the laggy
        // axis's hunting before it settles).
        QTest::newRow("nominal") << Plant() << Factory;
        QTest::newRow("heavy") << heavy << with({{PGain, 600}, {IGain, 5}, {DGain, 250}});
        QTest::newRow("sticky") << sticky << with({{PGain, 600}, {IGain, 20}, {DGain, 80}});
        QTest::newRow("light") << Plant{100, 5, 3, 3}
                               << with({{PGain, 300}, {IGain, 5}, {DGain, 20}});
    }
    void substepsAgreeWithTheExactStep()
    {
        // A winding lag far below a sub-step changes nothing but the way the
        // axis is integrated: the traces must agree within a count or two.
        QFETCH(Plant, plant);
        QFETCH(Parameters, params);
        Plant substepped = plant;
        substepped.windingLagMs = 1e-6;
        const QList<int> exact = stepTrace(plant, params, 1000, 800);
        const QList<int> stepped = stepTrace(substepped, params, 1000, 800);
        int worst = 0;
        for (int i = 0; i < exact.size(); ++i)
            worst = std::max(worst, std::abs(exact[i] - stepped[i]));
        QVERIFY2(worst <= 3, qPrintable(QString::number(worst)));
        QVERIFY(*std::max_element(exact.begin(), exact.end()) > 100); // a trace worth comparing
        QCOMPARE(stepped.last(), exact.last());
    }

    void windingLag_data()
    {
        QTest::addColumn<double>("lagMs");
        QTest::newRow("0.3 ms") << 0.3;
        QTest::newRow("2 ms") << 2.0;
        QTest::newRow("4 ms") << 4.0;
    }
    void windingLag()
    {
        // The torque follows the duty as 1 − exp(−t / lag); the speed it
        // ends at is the one without a lag.
        QFETCH(double, lagMs);
        Plant lagging;
        lagging.windingLagMs = lagMs;
        lagging.friction = lagging.breakaway = 0;
        ServoModel axis = voltageRun(lagging, 300);
        ServoModel prompt = voltageRun(Plant{100, 20, 0, 0}, 300);
        for (int ms = 1; ms <= 8; ++ms) {
            axis.tick(Factory);
            prompt.tick(Factory);
            const double expected = 128 * (1 - std::exp(-ms / lagMs));
            QVERIFY2(std::abs(axis.torque() - expected) < 1e-9,
                     qPrintable(QStringLiteral("%1 ms: %2").arg(ms).arg(axis.torque())));
            QVERIFY(axis.velocity() < prompt.velocity());
        }
        for (int ms = 0; ms < 400; ++ms) {
            axis.tick(Factory);
            prompt.tick(Factory);
        }
        QVERIFY(std::abs(axis.velocity() - prompt.velocity()) < 1e-3 * prompt.velocity());
    }

    void encoderNoise_data()
    {
        QTest::addColumn<double>("noise");
        QTest::newRow("a full count") << 1.0;
        QTest::newRow("a third") << 0.3;
    }
    void encoderNoise()
    {
        // Each reading is at most a count off the true position, both ways
        // occur (a slow run passes every fraction of a count), and a step
        // still comes to rest at its goal.
        QFETCH(double, noise);
        Plant noisy;
        noisy.encoderNoise = noise;
        noisy.noiseSeed = 42;
        ServoModel run = voltageRun(noisy, 20);
        std::array<int, 3> seen{};
        for (int ms = 0; ms < 2000; ++ms) {
            run.tick(Factory);
            const qint64 off = run.encoder() - qint64(std::floor(run.position()));
            QVERIFY2(off >= -1 && off <= 1, qPrintable(QString::number(off)));
            ++seen[size_t(off + 1)];
        }
        QVERIFY(run.position() > 500);
        QVERIFY2(seen[0] > 20 && seen[2] > 20,
                 qPrintable(QStringLiteral("%1 %2").arg(seen[0]).arg(seen[2])));

        ServoModel axis(noisy);
        axis.moveSteps(300, Factory);
        for (int ms = 0; ms < 3000; ++ms)
            axis.tick(Factory);
        QVERIFY(std::abs(axis.position() - 300) < 5);
    }

    void resonanceInAFreeResponse_data()
    {
        QTest::addColumn<double>("hz");
        QTest::newRow("25 Hz") << 25.0;
        QTest::newRow("60 Hz") << 60.0;
        QTest::newRow("140 Hz") << 140.0;
    }
    void resonanceInAFreeResponse()
    {
        // Driven, then left alone: motor and load swing against each other
        // at the resonance, and the swing dies away with its damping.
        QFETCH(double, hz);
        Plant springy;
        springy.friction = springy.breakaway = 0;
        springy.timeConstant = 200;
        springy.loadShare = 0.5;
        springy.resonanceHz = hz;
        springy.resonanceDamping = 0.02;
        ServoModel axis = voltageRun(springy, 600);
        for (int ms = 0; ms < 30; ++ms)
            axis.tick(Factory);
        axis.setSpeed(0);
        std::vector<double> apart;
        for (int ms = 0; ms < 400; ++ms) {
            axis.tick(Factory);
            apart.push_back(axis.position() - axis.loadPosition());
        }
        // Upward zero crossings, interpolated, over whole periods.
        std::vector<double> ups;
        for (size_t i = 1; i < apart.size(); ++i) {
            if (apart[i - 1] < 0 && apart[i] >= 0)
                ups.push_back(double(i - 1) + apart[i - 1] / (apart[i - 1] - apart[i]));
        }
        QVERIFY2(ups.size() >= 5, qPrintable(QString::number(ups.size())));
        const double measured = 1000 * double(ups.size() - 1) / (ups.back() - ups.front());
        QVERIFY2(std::abs(measured - hz) < 0.02 * hz, qPrintable(QString::number(measured)));
        const auto swing = [&](size_t from) {
            double most = 0;
            for (size_t i = from; i < from + 50; ++i)
                most = std::max(most, std::abs(apart[i]));
            return most;
        };
        QVERIFY(swing(300) < 0.8 * swing(0));
    }

    void backlashDeadBand_data()
    {
        QTest::addColumn<double>("play");
        QTest::newRow("4 counts") << 4.0;
        QTest::newRow("20 counts") << 20.0;
    }
    void backlashDeadBand()
    {
        // From rest after a run forward, the motor crosses the play before
        // the load follows it back.
        QFETCH(double, play);
        Plant loose;
        loose.loadShare = 0.5;
        loose.backlashCounts = play;
        ServoModel axis = voltageRun(loose, 60);
        for (int ms = 0; ms < 300; ++ms)
            axis.tick(Factory);
        axis.setSpeed(0);
        for (int ms = 0; ms < 300; ++ms)
            axis.tick(Factory);
        QCOMPARE(axis.velocity(), 0.0);
        const double motorAtRest = axis.position();
        const double loadAtRest = axis.loadPosition();
        QVERIFY(loadAtRest > 100);
        axis.setSpeed(-60);
        double crossed = -1;
        for (int ms = 0; ms < 300 && crossed < 0; ++ms) {
            axis.tick(Factory);
            if (axis.loadPosition() < loadAtRest - 0.05)
                crossed = motorAtRest - axis.position();
        }
        QVERIFY2(std::abs(crossed - play) < 1.5, qPrintable(QString::number(crossed)));
    }

    void constantLoad_data()
    {
        QTest::addColumn<double>("load");
        QTest::addColumn<int>("iGain");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        // P alone holds it off by load / (P2 / 128) counts, on the side the
        // load pulls; the I gain works that off.
        QTest::newRow("pulling back, P only") << 40.0 << 0 << 24.0 << 28.0;
        QTest::newRow("pulling forward, P only") << -40.0 << 0 << -28.0 << -24.0;
        QTest::newRow("with I") << 40.0 << 10 << -1.0 << 1.0;
    }
    void constantLoad()
    {
        QFETCH(double, load);
        QFETCH(int, iGain);
        QFETCH(double, lo);
        QFETCH(double, hi);
        Plant hanging;
        hanging.friction = hanging.breakaway = 0;
        hanging.loadDuty = load;
        const QList<int> errors = stepTrace(hanging, with({{IGain, iGain}}), 500, 3000);
        QVERIFY2(errors.last() >= lo && errors.last() <= hi,
                 qPrintable(QString::number(errors.last())));
    }

    void loopShapes_data()
    {
        // The first period after a step of 1000 from rest: the set point has
        // moved 62.5 counts (error 63 after rounding), the shaft not yet.
        QTest::addColumn<Plant>("plant");
        QTest::addColumn<Parameters>("params");
        QTest::addColumn<int>("duty");
        const Parameters pOnly = with({{IGain, 0}, {DGain, 0}});
        const Parameters dOnly = with({{PGain, 0}, {IGain, 0}, {DGain, 6}});
        Plant pTwice;
        pTwice.pScale = 2;
        Plant dOnMeasurement;
        dOnMeasurement.derivativeOnMeasurement = true;
        Plant dFiltered;
        dFiltered.derivativeFilterMs = 2;
        Plant dTenth;
        dTenth.dScale = 0.1;
        QTest::newRow("P") << Plant() << pOnly << int(std::lround(200 * 63 / 128.0));
        QTest::newRow("P twice as strong") << pTwice << pOnly << int(std::lround(400 * 63 / 128.0));
        QTest::newRow("D of the error") << Plant() << dOnly << 6 * 63 / 3;
        QTest::newRow("D a tenth as strong") << dTenth << dOnly << int(std::lround(0.6 * 63 / 3));
        QTest::newRow("D of the measurement") << dOnMeasurement << dOnly << 0;
        QTest::newRow("D filtered")
            << dFiltered << dOnly << int(std::lround(6 * 63 / 3.0 * (1 - std::exp(-0.5))));
    }
    void loopShapes()
    {
        QFETCH(Plant, plant);
        QFETCH(Parameters, params);
        QFETCH(int, duty);
        ServoModel axis(plant);
        axis.moveSteps(1000, params);
        axis.tick(params);
        QCOMPARE(axis.duty(), duty);
    }

    void integralLimit_data()
    {
        QTest::addColumn<double>("limit");
        QTest::addColumn<int>("duty");
        QTest::newRow("half of full duty") << 0.5 << 128;
        QTest::newRow("I scaled, a third") << 0.33 << 84;
        QTest::newRow("full: the torque limit first") << 1.0 << 200;
    }
    void integralLimit()
    {
        // A shaft held fast: the I term alone climbs to its bound and stays.
        QFETCH(double, limit);
        QFETCH(int, duty);
        Plant stuck;
        stuck.breakaway = 10000;
        stuck.integralLimit = limit;
        stuck.iScale = limit == 0.33 ? 3 : 1;
        const Parameters iOnly = with({{PGain, 0}, {DGain, 0}, {IGain, 50}});
        ServoModel axis(stuck);
        axis.moveSteps(100, iOnly);
        for (int ms = 0; ms < 3000; ++ms)
            axis.tick(iOnly);
        QCOMPARE(axis.duty(), duty);
        QCOMPARE(axis.encoder(), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TestSimAxisParts)
#include "tst_sim_axisparts.moc"
