// The axis: what tuning shows on the position error, and that no setting
// breaks the arithmetic.

#include "firmware.h"

#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kdx::sim;
using Presets = QList<QPair<int, int>>; // parameter, value

namespace {

Firmware tuned(const Presets &presets, const QList<QByteArray> &lines = {})
{
    Firmware firmware;
    for (const auto &[n, value] : presets)
        firmware.preset(n, value);
    for (const QByteArray &line : lines)
        firmware.handleLine(line);
    return firmware;
}

// Runs the axis for the given time and returns the position error of every period.
QList<int> errorTrace(Firmware &firmware, int ms)
{
    QList<int> errors;
    for (int i = 0; i < ms; ++i) {
        firmware.advanceTo(firmware.timeNs() + Firmware::TickNs);
        errors.append(firmware.axis().positionError());
    }
    return errors;
}

int largest(const QList<int> &errors)
{
    return std::abs(*std::max_element(errors.begin(), errors.end(),
                                      [](int a, int b) { return std::abs(a) < std::abs(b); }));
}

// How often the error swings from one side to the other, ignoring the dead
// band where friction holds the shaft.
int swings(const QList<int> &errors)
{
    int count = 0;
    int side = 0;
    for (int e : errors) {
        const int s = e > 3 ? 1 : e < -3 ? -1 : 0;
        count += s != 0 && side != 0 && s != side;
        side = s != 0 ? s : side;
    }
    return count;
}

} // namespace

class TestSimPhysics : public QObject {
    Q_OBJECT
private slots:
    void stepResponse_data()
    {
        QTest::addColumn<Presets>("presets");
        QTest::addColumn<bool>("settles");
        QTest::addColumn<bool>("rings");
        QTest::newRow("defaults") << Presets{} << true << false;
        QTest::newRow("stiffer, more damping")
            << Presets{{PGain, 400}, {DGain, 60}} << true << false;
        QTest::newRow("no P gain") << Presets{{PGain, 0}} << false << true;
        QTest::newRow("no P or I gain") << Presets{{PGain, 0}, {IGain, 0}} << false << false;
        QTest::newRow("high P without damping")
            << Presets{{PGain, 3000}, {DGain, 0}, {VelocityFeedback, 0}} << false << true;
    }
    void stepResponse()
    {
        QFETCH(Presets, presets);
        QFETCH(bool, settles);
        QFETCH(bool, rings);
        Firmware firmware = tuned(presets, {"+1000"});
        const QList<int> errors = errorTrace(firmware, 800);
        const int finalError = largest(errors.sliced(600));
        QVERIFY2(settles ? finalError <= 2 : finalError >= 20,
                 qPrintable(QString::number(finalError)));
        if (settles) // little overshoot: at most 10 % of the step
            QVERIFY(*std::min_element(errors.begin(), errors.end()) >= -100);
        QCOMPARE(swings(errors) >= 4, rings);
    }

    void pidRunFollowingError_data()
    {
        QTest::addColumn<int>("iGain");
        QTest::addColumn<bool>("lasting");
        QTest::newRow("I gain works it off") << 10 << false;
        QTest::newRow("without I gain it stays") << 0 << true;
    }
    void pidRunFollowingError()
    {
        QFETCH(int, iGain);
        QFETCH(bool, lasting);
        Firmware firmware = tuned({{IGain, iGain}}, {"m2", "S300"});
        const QList<int> running = errorTrace(firmware, 500);
        // The target runs ahead of the axis.
        QVERIFY(*std::max_element(running.begin(), running.end()) >= 10);
        QVERIFY(*std::min_element(running.begin(), running.end()) >= -3);
        QCOMPARE(std::abs(running.last()) >= 5, lasting);

        firmware.handleLine("S0");
        QVERIFY(largest(errorTrace(firmware, 500).sliced(400)) <= 2);
        QCOMPARE(firmware.axis().velocity(), 0.0);
    }

