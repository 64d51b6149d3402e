// The family of random axes: every quantity drawn stays in the range
// sim/README.md gives it, follows its law, and a seed always draws the same
// axis, which then runs the same trace.

#include "firmware.h"
#include "plant.h"
#include "splitmix.h"

#include <QTest>

#include <algorithm>
#include <cmath>
#include <functional>

using namespace kdx::sim;

namespace {

constexpr int Draws = 3000;

using Quantity = std::function<double(const Plant &)>;
constexpr double Absent = std::numeric_limits<double>::quiet_NaN();

// Inertia against the nominal axis: the time constant is inertia over
// viscous friction, the no-load speed inversely proportional to the latter.
double inertia(const Plant &p)
{
    return p.timeConstant / 20.0 * (100.0 / p.noLoadSpeed);
}

double viscous(const Plant &p)
{
    return 100.0 / p.noLoadSpeed;
}

QList<int> trace(const Plant &plant)
{
    Firmware firmware(plant);
    QList<int> errors;
    for (const char *line : {"+1000", "-500", "m2", "S200", "S0", "m3", "+2000"}) {
        firmware.handleLine(line);
        for (int ms = 0; ms < 400; ++ms) {
            firmware.advanceTo(firmware.timeNs() + Firmware::TickNs);
            errors.append(firmware.axis().positionError());
        }
    }
    return errors;
}

} // namespace

Q_DECLARE_METATYPE(Quantity)

