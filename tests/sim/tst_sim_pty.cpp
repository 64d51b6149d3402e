// kdxsim as the terminal meets it: a serial port at 38400 8N1.

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr int Patience = 5000; // ms; only a deadline for what should come at once

bool openPort(QSerialPort &port, const QString &path)
{
    port.setPortName(path);
    port.setBaudRate(QSerialPort::Baud38400);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    return port.open(QIODevice::ReadWrite);
}

// Sends a line and collects what comes back until it ends as expected.
QByteArray ask(QSerialPort &port, const QByteArray &line, const QByteArray &ending)
{
    port.write(line + '\r');
    QByteArray received;
    const QDeadlineTimer deadline(Patience);
    while (!received.endsWith(ending) && !deadline.hasExpired()) {
        if (port.waitForReadyRead(int(deadline.remainingTime())))
            received += port.readAll();
    }
    return received;
}

} // namespace

class TestSimPty : public QObject {
    Q_OBJECT
private slots:
    void cleanup()
    {
        if (m_sim.state() != QProcess::NotRunning) {
            m_sim.terminate();
            QVERIFY(m_sim.waitForFinished(Patience));
            QCOMPARE(m_sim.exitStatus(), QProcess::NormalExit);
            QCOMPARE(m_sim.exitCode(), 0);
        }
    }

