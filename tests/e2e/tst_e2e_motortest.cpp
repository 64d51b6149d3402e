// The motor test against the simulated controller: the real terminal with
// its real timers, on a line with 38400-baud timing to a controller whose
// axis moves in real time. The controller runs either in this process or in
// a kdxsim process, whose pseudo-terminal the terminal opens with its
// ordinary serial-port opener, as it opens a controller's line at the bench.

#include "app/terminal.h"
#include "kdxsimprocess.h"
#include "link/portopener.h"
#include "link/seriallink.h"
#include "link/serialportopener.h"
#include "link/simulatedopener.h"
#include "operations/positionmonitor.h"
#include "operations/scheduler.h"
#include "operations/stepmode.h"
#include "operations/ticktimer.h"
#include "scriptedprompter.h"
#include "simulatedaxis.h"
#include "simulateddevice.h"
#include "widgets/form1.h"
#include "widgets/monitorview.h"
#include "widgets/tracesurface.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kdx;

namespace {

// A terminal on the given line, started as on the first show.
struct Bench {
    explicit Bench(PortOpener &opener)
    {
        TerminalOptions options;
        options.opener = &opener;
        options.prompter = &prompter;
        options.paramFolder = dir.path();
        options.reconnectIntervalMs = 0;
        QFile(dir.filePath(QStringLiteral("KDXparam.txt"))).open(QIODevice::WriteOnly);
        terminal = std::make_unique<Terminal>(options);
        if (terminal->start())
            terminal->run([this] { terminal->onFirstShown(); });
    }
    Form1 &form() { return terminal->form(); }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<Terminal> terminal;
};

} // namespace

class TestE2eMotorTest : public QObject {
    Q_OBJECT
private slots:
    void pidRunShowsTheErrorAndStopBringsItBack_data();
    void pidRunShowsTheErrorAndStopBringsItBack();
    void repeatedSteppingAlternates();
};

void TestE2eMotorTest::pidRunShowsTheErrorAndStopBringsItBack_data()
{
    QTest::addColumn<bool>("serialPort");
    QTest::newRow("in-process controller") << false;
    QTest::newRow("kdxsim on a serial port") << true;
}

void TestE2eMotorTest::pidRunShowsTheErrorAndStopBringsItBack()
{
    QFETCH(bool, serialPort);
    KdxsimProcess kdxsim;
    std::unique_ptr<PortOpener> opener;
    SimulatedOpener *inProcess = nullptr;
    if (serialPort) {
        QVERIFY2(kdxsim.start(), "kdxsim did not start");
        opener = std::make_unique<SerialPortOpener>(kdxsim.ptyPath());
    } else {
        inProcess = new SimulatedOpener;
        opener.reset(inProcess);
    }
    Bench b(*opener);
    Form1 &f = b.form();
    QVERIFY(b.terminal->link().isOpen());
    QVERIFY(!b.terminal->scheduler().pollTimer().isHeld());
    QVERIFY(b.terminal->scheduler().pollTimer().isEnabled());
    QVERIFY(b.prompter.shown.isEmpty());

    f.HScroll2->setValue(300);
    QSet<int> errors;
    MonitorModel &monitor = b.terminal->monitor().model();
    connect(&monitor, &MonitorModel::changed, &f, [&] { errors << int(monitor.error()); });
    emit f.Command32->clicked();
    QCOMPARE(b.terminal->steps().options().selected(), Choice::kNone);
    if (inProcess) {
        QCOMPARE(axisOf(*inProcess).mode(), sim::ServoModel::Mode::PidRun);
        QCOMPARE(axisOf(*inProcess).speed(), 300);
    }
    // The trace follows the error as the axis speeds up.
    QTRY_VERIFY_WITH_TIMEOUT(errors.size() >= 4, 10000);
    // The window shows the largest error within a frame or two.
    QTRY_VERIFY(std::abs(f.Text24->text().toInt()) >= 5);
    QVERIFY(f.Picture1->segmentCount() > 0);

    QList<int> afterStop;
    connect(&monitor, &MonitorModel::changed, &f, [&] { afterStop << monitor.latestRaw(); });
    emit f.Command34->clicked();
    QCOMPARE(b.terminal->steps().options().selected(), StepMode::NotPidRun);
    b.terminal->monitorView().refresh();
    QCOMPARE(f.Text24->text(), QStringLiteral("0"));
    if (inProcess) {
        QCOMPARE(axisOf(*inProcess).mode(), sim::ServoModel::Mode::Step);
        QCOMPARE(axisOf(*inProcess).speed(), 0);
    }
    // The axis holds still and its error runs back towards zero (a reading
    // of 0 itself is no reading).
    QTRY_VERIFY_WITH_TIMEOUT(
        !afterStop.isEmpty() && afterStop.last() != 0 && std::abs(afterStop.last()) <= 2, 10000);
    if (inProcess)
        QTRY_COMPARE_WITH_TIMEOUT(axisOf(*inProcess).positionError(), 0, 10000);
    QVERIFY(b.terminal->link().problem().isEmpty());
}

void TestE2eMotorTest::repeatedSteppingAlternates()
{
    SimulatedOpener opener;
    Bench b(opener);
    Form1 &f = b.form();
    // The monitor keeps polling in between: a step right after a poll must
    // still move the axis.
    b.terminal->scheduler().stepTimer().setHeld(true); // the test gives the ticks itself
    f.Text9->setText(QStringLiteral("500"));
    f.Check3->setChecked(true);
    QVERIFY(b.terminal->scheduler().pollTimer().isEnabled());

    const double start = axisOf(opener).goal();
    QList<double> goals;
    QList<QString> shown;
    for (int i = 0; i < 4; ++i) {
        b.terminal->scheduler().stepTimer().fire();
        goals << axisOf(opener).goal() - start;
        shown << QStringLiteral("Option%1").arg(b.terminal->steps().options().selected() + 1);
        // The axis gets there before the next step.
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(axisOf(opener).encoder() - axisOf(opener).goal()) <= 1,
                                 10000);
    }
    // After the stop at start-up none is selected, so the first step is "+".
    QCOMPARE(goals, (QList<double>{500, 0, 500, 0}));
    QCOMPARE(shown, (QList<QString>{"Option1", "Option2", "Option1", "Option2"}));
}

QTEST_MAIN(TestE2eMotorTest)
#include "tst_e2e_motortest.moc"