class TestSimFamily : public QObject {
    Q_OBJECT
private slots:
    void drawsFollowTheTable_data()
    {
        // Each quantity: its range, the median its law gives (the geometric
        // mean for a log-uniform law, the middle for a uniform one), and the
        // share of axes that have it at all.
        QTest::addColumn<Quantity>("quantity");
        QTest::addColumn<double>("lo");
        QTest::addColumn<double>("hi");
        QTest::addColumn<double>("median");
        QTest::addColumn<double>("share");
        auto when = [](bool present, double value) { return present ? value : Absent; };
        QTest::newRow("inertia") << Quantity(inertia) << 0.2 << 10.0 << std::sqrt(2.0) << 1.0;
        QTest::newRow("viscous friction")
            << Quantity(viscous) << 0.7 << 1.4 << std::sqrt(0.98) << 1.0;
        QTest::newRow("breakaway") << Quantity([](const Plant &p) { return double(p.breakaway); })
                                   << 2.0 << 77.0 << std::sqrt(2.0 * 77) << 1.0;
        QTest::newRow("friction share")
            << Quantity([](const Plant &p) { return double(p.friction) / p.breakaway; }) << 0.3
            << 1.0 << 0.75 << 1.0;
        QTest::newRow("winding lag") << Quantity([](const Plant &p) { return p.windingLagMs; })
                                     << 0.3 << 4.0 << 0.3 * std::pow(4 / 0.3, 0.125) << 1.0;
        QTest::newRow("encoder noise")
            << Quantity([](const Plant &p) { return p.encoderNoise; }) << 0.0 << 1.0 << 0.5 << 1.0;
        QTest::newRow("resonance")
            << Quantity([=](const Plant &p) { return when(p.resonanceHz > 0, p.resonanceHz); })
            << 20.0 << 300.0 << std::sqrt(6000.0) << 1.0 / 3;
        QTest::newRow("resonance damping")
            << Quantity([=](const Plant &p) { return when(p.resonanceHz > 0, p.resonanceDamping); })
            << 0.02 << 0.1 << std::sqrt(0.002) << 1.0 / 3;
        QTest::newRow("backlash") << Quantity([=](const Plant &p) {
            return when(p.backlashCounts > 0, p.backlashCounts);
        }) << 1.0 << 20.0 << 10.5 << 1.0 / 3;
        QTest::newRow("load share")
            << Quantity([=](const Plant &p) { return when(p.loadShare > 0, p.loadShare); }) << 0.2
            << 0.8 << 0.5 << 1 - 4.0 / 9;
        QTest::newRow("constant load")
            << Quantity([=](const Plant &p) { return when(p.loadDuty != 0, std::abs(p.loadDuty)); })
            << 13.0 << 64.0 << 38.5 << 1.0 / 3;
        QTest::newRow("P scale") << Quantity([](const Plant &p) { return p.pScale; }) << 0.1 << 10.0
                                 << 1.0 << 1.0;
        QTest::newRow("I scale") << Quantity([](const Plant &p) { return p.iScale; }) << 0.1 << 10.0
                                 << 1.0 << 1.0;
        QTest::newRow("D scale") << Quantity([](const Plant &p) { return p.dScale; }) << 0.1 << 10.0
                                 << 1.0 << 1.0;
        QTest::newRow("derivative on the measurement")
            << Quantity([=](const Plant &p) { return when(p.derivativeOnMeasurement, 1); }) << 1.0
            << 1.0 << 1.0 << 0.5;
        QTest::newRow("derivative filter") << Quantity([=](const Plant &p) {
            return when(p.derivativeFilterMs > 0, p.derivativeFilterMs);
        }) << 1.0 << 4.0 << 2.5 << 0.5;
        QTest::newRow("integral limit") << Quantity([](const Plant &p) { return p.integralLimit; })
                                        << 0.3 << 1.0 << 0.65 << 1.0;
        QTest::newRow("gain scale")
            << Quantity([](const Plant &p) { return p.gainScale; }) << 1.0 << 1.0 << 1.0 << 1.0;
    }
    void drawsFollowTheTable()
    {
        QFETCH(Quantity, quantity);
        QFETCH(double, lo);
        QFETCH(double, hi);
        QFETCH(double, median);
        QFETCH(double, share);
        // Drawn values are kept to a few digits: allow for the rounding.
        const double slack = 0.006 * std::max(1.0, hi);
        std::vector<double> values;
        for (quint64 seed = 0; seed < Draws; ++seed) {
            const double v = quantity(randomPlant(seed));
            if (std::isnan(v))
                continue;
            QVERIFY2(v >= lo - slack && v <= hi + slack,
                     qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(v)));
            values.push_back(v);
        }
        QVERIFY2(std::abs(double(values.size()) / Draws - share) < 0.04,
                 qPrintable(QString::number(double(values.size()) / Draws)));
        std::sort(values.begin(), values.end());
        const double middle = values[values.size() / 2];
        QVERIFY2(std::abs(middle - median) <= 0.1 * (hi - lo) + slack,
                 qPrintable(QStringLiteral("median %1, expected %2").arg(middle).arg(median)));
    }

    void delaysFollowTheirLaw()
    {
        // Each ms of delay 0.45 times as likely as one less, up to 6 ms.
        std::array<int, 7> seen{};
        for (quint64 seed = 0; seed < Draws; ++seed)
            ++seen.at(size_t(randomPlant(seed).delayMs));
        double total = 0;
        for (int d = 0; d <= 6; ++d)
            total += std::pow(0.45, d);
        for (int d = 0; d <= 6; ++d) {
            const double share = double(seen[size_t(d)]) / Draws;
            QVERIFY2(std::abs(share - std::pow(0.45, d) / total) < 0.02 && seen[size_t(d)] > 0,
                     qPrintable(QStringLiteral("%1 ms: %2").arg(d).arg(share)));
        }
    }

    void sameSeedSameAxisAndTrace()
    {
        for (quint64 seed : {0ULL, 7ULL, 123456789ULL, 18446744073709551615ULL}) {
            const Plant a = randomPlant(seed);
            QVERIFY(a == randomPlant(seed));
            QVERIFY(!(a == randomPlant(seed + 1)));
            const QList<int> first = trace(a);
            QCOMPARE(trace(randomPlant(seed)), first);
            QVERIFY(
                std::any_of(first.begin(), first.end(), [](int e) { return std::abs(e) > 50; }));
        }
    }

    void sequenceIsSplitmix64()
    {
        // The published first outputs for a state of 0: the family does not
        // depend on any library's random numbers.
        quint64 state = 0;
        QCOMPARE(splitmix64(state), 0xe220a8397b1dcdafULL);
        QCOMPARE(splitmix64(state), 0x6e789e6aa1b965f4ULL);
        QCOMPARE(splitmix64(state), 0x06c45d188009454fULL);
    }

    void names_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("known");
        QTest::newRow("random:7") << "random:7" << true;
        QTest::newRow("largest seed") << "random:18446744073709551615" << true;
        QTest::newRow("too large") << "random:18446744073709551616" << false;
        QTest::newRow("no seed") << "random:" << false;
        QTest::newRow("negative") << "random:-1" << false;
        QTest::newRow("blank") << "random: 7" << false;
        QTest::newRow("plus") << "random:+7" << false;
        QTest::newRow("letters") << "random:7a" << false;
        QTest::newRow("named") << "heavy" << true;
        QTest::newRow("unknown") << "random" << false;
    }
    void names()
    {
        QFETCH(QString, name);
        QFETCH(bool, known);
        const std::optional<Plant> plant = plantFor(name);
        QCOMPARE(plant.has_value(), known);
        if (known && name.startsWith(QLatin1String("random:")))
            QVERIFY(*plant == randomPlant(name.mid(7).toULongLong()));
        if (known && !name.startsWith(QLatin1String("random:")))
            QVERIFY(*plant == *namedPlant(name));
    }
};

QTEST_GUILESS_MAIN(TestSimFamily)
#include "tst_sim_family.moc"