    void answersOverSerialPortAndReopens()
    {
        const QString path = start({});
        QVERIFY2(path.startsWith(QLatin1String("/dev/")), qPrintable(path));
        QSerialPort port;
        QVERIFY2(openPort(port, path), qPrintable(port.errorString()));
        QCOMPARE(ask(port, "P0", ":"), "P0 1000:");
        QCOMPARE(ask(port, "1200", "\r\n"), "\r\n");
        port.close();

        // The controller is still there, with its values, after the port was closed.
        QVERIFY2(openPort(port, path), qPrintable(port.errorString()));
        QCOMPARE(ask(port, "P0", ":"), "P0 1200:");
        QCOMPARE(ask(port, "", "\r\n"), "\r\n");
        QCOMPARE(ask(port, "P9", ":"), "P9 0:");
    }

    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("preset") << QStringList{"--set", "P2=150", "--set", "p7=-3"}
                                << QByteArray("P2 150:");
        QTest::newRow("echo") << QStringList{"--echo"} << QByteArray("P2\rP2 200:");
        QTest::newRow("instant") << QStringList{"--instant"} << QByteArray("P2 200:");
        QTest::newRow("no latency") << QStringList{"--latency", "0"} << QByteArray("P2 200:");
        QTest::newRow("another axis")
            << QStringList{"--plant", "heavy", "--gain-scale", "0.1"} << QByteArray("P2 200:");
        QTest::newRow("a random axis")
            << QStringList{"--plant", "random:7", "--gain-scale", "2"} << QByteArray("P2 200:");
    }
    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, answer);
        const QString path = start(arguments);
        QSerialPort port;
        QVERIFY2(openPort(port, path), qPrintable(port.errorString()));
        QCOMPARE(ask(port, "P2", ":"), answer);
    }

    void closesAfterCommands()
    {
        const QString path = start({"--close-after", "2"});
        QSerialPort port;
        QVERIFY2(openPort(port, path), qPrintable(port.errorString()));
        QCOMPARE(ask(port, "P0", ":"), "P0 1000:");
        QCOMPARE(ask(port, "", "\r\n"), "\r\n");
        QVERIFY(m_sim.waitForFinished(Patience));
        QCOMPARE(m_sim.exitCode(), 0);
    }

    void commandsChangeTheFaults()
    {
        QTemporaryDir dir;
        const QString log = dir.filePath(QStringLiteral("lines.log"));
        const QString path = start({"--commands", "--mangle", "--garbage-byte", "0", "--log", log});
        QSerialPort port;
        QVERIFY2(openPort(port, path), qPrintable(port.errorString()));
        QCOMPARE(ask(port, "P0", "1000"), "P01000");

        command("heal");
        QTRY_VERIFY_WITH_TIMEOUT(fileText(log).contains(" # heal\n"), Patience);
        QCOMPARE(ask(port, "P0", ":"), "P0 1000:");

        command("silent");
        QTRY_VERIFY_WITH_TIMEOUT(fileText(log).contains(" # silent\n"), Patience);
        port.write("P1\r");
        QTRY_VERIFY_WITH_TIMEOUT(fileText(log).contains(" > P1\n"), Patience);
        command("heal");
        QTRY_VERIFY_WITH_TIMEOUT(fileText(log).count(" # heal\n") == 2, Patience);
        QCOMPARE(ask(port, "P2", ":"), "P2 200:");

        // A burst of NUL bytes, in one go, larger than any buffer on the way.
        command("burst 200000");
        QByteArray burst;
        const QDeadlineTimer deadline(Patience);
        while (burst.size() < 200000 && !deadline.hasExpired()) {
            if (port.waitForReadyRead(int(deadline.remainingTime())))
                burst += port.readAll();
        }
        QCOMPARE(burst, QByteArray(200000, '\0'));
        QTRY_VERIFY_WITH_TIMEOUT(fileText(log).contains(" # burst sent\n"), Patience);

        command("dance");
        QByteArray complaint;
        QTRY_VERIFY_WITH_TIMEOUT(
            (complaint += m_sim.readAllStandardError()).contains("unknown command 'dance'"),
            Patience);

        // Every line in arrival order, each with the time the line timing
        // gives it; the commands between, with the time they were obeyed.
        QStringList lines;
        double last = 0;
        for (const QString &entry : fileText(log).split(u'\n', Qt::SkipEmptyParts)) {
            bool ok = false;
            const double ms = entry.section(u' ', 0, 0).toDouble(&ok);
            QVERIFY2(ok && ms >= 0, qPrintable(entry));
            lines << entry.section(u' ', 1);
            if (lines.last().startsWith(u'>')) {
                QVERIFY2(ms >= last, qPrintable(entry));
                last = ms;
            }
        }
        QCOMPARE(lines, (QStringList{"> P0", "# heal", "> P0", "# silent", "> P1", "# heal", "> P2",
                                     "# burst 200000", "# burst sent"}));

        // Whoever gave the commands is gone: kdxsim ends.
        m_sim.closeWriteChannel();
        QVERIFY(m_sim.waitForFinished(Patience));
        QCOMPARE(m_sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_sim.exitCode(), 0);
    }

    void refusesBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("parameter out of range") << QStringList{"--set", "P8=1"};
        QTest::newRow("garbage rate") << QStringList{"--garbage", "2"};
        QTest::newRow("garbage byte") << QStringList{"--garbage-byte", "256"};
        QTest::newRow("stray argument") << QStringList{"extra"};
        QTest::newRow("unknown axis") << QStringList{"--plant", "feather"};
        QTest::newRow("random axis without a seed") << QStringList{"--plant", "random:"};
        QTest::newRow("no gain") << QStringList{"--gain-scale", "0"};
        QTest::newRow("gain not a number") << QStringList{"--gain-scale", "x"};
    }
    void refusesBadOptions()
    {
        QFETCH(QStringList, arguments);
        m_sim.start(QStringLiteral(KDXSIM_PATH), arguments);
        QVERIFY(m_sim.waitForFinished(Patience));
        QCOMPARE(m_sim.exitCode(), 2);
        QVERIFY(m_sim.readAllStandardOutput().isEmpty());
    }

private:
    void command(const QByteArray &text)
    {
        m_sim.write(text + '\n');
        m_sim.waitForBytesWritten(Patience);
    }

    static QString fileText(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    // Starts kdxsim and returns the device path it prints first.
    QString start(const QStringList &arguments)
    {
        m_sim.start(QStringLiteral(KDXSIM_PATH), arguments);
        if (!m_sim.waitForStarted(Patience))
            return {};
        const QDeadlineTimer deadline(Patience);
        while (!m_sim.canReadLine() && m_sim.waitForReadyRead(int(deadline.remainingTime()))) {
        }
        return QString::fromLocal8Bit(m_sim.readLine()).trimmed();
    }

    QProcess m_sim;
};

QTEST_GUILESS_MAIN(TestSimPty)
#include "tst_sim_pty.moc"
