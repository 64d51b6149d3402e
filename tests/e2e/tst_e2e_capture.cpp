// A step capture against kdxsim over the real serial path: the terminal as
// the operator runs it, with the monitor polling around the capture, and
// kdxsim's log of every line it received to see what went on the wire.

#include "app/terminal.h"
#include "core/capture.h"
#include "kdxsimprocess.h"
#include "link/serialportopener.h"
#include "operations/scheduler.h"
#include "operations/stepcapture.h"
#include "operations/ticktimer.h"
#include "scriptedprompter.h"
#include "widgets/form1.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>

using namespace kdx;

namespace {

constexpr int kPatienceMs = 30000; // a deadline for what must happen, never a measure

} // namespace

class TestE2eCapture : public QObject {
    Q_OBJECT
private slots:
    void stepResponseOverTheSerialPort_data();
    void stepResponseOverTheSerialPort();
};

void TestE2eCapture::stepResponseOverTheSerialPort_data()
{
    QTest::addColumn<int>("steps");
    QTest::newRow("forward") << 2000;
    QTest::newRow("backward") << -600;
}

void TestE2eCapture::stepResponseOverTheSerialPort()
{
    QFETCH(int, steps);
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("kdxsim.log"));
    KdxsimProcess sim;
    QVERIFY(sim.start({"--log", log, "--plant", "nominal", "--set", "P0=500"}));
    SerialPortOpener opener(sim.ptyPath());
    ScriptedPrompter prompter;
    TerminalOptions options;
    options.opener = &opener;
    options.prompter = &prompter;
    options.paramFolder = dir.path();
    options.reconnectIntervalMs = 0;
    options.settleStep = std::chrono::microseconds(1);
    Terminal terminal(options);
    QVERIFY(terminal.start());
    terminal.run([&] { terminal.onFirstShown(); });
    Form1 &f = terminal.form();
    // The monitor polls before and around the capture.
    QTRY_VERIFY_WITH_TIMEOUT(KdxsimProcess::receivedLines(log).count(QStringLiteral("P9")) > 20,
                             kPatienceMs);

    // Halfway through, the operator's buttons are out of reach, and an
    // event that still comes in sends nothing.
    bool formDisabled = false;
    QTimer::singleShot(300, &f, [&] {
        formDisabled = !f.isEnabled();
        emit f.Command34->clicked();
    });
    StepCapture &capture = terminal.stepCapture();
    const bool ran = terminal.runOwningLine([&] { capture.run(steps, 1000); });
    terminal.scheduler().pollTimer().setHeld(true); // nothing more goes out after the capture
    QVERIFY(ran);
    QVERIFY(formDisabled);
    QVERIFY(f.isEnabled());
    const Capture c = capture.last();
    const StepRecord &r = c.record;
    QVERIFY(r.complete);
    QCOMPARE(c.steps, steps);
    QVERIFY(c.paramsKnown);
    QCOMPARE(c.params[0], 500);            // read back from the controller
    QCOMPARE(r.stepCounts, double(steps)); // P6 = 1024: one count a step
    QCOMPARE(r.moveEndMs, std::abs(steps) * 16.0 / 500);
    QVERIFY(r.tMs.size() > 100);
    QCOMPARE(r.tMs.size(), r.error.size());

    // Timestamps run forwards over the whole window.
    QVERIFY(std::is_sorted(r.tMs.begin(), r.tMs.end()));
    QVERIFY(r.tMs.front() > 0);
    QVERIFY(r.tMs.back() >= 900);
    QVERIFY(r.tMs.front() < r.tMs.back());

    // Starts near zero: no further off than the goal can have moved by then.
    const double sign = steps > 0 ? 1 : -1;
    QVERIFY2(std::abs(r.error.front()) <= 500.0 / 16 * r.tMs.front() + 2,
             qPrintable(QString::number(r.error.front())));
    // Peaks in the step's direction (the goal runs ahead of the shaft) ...
    const auto peak = std::max_element(r.error.begin(), r.error.end(),
                                       [&](double a, double b) { return sign * a < sign * b; });
    QVERIFY(sign * *peak > 0.05 * std::abs(steps));
    // ... and settles inside its band for the last tenth of the window.
    const double band = std::max(0.02 * std::abs(steps), 2.0);
    for (std::size_t i = 0; i < r.tMs.size(); ++i)
        if (r.tMs[i] >= 0.9 * r.windowMs)
            QVERIFY2(std::abs(r.error[i]) <= band, qPrintable(QString::number(r.error[i])));

    // On the wire: the parameters read back (each prompt closed with a bare
    // return), step mode, the zero reading, the step with its return, then
    // only polls, one per reading, with nothing between.
    const QString stepLine =
        (steps > 0 ? QStringLiteral("+") : QStringLiteral("-")) + QString::number(std::abs(steps));
    QStringList expected;
    for (int n = 0; n < 8; ++n)
        expected << QStringLiteral("P%1").arg(n) << QString();
    expected << QStringLiteral("m3") << QStringLiteral("P9") << stepLine << QString();
    for (std::size_t i = 0; i < r.tMs.size(); ++i)
        expected << QStringLiteral("P9");
    QStringList lines;
    QTRY_VERIFY_WITH_TIMEOUT(
        (lines = KdxsimProcess::receivedLines(log)).size() >= expected.size() &&
            lines.lastIndexOf(QStringLiteral("P0")) >= 0 &&
            lines.mid(lines.lastIndexOf(QStringLiteral("P0"))).size() >= expected.size(),
        kPatienceMs);
    QCOMPARE(lines.mid(lines.lastIndexOf(QStringLiteral("P0"))), expected);
}

QTEST_MAIN(TestE2eCapture)
#include "tst_e2e_capture.moc"