    void runSpeed_data()
    {
        QTest::addColumn<Presets>("presets");
        QTest::addColumn<QByteArray>("speed");
        QTest::addColumn<double>("countsPerMs");
        QTest::newRow("S300") << Presets{} << QByteArray("S300") << 18.75;
        QTest::newRow("S-300") << Presets{} << QByteArray("S-300") << -18.75;
        QTest::newRow("velocity limit")
            << Presets{{VelocityLimit, 160}} << QByteArray("S600") << 10.0;
        QTest::newRow("gear 1:4") << Presets{{GearRatio, 256}} << QByteArray("S300") << 4.6875;
        QTest::newRow("gear 2:1") << Presets{{GearRatio, 2048}} << QByteArray("S300") << 37.5;
    }
    void runSpeed()
    {
        QFETCH(Presets, presets);
        QFETCH(QByteArray, speed);
        QFETCH(double, countsPerMs);
        Firmware firmware = tuned(presets, {"m2", speed});
        firmware.advanceTo(400 * Firmware::TickNs);
        const qint64 start = firmware.axis().encoder();
        firmware.advanceTo(600 * Firmware::TickNs);
        const double measured = double(firmware.axis().encoder() - start) / 200;
        QVERIFY2(std::abs(measured - countsPerMs) <= 0.02 * std::abs(countsPerMs),
                 qPrintable(QString::number(measured)));
    }

    void stepMoveAtVelocityLimit()
    {
        // 160/16 = 10 steps per ms, a step being half a count.
        Firmware firmware = tuned({{VelocityLimit, 160}, {GearRatio, 512}}, {"+1000"});
        firmware.advanceTo(50 * Firmware::TickNs);
        QCOMPARE(firmware.axis().target(), 250.0);
        firmware.handleLine("-400");
        firmware.advanceTo(100 * Firmware::TickNs);
        QCOMPARE(firmware.axis().target(), 300.0);
    }

