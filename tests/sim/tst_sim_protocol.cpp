// The controller's line protocol as the terminal uses it.

#include "firmware.h"
#include "simulatedline.h"

#include <QRandomGenerator>
#include <QTest>

using namespace kdx::sim;
using Lines = QList<QByteArray>;

namespace {

// Runs the lines through the firmware and returns the answer to the last one.
QByteArray run(Firmware &firmware, const Lines &lines)
{
    QByteArray answer;
    for (const QByteArray &line : lines)
        answer = firmware.handleLine(line);
    return answer;
}

// Everything the controller sends back for the given bytes, answered at once.
QByteArray exchange(SimulatedLine &line, QByteArrayView bytes, qint64 atNs = 0)
{
    line.receive(atNs, bytes);
    return line.takeDue(atNs);
}

} // namespace

class TestSimProtocol : public QObject {
    Q_OBJECT
private slots:
    void lineAfterPrompt_data()
    {
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<int>("p3");
        QTest::addColumn<int>("p2");
        QTest::addColumn<double>("goal");
        QTest::newRow("number commits") << Lines{"P3", "1000"} << 1000 << 200 << 0.0;
        QTest::newRow("blanks around number") << Lines{"P3", " \t-42 "} << -42 << 200 << 0.0;
        QTest::newRow("16-bit limits")
            << Lines{"P3", "32767", "P2", "-32768"} << 32767 << -32768 << 0.0;
        QTest::newRow("out of range refused") << Lines{"P3", "32768"} << 10 << 200 << 0.0;
        QTest::newRow("long digit run refused")
            << Lines{"P3", QByteArray(40, '9')} << 10 << 200 << 0.0;
        QTest::newRow("empty line keeps") << Lines{"P3", "", "1000"} << 10 << 200 << 0.0;
        QTest::newRow("one answer per prompt") << Lines{"P3", "5", "6"} << 5 << 200 << 0.0;
        QTest::newRow("other line is a command") << Lines{"P3", "P2", "55"} << 10 << 55 << 0.0;
        QTest::newRow("command closes prompt") << Lines{"P3", "m3", "55"} << 10 << 200 << 0.0;
        QTest::newRow("number after P9") << Lines{"P3", "P9", "77"} << 10 << 200 << 0.0;
        QTest::newRow("minus number after P9 is a step")
            << Lines{"P9", "-5", "-6"} << 10 << 200 << -11.0;
        QTest::newRow("minus number after Pn is a value")
            << Lines{"P3", "-5", "-6"} << -5 << 200 << -6.0;
        QTest::newRow("plus sign is a step") << Lines{"P3", "+5"} << 10 << 200 << 5.0;
    }
    void lineAfterPrompt()
    {
        QFETCH(Lines, lines);
        QFETCH(int, p3);
        QFETCH(int, p2);
        QFETCH(double, goal);
        Firmware firmware;
        run(firmware, lines);
        QCOMPARE(firmware.activeValue(IGain), p3);
        QCOMPARE(firmware.activeValue(PGain), p2);
        QCOMPARE(firmware.storedValue(IGain), 10);
        QCOMPARE(firmware.axis().goal(), goal);
    }

    void answers_data()
    {
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<QByteArray>("answer");
        const QByteArray ack = Firmware::Ack.toByteArray();
        const QByteArray error = Firmware::Error.toByteArray();
        for (const char *line :
             {"", "p7", "m1", "M2", "m3", "S0", "S600", "S-600", "W 0", "w0", "+9999", "-1"})
            QTest::addRow("'%s'", line) << Lines{line} << (*line == 'p' ? "P7 30:" : ack);
        QTest::newRow("number after prompt") << Lines{"P1", "60"} << ack;
        for (const char *line : {"X", "P8", "P10", "P", "m0", "m4", "S", "S601", "S-601", "S1x",
                                 "W 1", "W", "+0", "+10000", "+", "--5", "5", "P0 1:", "\x01"})
            QTest::addRow("'%s'", line) << Lines{line} << error;
        QTest::newRow("step outside step mode") << Lines{"m2", "+5"} << error;
        QTest::newRow("number after P9") << Lines{"P9", "12"} << error;
        QTest::newRow("out-of-range value") << Lines{"P0", "99999"} << error;
    }
    void answers()
    {
        QFETCH(Lines, lines);
        QFETCH(QByteArray, answer);
        Firmware firmware;
        QCOMPARE(run(firmware, lines), answer);
    }

