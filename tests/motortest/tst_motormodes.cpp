#include "link/seriallink.h"
#include "operations/motormodes.h"
#include "operations/stepmode.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace kdx;

namespace {

using Lines = QList<QByteArray>;

void select(TerminalFixture &fx, int option)
{
    fx.terminal().steps().options().select(option);
}

} // namespace

class TestMotorModes : public QObject {
    Q_OBJECT
private slots:
    void stopAndReset();
    void stopAndResetEndsRepeatedStepping();
    void stopAndResetSwitchesTheMonitorOn();
    void voltageRun();
    void pidRun();
    void speedChange_data();
    void speedChange();
    void speedCommandOnlyOnRealChange();
    void resetButton_data();
    void resetButton();
    void silentControllerEndsTheRun();
};

void TestMotorModes::stopAndReset()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    fx.terminal().monitor().monitorSwitch().setEnabled(false);
    select(fx, StepMode::DownShown);
    QList<bool> pollDuringDelay;
    fx.terminal().delay().setWait([&](auto) { pollDuringDelay << fx.pollTimer().isEnabled(); });

    emit f.Command34->clicked();

    QCOMPARE(fx.device().written(), QByteArray("S0\rm3\rm3\r"));
    QCOMPARE(pollDuringDelay, QList<bool>{false});
    QVERIFY(f.Check2->isEnabled());
    QVERIFY(f.Check2->isChecked());
    QCOMPARE(fx.selectedOption(), QStringLiteral("Option3"));
    QVERIFY(fx.pollTimer().isEnabled());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestMotorModes::stopAndResetEndsRepeatedStepping()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    f.Check3->setChecked(true);
    fx.device().clearWritten();

    emit f.Command34->clicked();

    // The repeat switch's own operation runs first and sends its "m3".
    QCOMPARE(fx.device().lines(), (Lines{"m3", "S0", "m3", "m3"}));
    QVERIFY(!f.Check3->isChecked());
    fx.device().clearWritten();
    fx.stepTimer().fire();
    QCOMPARE(fx.device().written(), QByteArray());
}

void TestMotorModes::stopAndResetSwitchesTheMonitorOn()
{
    TerminalFixture fx;
    fx.answerLikeController({}, QStringLiteral("25"));
    fx.load();
    Form1 &f = fx.form();
    f.Check2->setChecked(false);

    emit f.Command34->clicked();

    QVERIFY(f.Check2->isChecked());
    QVERIFY(fx.pollTimer().isEnabled());
    QCOMPARE(fx.monitor().zeroReference(), 0);
    // Readings count from zero again: the unread answers go first.
    fx.pollTimer().fire();
    fx.pollTimer().fire();
    fx.showMonitorNow();
    QCOMPARE(f.Text20->text(), QStringLiteral("25"));
}

void TestMotorModes::voltageRun()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();

    emit f.Command31->clicked();

    QCOMPARE(fx.device().written(), QByteArray("S0\rm3\rm3\rm1\rS20\rS20\r"));
    QVERIFY(!f.Check2->isEnabled());
    QVERIFY(f.Check2->isChecked());
    QVERIFY(fx.pollTimer().isEnabled()); // the monitor keeps running
    QCOMPARE(fx.selectedOption(), QStringLiteral("Option3"));
}

void TestMotorModes::pidRun()
{
    TerminalFixture fx;
    fx.answerLikeController({}, QStringLiteral("-33"));
    fx.load();
    Form1 &f = fx.form();
    fx.pollTimer().fire();
    fx.showMonitorNow();
    QCOMPARE(f.Text24->text(), QStringLiteral("-33"));
    fx.terminal().monitor().monitorSwitch().setEnabled(false);
    fx.device().clearWritten();

    emit f.Command32->clicked();
    fx.showMonitorNow();

    QCOMPARE(fx.device().written(), QByteArray("m2\rS0\rm3\rm3\rm2\rS20\r"));
    QCOMPARE(fx.selectedOption(), QString());
    QVERIFY(f.Check2->isEnabled());
    QVERIFY(f.Check2->isChecked());
    // Zeroed twice, both times at the latest raw reading.
    QCOMPARE(fx.monitor().zeroReference(), -33);
    QCOMPARE(f.Text20->text(), QStringLiteral("0"));
    QCOMPARE(f.Text24->text(), QStringLiteral("0"));
    QVERIFY(fx.pollTimer().isEnabled());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestMotorModes::speedChange_data()
{
    QTest::addColumn<bool>("pidRun");
    QTest::addColumn<int>("speed");
    QTest::addColumn<QString>("display");
    QTest::newRow("PID run") << true << 100 << "5000";
    QTest::newRow("stopped") << false << 100 << "?";
    QTest::newRow("PID run at speed 0") << true << 0 << "0";
    QTest::newRow("top speed") << true << 600 << "30000";
}

void TestMotorModes::speedChange()
{
    QFETCH(bool, pidRun);
    QFETCH(int, speed);
    QFETCH(QString, display);
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    emit(pidRun ? f.Command32 : f.Command34)->clicked();
    fx.device().clearWritten();

    f.HScroll2->setValue(speed);

    QCOMPARE(fx.device().written(), "S" + QByteArray::number(speed) + "\r");
    QCOMPARE(fx.terminal().motor().runSpeed().text(), QString::number(speed));
    QCOMPARE(fx.terminal().motor().speedShown(), display);
    // The settling delay has paused the monitor.
    QVERIFY(!fx.pollTimer().isEnabled());
}

void TestMotorModes::speedCommandOnlyOnRealChange()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    Text &runSpeed = fx.terminal().motor().runSpeed();
    runSpeed.set(QStringLiteral("20"));
    QCOMPARE(fx.device().written(), QByteArray());
    runSpeed.set(QStringLiteral("42"));
    QCOMPARE(fx.device().written(), QByteArray("S42\r"));
    // The following run sends the speed the label holds.
    fx.device().clearWritten();
    emit f.Command31->clicked();
    QVERIFY(fx.device().written().endsWith("m1\rS42\rS42\r"));
}

void TestMotorModes::resetButton_data()
{
    QTest::addColumn<bool>("plusSelected");
    QTest::newRow("direction + shown") << true;
    QTest::newRow("none shown") << false;
}

void TestMotorModes::resetButton()
{
    QFETCH(bool, plusSelected);
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    f.Check2->setChecked(false);
    if (plusSelected)
        select(fx, StepMode::UpShown);
    else
        select(fx, StepMode::NotPidRun);
    int delays = 0;
    fx.terminal().delay().setWait([&](auto) { ++delays; });

    fx.run([&] { fx.terminal().motor().resetController(); });

    QCOMPARE(fx.device().written(), QByteArray("m3\r\r\r"));
    QVERIFY(f.Check2->isChecked());
    QCOMPARE(fx.selectedOption(), plusSelected ? QStringLiteral("Option1") : QString());
    QCOMPARE(delays, plusSelected ? 3 : 2);
}

void TestMotorModes::silentControllerEndsTheRun()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    // Nothing answers: the first wait gives up and the run goes no further.
    emit f.Command32->clicked();
    QCOMPARE(fx.device().written(), QByteArray("m2\rS0\r"));
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
    QCOMPARE(fx.terminal().link().problem(), QStringLiteral("a mikrokontroller nem válaszol"));
}

QTEST_MAIN(TestMotorModes)
#include "tst_motormodes.moc"
