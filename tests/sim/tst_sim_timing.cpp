// When answers arrive, and the in-process device the terminal reads them from.

#include "linetiming.h"
#include "simulateddevice.h"

#include <QSignalSpy>
#include <QTest>

using namespace kdx::sim;

namespace {

constexpr qint64 Ms = 1'000'000;

// Reads the position error again and again, time passing between the reads.
QList<QByteArray> positionErrorPoll(SimulatedDevice &device)
{
    QList<QByteArray> answers;
    device.write("m3\r+800\r");
    for (int i = 0; i < 60; ++i) {
        device.advanceTime(5);
        device.readAll();
        device.write("P9\r");
        device.advanceTime(5);
        answers.append(device.readAll());
    }
    return answers;
}

} // namespace

class TestSimTiming : public QObject {
    Q_OBJECT
private slots:
    void deliveryTime_data()
    {
        QTest::addColumn<int>("baud");
        QTest::addColumn<qint64>("latencyNs");
        QTest::addColumn<int>("requestBytes");
        QTest::addColumn<int>("replyBytes");
        QTest::addColumn<qint64>("expectedNs");
        // (request + reply) * 10 bits / baud + latency
        QTest::newRow("P0 at 38400") << 38400 << Ms << 3 << 8 << 2'864'583 + Ms;
        QTest::newRow("no latency") << 38400 << qint64(0) << 3 << 8 << qint64(2'864'583);
        QTest::newRow("one byte each way") << 38400 << qint64(0) << 1 << 1 << qint64(520'834);
        QTest::newRow("9600 baud") << 9600 << 5 * Ms << 4 << 2 << 6'250'000 + 5 * Ms;
        QTest::newRow("instant") << 0 << qint64(0) << 300 << 300 << qint64(0);
    }
    void deliveryTime()
    {
        QFETCH(int, baud);
        QFETCH(qint64, latencyNs);
        QFETCH(int, requestBytes);
        QFETCH(int, replyBytes);
        QFETCH(qint64, expectedNs);
        LineTiming timing(baud, latencyNs);
        const qint64 start = 7 * Ms;
        const qint64 arrival = timing.receive(start, requestBytes);
        QCOMPARE(arrival - start, timing.transferNs(requestBytes));
        QCOMPARE(timing.send(arrival, replyBytes) - start, expectedNs);
    }

    void linesQueueOnTheWire()
    {
        LineTiming timing(38400, Ms);
        const qint64 request = timing.transferNs(3);
        const qint64 reply = timing.transferNs(8);
        // Two lines written together: the second starts when the first is through.
        QCOMPARE(timing.receive(0, 3), request);
        QCOMPARE(timing.receive(0, 3), 2 * request);
        // An answer ready while the previous one is still going out waits for it.
        QCOMPARE(timing.send(request, 8), request + reply + Ms);
        QCOMPARE(timing.send(2 * request, 8), request + 2 * reply + Ms);
        // Once the line has been idle, timing starts afresh.
        QCOMPARE(timing.receive(100 * Ms, 1), 100 * Ms + timing.transferNs(1));
    }

    void answersArriveWhenDue()
    {
        // "P0\r" and "P0 1000:" take 11 bytes: 2.86 ms, plus 1 ms latency.
        SimulatedDevice device(LineTiming(), SimulatedDevice::Clock::Manual);
        QVERIFY(device.open(QIODevice::ReadWrite));
        QSignalSpy readyRead(&device, &QIODevice::readyRead);
        QCOMPARE(device.write("P0\r"), 3);
        QCOMPARE(device.bytesAvailable(), 0);
        device.advanceTime(3);
        QCOMPARE(device.bytesAvailable(), 0);
        device.advanceTime(1);
        QCOMPARE(device.bytesAvailable(), 8);
        QCOMPARE(device.simulatedTimeNs(), 4 * Ms);
        QVERIFY(readyRead.wait(5000));
        QCOMPARE(device.readAll(), "P0 1000:");
        QCOMPARE(device.bytesAvailable(), 0);
    }

    void instantDeliveryIsReadableAtOnce()
    {
        SimulatedDevice device(LineTiming::instant(), SimulatedDevice::Clock::Manual);
        QVERIFY(device.open(QIODevice::ReadWrite));
        QVERIFY(device.isSequential());
        QSignalSpy readyRead(&device, &QIODevice::readyRead);
        device.write("P3\r1000\r\rP3\r");
        QCOMPARE(device.bytesAvailable(), 18);
        QCOMPARE(device.read(6), "P3 10:");
        QCOMPARE(device.bytesAvailable(), 12);
        QVERIFY(readyRead.wait(5000));
        QCOMPARE(readyRead.count(), 1);
        QCOMPARE(device.readAll(), "\r\n\r\nP3 1000:");
    }

    void manyLinesInOnePieceLoseNothing()
    {
        SimulatedDevice device(LineTiming(), SimulatedDevice::Clock::Manual);
        QVERIFY(device.open(QIODevice::ReadWrite));
        QByteArray script;
        QByteArray expected;
        for (int i = 0; i < 200; ++i) {
            const int n = i % ParamCount;
            script += "P" + QByteArray::number(n) + "\r\r";
            expected += "P" + QByteArray::number(n) + ' ' +
                        QByteArray::number(Firmware::DefaultParameters[n]) + ":\r\n";
        }
        device.write(script);
        QByteArray received;
        for (int ms = 0; ms < 2000 && received.size() < expected.size(); ++ms) {
            device.advanceTime(1);
            received += device.readAll();
        }
        QCOMPARE(received, expected);
    }

    void sameScriptSameTrace()
    {
        SimulatedDevice first(LineTiming(), SimulatedDevice::Clock::Manual);
        SimulatedDevice second(LineTiming(), SimulatedDevice::Clock::Manual);
        QVERIFY(first.open(QIODevice::ReadWrite));
        QVERIFY(second.open(QIODevice::ReadWrite));
        const QList<QByteArray> trace = positionErrorPoll(first);
        QCOMPARE(positionErrorPoll(second), trace);
        // The trace shows the move, not a constant.
        QVERIFY(trace.first() != trace.last());
        QCOMPARE(trace.last(), "P9 0:");
    }

    void wallClockDeviceAnswersAndReopens()
    {
        SimulatedDevice device;
        QVERIFY(device.open(QIODevice::ReadWrite));
        QSignalSpy readyRead(&device, &QIODevice::readyRead);
        device.write("P1\r");
        QByteArray received;
        while (!received.endsWith(':') && readyRead.wait(5000))
            received += device.readAll();
        QCOMPARE(received, "P1 50:");
        device.write("60\r");
        QVERIFY(device.waitForReadyRead(5000));
        QCOMPARE(device.readAll(), "\r\n");

        // Closing drops the answer in flight; the controller keeps its values.
        device.write("P1\r");
        device.close();
        QCOMPARE(device.bytesAvailable(), 0);
        QVERIFY(device.open(QIODevice::ReadWrite));
        device.write("P1\r");
        QVERIFY(device.waitForReadyRead(5000));
        received = device.readAll();
        while (!received.endsWith(':') && device.waitForReadyRead(5000))
            received += device.readAll();
        QCOMPARE(received, "P1 60:");
    }
};

QTEST_GUILESS_MAIN(TestSimTiming)
#include "tst_sim_timing.moc"