    void everyLineAnsweredWithoutSpaceOrColonInAcks()
    {
        // Random lines, many of them near misses of real commands.
        const Lines stems{"P", "m", "S", "W", "+", "-", "", " ", "9", ":"};
        QRandomGenerator random(7);
        Firmware firmware;
        for (int i = 0; i < 5000; ++i) {
            QByteArray line = stems.at(random.bounded(stems.size()));
            for (int k = random.bounded(4); k > 0; --k)
                line += char(random.bounded(32, 127));
            const QByteArray answer = firmware.handleLine(line);
            QVERIFY2(!answer.isEmpty(), line.constData());
            if (answer.startsWith('P'))
                QVERIFY2(answer.endsWith(':') && answer.indexOf(' ') == 2, answer.constData());
            else
                QVERIFY2(!answer.contains(' ') && !answer.contains(':'), line.constData());
            firmware.advanceTo(firmware.timeNs() + Firmware::TickNs);
        }
    }

    void storeAndPowerCycle_data()
    {
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<int>("afterRestart");
        QTest::newRow("stored") << Lines{"P2", "40", "W 0"} << 40;
        QTest::newRow("not stored") << Lines{"P2", "40"} << 200;
        QTest::newRow("stored then changed") << Lines{"P2", "40", "W 0", "P2", "50"} << 40;
    }
    void storeAndPowerCycle()
    {
        QFETCH(Lines, lines);
        QFETCH(int, afterRestart);
        Firmware firmware;
        run(firmware, lines);
        firmware.powerCycle();
        QCOMPARE(firmware.activeValue(PGain), afterRestart);
        QCOMPARE(firmware.storedValue(PGain), afterRestart);
    }

    void terminalSaveSequence()
    {
        // A save write as the terminal sends it, with one piece holding two lines.
        SimulatedLine line(LineTiming::instant());
        QCOMPARE(exchange(line, "P2\r"), "P2 200:");
        QCOMPARE(exchange(line, "\r"), "\r\n");
        QCOMPARE(exchange(line, "P2\r"), "P2 200:");
        QCOMPARE(exchange(line, "40\rW 0\r"), "\r\n\r\n");
        for (int i = 0; i < 5; ++i)
            QCOMPARE(exchange(line, "P2\r"), "P2 40:");
        QCOMPARE(line.firmware().storedValue(PGain), 40);
        QCOMPARE(line.linesReceived(), 10);
    }

