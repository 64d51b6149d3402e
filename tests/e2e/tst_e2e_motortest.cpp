// The motor test against the simulated controller: the real terminal with
// its real timers, on a line with 38400-baud timing to a controller whose
// axis moves in real time. The controller runs either in this process or in
// a kdxsim process, whose pseudo-terminal the terminal opens with its
// ordinary serial-port opener, as it opens a controller's line at the bench.

#include "link/portopener.h"
#include "link/seriallink.h"
#include "link/serialportopener.h"
#include "scriptedprompter.h"
#include "simulateddevice.h"
#include "ui/form1.h"
#include "ui/optiongroup.h"
#include "ui/terminal.h"
#include "ui/ticktimer.h"
#include "ui/tracesurface.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kdx;

namespace {

class SimulatedOpener : public PortOpener {
public:
    QIODevice *device() override { return &m_device; }
    OpenResult open() override
    {
        if (m_device.isOpen())
            m_device.close();
        return m_device.open(QIODevice::ReadWrite) ? OpenResult{OpenResult::Status::Open, {}}
                                                   : OpenResult{};
    }
    QString displayName() const override { return QStringLiteral("SIM"); }

    // The axis, caught up with the time that has passed.
    const sim::ServoModel &axis()
    {
        sim::Firmware &firmware = m_device.firmware();
        firmware.advanceTo(m_device.simulatedTimeNs());
        return firmware.axis();
    }

private:
    sim::SimulatedDevice m_device;
};

// kdxsim serving a pseudo-terminal for as long as the object lives.
class SimulatorProcess {
public:
    ~SimulatorProcess()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.terminate();
        if (!m_process.waitForFinished(10000))
            m_process.kill();
    }

    // The device path kdxsim prints first; empty when it did not start.
    QString start()
    {
        m_process.start(QStringLiteral(KDXSIM_PATH), QStringList());
        if (!m_process.waitForStarted(10000))
            return QString();
        const QDeadlineTimer deadline(10000);
        while (!m_process.canReadLine() && !deadline.hasExpired())
            m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

private:
    QProcess m_process;
};

// A terminal on the given line, started as on the first show.
struct Bench {
    explicit Bench(PortOpener &opener)
    {
        TerminalOptions options;
        options.opener = &opener;
        options.prompter = &prompter;
        options.paramFolder = dir.path();
        options.reconnectIntervalMs = 0;
        terminal = std::make_unique<Terminal>(options);
        if (terminal->Form_Load())
            terminal->run([this] { terminal->Form_Activate(); });
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
    SimulatorProcess kdxsim;
    std::unique_ptr<PortOpener> opener;
    SimulatedOpener *inProcess = nullptr;
    if (serialPort) {
        const QString path = kdxsim.start();
        QVERIFY2(path.startsWith(u'/'), "kdxsim did not start");
        opener = std::make_unique<SerialPortOpener>(path);
    } else {
        inProcess = new SimulatedOpener;
        opener.reset(inProcess);
    }
    Bench b(*opener);
    Form1 &f = b.form();
    QVERIFY(b.terminal->link().isOpen());
    QVERIFY(!f.Timer1->isHeld());
    QVERIFY(f.Timer1->isEnabled());
    QVERIFY(b.prompter.shown.isEmpty());

    f.HScroll2->setValue(300);
    QSet<int> errors;
    connect(f.Text20, &QLineEdit::textChanged, &f, [&](const QString &t) { errors << t.toInt(); });
    emit f.Command32->clicked();
    QCOMPARE(f.Options->selected(), nullptr);
    if (inProcess) {
        QCOMPARE(inProcess->axis().mode(), sim::ServoModel::Mode::PidRun);
        QCOMPARE(inProcess->axis().speed(), 300);
    }
    // The trace follows the error as the axis speeds up.
    QTRY_VERIFY_WITH_TIMEOUT(errors.size() >= 4, 10000);
    QVERIFY(std::abs(f.Text24->text().toInt()) >= 5);
    QVERIFY(f.Picture1->segmentCount() > 0);

    QList<int> afterStop;
    connect(f.Text18, &QLineEdit::textChanged, &f,
            [&](const QString &t) { afterStop << t.toInt(); });
    emit f.Command34->clicked();
    QCOMPARE(f.Options->selected(), f.Option3);
    QCOMPARE(f.Text24->text(), QStringLiteral("0"));
    if (inProcess) {
        QCOMPARE(inProcess->axis().mode(), sim::ServoModel::Mode::Step);
        QCOMPARE(inProcess->axis().speed(), 0);
    }
    // The axis holds still and its error runs back towards zero (a reading
    // of 0 itself is no reading).
    QTRY_VERIFY_WITH_TIMEOUT(
        !afterStop.isEmpty() && afterStop.last() != 0 && std::abs(afterStop.last()) <= 2, 10000);
    if (inProcess)
        QTRY_COMPARE_WITH_TIMEOUT(inProcess->axis().positionError(), 0, 10000);
    QVERIFY(b.terminal->link().problem().isEmpty());
}

void TestE2eMotorTest::repeatedSteppingAlternates()
{
    SimulatedOpener opener;
    Bench b(opener);
    Form1 &f = b.form();
    // The simulated controller takes a number line straight after "P9" as
    // an answer to the poll, a minus step included: step with the poll off.
    f.Check2->setChecked(false);
    f.Timer2->setHeld(true); // the test gives the ticks itself
    f.Text9->setText(QStringLiteral("500"));
    f.Check3->setChecked(true);
    QVERIFY(!f.Timer1->isEnabled());

    const double start = opener.axis().goal();
    QList<double> goals;
    QList<QString> shown;
    for (int i = 0; i < 4; ++i) {
        f.Timer2->fire();
        goals << opener.axis().goal() - start;
        shown << f.Options->selected()->objectName();
        // The axis gets there before the next step.
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(opener.axis().encoder() - opener.axis().goal()) <= 1,
                                 10000);
    }
    // After the stop at start-up none is selected, so the first step is "+".
    QCOMPARE(goals, (QList<double>{500, 0, 500, 0}));
    QCOMPARE(shown, (QList<QString>{"Option1", "Option2", "Option1", "Option2"}));
}

QTEST_MAIN(TestE2eMotorTest)
#include "tst_e2e_motortest.moc"