    void torqueLimit_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("duty");
        QTest::newRow("50") << 50 << 50;
        QTest::newRow("full") << 256 << 256;
        QTest::newRow("above full") << 1000 << 256;
        QTest::newRow("negative") << -5 << 0;
    }
    void torqueLimit()
    {
        QFETCH(int, limit);
        QFETCH(int, duty);
        // A voltage run at full speed asks for full duty, without the position loop.
        Firmware firmware = tuned({{TorqueLimit, limit}}, {"m1", "S600"});
        firmware.advanceTo(400 * Firmware::TickNs);
        QCOMPARE(firmware.axis().duty(), duty);
        QCOMPARE(firmware.axis().positionError(), 0);
        const double speed = std::max(duty - Plant().friction, 0) * Plant().noLoadSpeed / 256;
        QVERIFY(std::abs(firmware.axis().velocity() - speed) <= 0.01 * speed + 1e-9);

        // A violent position loop stays within it too.
        for (const char *line : {"m3", "P2", "32767", "-9999"})
            firmware.handleLine(line);
        for (int i = 0; i < 300; ++i) {
            firmware.advanceTo(firmware.timeNs() + Firmware::TickNs);
            QVERIFY(std::abs(firmware.axis().duty()) <= duty);
        }
    }

    void extremeParametersStayFinite_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("emfFeedback");
        QTest::newRow("all largest") << 32767 << 32767;
        QTest::newRow("all smallest") << -32768 << -32768;
        QTest::newRow("all zero") << 0 << 0;
        QTest::newRow("runaway EMF feedback") << 1 << 32767;
    }
    void extremeParametersStayFinite()
    {
        QFETCH(int, value);
        QFETCH(int, emfFeedback);
        Firmware firmware;
        for (int n = 0; n < ParamCount; ++n)
            firmware.preset(n, n == EmfFeedback ? emfFeedback : value);
        for (const char *line : {"+9999", "-9999", "m2", "S600", "S-600", "m1", "S600", "m3"}) {
            firmware.handleLine(line);
            for (int i = 0; i < 200; ++i) {
                firmware.advanceTo(firmware.timeNs() + Firmware::TickNs);
                const ServoModel &axis = firmware.axis();
                QVERIFY(std::isfinite(axis.velocity()) && std::isfinite(axis.target()));
                QVERIFY(std::abs(axis.velocity()) <= Plant().noLoadSpeed);
                QVERIFY(std::abs(axis.duty()) <= ServoModel::FullDuty);
            }
        }
    }

    void timeStepsDoNotMatter_data()
    {
        QTest::addColumn<QString>("plant");
        for (const QString &name : plantNames())
            QTest::newRow(qPrintable(name)) << name;
    }
    void timeStepsDoNotMatter()
    {
        // Advancing in one go (where an axis at rest is skipped) and period by
        // period give the same axis.
        QFETCH(QString, plant);
        Firmware coarse(*namedPlant(plant));
        Firmware fine(*namedPlant(plant));
        qint64 until = 0;
        for (const char *line : {"+300", "m2", "S-100", "S0", "m3", "-50"}) {
            coarse.handleLine(line);
            fine.handleLine(line);
            until += 2000 * Firmware::TickNs + 1234;
            coarse.advanceTo(until);
            while (fine.timeNs() + Firmware::TickNs <= until)
                fine.advanceTo(fine.timeNs() + Firmware::TickNs);
            QCOMPARE(coarse.timeNs(), fine.timeNs());
            QCOMPARE(coarse.axis().encoder(), fine.axis().encoder());
            QCOMPARE(coarse.axis().positionError(), fine.axis().positionError());
        }
        QCOMPARE(fine.axis().target(), -12250.0);
    }

    void gainScale_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("gains"); // what the gains are multiplied by instead
        QTest::newRow("twice as strong") << 2.0 << 0.5;
        QTest::newRow("half as strong") << 0.5 << 2.0;
    }
    void gainScale()
    {
        // Every gain, velocity and EMF feedback included, acts as if
        // multiplied by the scale: the same trace to the bit.
        QFETCH(double, scale);
        QFETCH(double, gains);
        Plant scaled;
        scaled.gainScale = scale;
        const Presets defaults = {
            {VelocityFeedback, 50}, {PGain, 200}, {IGain, 10}, {EmfFeedback, 100}, {DGain, 30}};
        Presets compensated;
        for (const auto &[n, value] : defaults)
            compensated.append({n, int(value * gains)});
        Firmware plain = tuned(defaults, {"+1000"});
        Firmware other(scaled);
        for (const auto &[n, value] : compensated)
            other.preset(n, value);
        other.handleLine("+1000");
        const QList<int> expected = errorTrace(plain, 600);
        QCOMPARE(errorTrace(other, 600), expected);
        QVERIFY(swings(expected) >= 1); // a trace worth comparing
    }

    void loopDelay()
    {
        // The motor answers the loop's duty delayMs periods late.
        Plant laggy;
        laggy.delayMs = 4;
        Firmware prompt;
        Firmware late(laggy);
        prompt.handleLine("+1000");
        late.handleLine("+1000");
        int promptStart = 0;
        int lateStart = 0;
        for (int ms = 1; ms <= 20; ++ms) {
            prompt.advanceTo(ms * Firmware::TickNs);
            late.advanceTo(ms * Firmware::TickNs);
            if (ms <= 4)
                QCOMPARE(late.axis().duty(), prompt.axis().duty());
            promptStart = promptStart ? promptStart : prompt.axis().encoder() != 0 ? ms : 0;
            lateStart = lateStart ? lateStart : late.axis().encoder() != 0 ? ms : 0;
        }
        QVERIFY(promptStart > 0);
        QCOMPARE(lateStart, promptStart + 4);

        // Once the axis has come to rest, the duties on their way are all
        // the same and nothing changes any more: time skips ahead again.
        late.advanceTo(3000 * Firmware::TickNs);
        ServoModel axis = late.axis();
        Parameters active;
        for (int n = 0; n < ParamCount; ++n)
            active[size_t(n)] = late.activeValue(n);
        QVERIFY(!axis.tick(active));
    }
};

QTEST_GUILESS_MAIN(TestSimPhysics)
#include "tst_sim_physics.moc"
