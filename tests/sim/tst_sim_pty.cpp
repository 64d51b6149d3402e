// kdxsim as the terminal meets it: a serial port at 38400 8N1.

#include <QDeadlineTimer>
#include <QProcess>
#include <QSerialPort>
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

    void refusesBadOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("parameter out of range") << QStringList{"--set", "P8=1"};
        QTest::newRow("garbage rate") << QStringList{"--garbage", "2"};
        QTest::newRow("stray argument") << QStringList{"extra"};
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
