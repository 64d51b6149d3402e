#include "operations/ticktimer.h"

#include <QSignalSpy>
#include <QTest>

using namespace kdx;

class TestTickTimer : public QObject {
    Q_OBJECT
private slots:
    void firesOnlyWhenEnabledWithAnInterval_data();
    void firesOnlyWhenEnabledWithAnInterval();
    void restsWhileATickRuns();
};

void TestTickTimer::firesOnlyWhenEnabledWithAnInterval_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("held");
    QTest::addColumn<bool>("paused");
    QTest::addColumn<bool>("fires");
    QTest::newRow("enabled, 1 ms") << true << 1 << false << false << true;
    QTest::newRow("interval 0 never fires") << true << 0 << false << false << false;
    QTest::newRow("disabled") << false << 1 << false << false << false;
    QTest::newRow("held") << true << 1 << true << false << false;
    QTest::newRow("paused") << true << 1 << false << true << false;
}

void TestTickTimer::firesOnlyWhenEnabledWithAnInterval()
{
    QFETCH(bool, enabled);
    QFETCH(int, interval);
    QFETCH(bool, held);
    QFETCH(bool, paused);
    QFETCH(bool, fires);
    TickTimer t;
    t.setEnabled(enabled);
    t.setInterval(interval);
    t.setHeld(held);
    t.setPaused(paused);
    QSignalSpy ticks(&t, &TickTimer::tick);
    if (fires) {
        QVERIFY(ticks.wait(5000));
    } else {
        QTest::qWait(30);
        QCOMPARE(ticks.count(), 0);
        // Lifting the hold, the pause or enabling again lets it run.
        t.setHeld(false);
        t.setPaused(false);
        t.setEnabled(true);
        if (interval > 0)
            QVERIFY(ticks.wait(5000));
    }
}

void TestTickTimer::restsWhileATickRuns()
{
    TickTimer t;
    t.setInterval(1);
    int ticks = 0;
    int nested = 0;
    bool firstTick = true;
    connect(&t, &TickTimer::tick, &t, [&] {
        ++ticks;
        if (!firstTick)
            return;
        firstTick = false;
        // While this tick waits, further periods pass without a tick.
        QTest::qWait(30);
        nested = ticks - 1;
        t.fire(); // an explicit fire inside a tick does not nest either
        nested += ticks - 1;
    });
    QTRY_VERIFY(ticks >= 2);
    QCOMPARE(nested, 0);
}

QTEST_GUILESS_MAIN(TestTickTimer)
#include "tst_ticktimer.moc"