    void positionErrorFormatAndClamp_data()
    {
        QTest::addColumn<QByteArray>("move");
        QTest::addColumn<int>("gear");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("at rest") << QByteArray() << 1024 << QByteArray("P9 0:");
        QTest::newRow("ahead") << QByteArray("+100") << 1024 << QByteArray("P9 100:");
        QTest::newRow("behind") << QByteArray("-250") << 1024 << QByteArray("P9 -250:");
        QTest::newRow("geared down") << QByteArray("+100") << 256 << QByteArray("P9 25:");
        QTest::newRow("clamped high") << QByteArray("+9999") << 32767 << QByteArray("P9 32767:");
        QTest::newRow("clamped low") << QByteArray("-9999") << 32767 << QByteArray("P9 -32768:");
    }
    void positionErrorFormatAndClamp()
    {
        QFETCH(QByteArray, move);
        QFETCH(int, gear);
        QFETCH(QByteArray, answer);
        // With no torque the axis stays put, so the error is the whole move.
        SimulatedLine line(LineTiming::instant());
        line.firmware().preset(TorqueLimit, 0);
        line.firmware().preset(GearRatio, gear);
        line.firmware().preset(VelocityLimit, 32767);
        if (!move.isEmpty())
            QCOMPARE(exchange(line, move + '\r'), "\r\n");
        QCOMPARE(exchange(line, "P9\r", 5'000'000'000), answer);
    }

    void lineAssembly_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("answers");
        const QByteArray longest = QByteArray(LineAssembler::MaxLength - 2, ' ') + "P0";
        QTest::newRow("LF ignored") << QByteArray("\nP\n0\r\n") << QByteArray("P0 1000:");
        QTest::newRow("lines in one piece")
            << QByteArray("P1\r\rP7\r") << QByteArray("P1 50:\r\nP7 30:");
        QTest::newRow("line not yet complete") << QByteArray("P") << QByteArray();
        QTest::newRow("longest line kept") << longest + '\r' << QByteArray("P0 1000:");
        QTest::newRow("over-long line dropped")
            << ' ' + longest + "\rP6\r" << QByteArray("?\r\nP6 1024:");
        QTest::newRow("over-long line closes prompt")
            << "P3\r" + QByteArray(1000, '1') + "\r5\r" << QByteArray("P3 10:?\r\n?\r\n");
        QTest::newRow("endless line")
            << QByteArray(10'000'000, 'x') + "\rP0\r" << QByteArray("?\r\nP0 1000:");
    }
    void lineAssembly()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, answers);
        SimulatedLine line(LineTiming::instant());
        QCOMPARE(exchange(line, bytes), answers);
        QCOMPARE(line.firmware().activeValue(IGain), 10);
    }

    void faults()
    {
        LineFaults silent;
        silent.silentAfter = 2;
        SimulatedLine quiet(LineTiming::instant(), silent);
        QCOMPARE(exchange(quiet, "P0\rP1\rP2\r"), "P0 1000:P1 50:");
        QCOMPARE(quiet.nextDeliveryNs(), -1);

        LineFaults noisy;
        noisy.garbageRate = 0.5;
        noisy.seed = 42;
        SimulatedLine first(LineTiming::instant(), noisy);
        SimulatedLine second(LineTiming::instant(), noisy);
        const QByteArray script = "P0\rP1\rP2\rP3\rP4\rP5\r";
        const QByteArray garbled = exchange(first, script);
        QCOMPARE(exchange(second, script), garbled);
        QVERIFY(garbled.size() > 40); // the clean answers take 40 bytes
    }

    void faultsChangeWhileRunning()
    {
        LineFaults mangled;
        mangled.mangled = true;
        SimulatedLine line(LineTiming::instant(), mangled);
        Lines seen;
        line.setLineObserver([&](qint64, QByteArrayView text, bool overlong) {
            seen << (overlong ? QByteArray("<overlong>") : text.toByteArray());
        });
        QCOMPARE(exchange(line, "P0\r"), "P01000");

        LineFaults nul;
        nul.garbageRate = 1;
        nul.garbageByte = 0;
        line.setFaults(nul);
        QCOMPARE(exchange(line, "\r"), QByteArray("\r\0\n\0", 4));
        QCOMPARE(line.noise(3), QByteArray(3, '\0'));

        LineFaults silent;
        silent.silentAfter = line.linesReceived();
        line.setFaults(silent);
        QCOMPARE(exchange(line, "P2\r"), "");
        QCOMPARE(line.firmware().activeValue(2), 200);

        line.setFaults({});
        QCOMPARE(exchange(line, "P2\r" + QByteArray(300, 'x') + "\r"), "P2 200:?\r\n");
        QCOMPARE(seen, (Lines{"P0", "", "P2", "P2", "<overlong>"}));
    }
};

QTEST_GUILESS_MAIN(TestSimProtocol)
#include "tst_sim_protocol.moc"
