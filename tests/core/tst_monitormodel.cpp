#include "core/monitormodel.h"

#include <QTest>

using namespace kdx;

namespace {

// Error scale 500 (factor 4), time scale 30: one screen is 300 readings at 1 ms.
const MonitorModel::Scales kScales{4, 30.0};

// Runs the events: a number is a reading, the words are what the monitor does.
void play(MonitorModel &m, const QStringList &events)
{
    qint64 t = 0;
    for (const QString &e : events) {
        if (e == QLatin1String("zero"))
            m.zero();
        else if (e == QLatin1String("off"))
            m.switchOff();
        else if (e == QLatin1String("on"))
            m.switchOn();
        else if (e == QLatin1String("forget"))
            m.forgetReading();
        else
            m.take(qint16(e.toInt()), 1, kScales, t += 1000);
    }
}

} // namespace

class TestMonitorModel : public QObject {
    Q_OBJECT
private slots:
    void zeroAndErrors_data();
    void zeroAndErrors();
    void segmentsWaitForTheView();
    void readingsKeepTheirTimes();
};

void TestMonitorModel::zeroAndErrors_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<double>("zero");
    QTest::addColumn<double>("error");
    QTest::addColumn<double>("largest");
    QTest::newRow("no reading yet") << QStringList{"zero"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("latest reading") << QStringList{"40", "55", "zero"} << 55.0 << 0.0 << 0.0;
    QTest::newRow("zeroed twice") << QStringList{"40", "zero", "zero"} << 40.0 << 0.0 << 0.0;
    QTest::newRow("switched off and on, then zeroed")
        << QStringList{"40", "off", "on", "zero"} << 40.0 << 0.0 << 0.0;
    QTest::newRow("switched off") << QStringList{"-45", "20", "off"} << 0.0 << 0.0 << -45.0;
    QTest::newRow("a new line") << QStringList{"40", "forget", "zero"} << 0.0 << 0.0 << 0.0;
    QTest::newRow("readings after the zero")
        << QStringList{"40", "zero", "55", "10"} << 40.0 << -30.0 << -30.0;
    QTest::newRow("equal magnitude keeps the first")
        << QStringList{"-30", "35", "-35"} << 0.0 << -35.0 << 35.0;
}

void TestMonitorModel::zeroAndErrors()
{
    QFETCH(QStringList, events);
    QFETCH(double, zero);
    QFETCH(double, error);
    QFETCH(double, largest);
    MonitorModel m;
    play(m, events);
    QCOMPARE(m.zeroReference(), zero);
    QCOMPARE(m.error(), error);
    QCOMPARE(m.largestError(), largest);
}

void TestMonitorModel::segmentsWaitForTheView()
{
    MonitorModel m;
    play(m, {"100", "100", "50"});
    // Nothing is lost between two frames: the segments join up.
    MonitorModel::Pending p = m.takePending();
    QVERIFY(!p.cleared);
    QCOMPARE(p.segments.size(), std::size_t(3));
    QCOMPARE(p.segments[0], QLineF(0, 0, 30, 1600));
    QCOMPARE(p.segments[1], QLineF(30, 1600, 60, 1600));
    QCOMPARE(p.segments[2], QLineF(60, 1600, 90, 1800));
    QVERIFY(!m.hasPending());

    // A wrap between two frames: the view clears, then draws only what
    // follows the wrap, from the top left corner.
    for (int i = 3; i < 299; ++i)
        play(m, {"100"});
    m.takePending();
    play(m, {"100", "100"});
    p = m.takePending();
    QVERIFY(p.cleared);
    QCOMPARE(p.segments.size(), std::size_t(2));
    QCOMPARE(p.segments[0], QLineF(0, 0, 0, 1600));
    QCOMPARE(m.elapsedMs(), 1.0);
}

void TestMonitorModel::readingsKeepTheirTimes()
{
    MonitorModel m;
    m.take(7, 1, kScales, 123456789);
    m.take(-8, 1, {0, std::nullopt}, 223456789);
    QCOMPARE(m.readings().size(), std::size_t(2));
    QCOMPARE(m.readings().latest().tNs, 223456789);
    QCOMPARE(m.readings().latest().raw, qint16(-8));
    // A time scale that is no number draws nothing, but the reading counts.
    QCOMPARE(m.elapsedMs(), 2.0);
    QCOMPARE(m.takePending().segments.size(), std::size_t(1));
}

QTEST_MAIN(TestMonitorModel)
#include "tst_monitormodel.moc"
