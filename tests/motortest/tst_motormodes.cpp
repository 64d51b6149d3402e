#include "link/seriallink.h"
#include "operations/motormodes.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/captionlabel.h"
#include "widgets/form1.h"
#include "widgets/optiongroup.h"

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

// Which of the three option buttons is selected ("" for none).
QString selectedOption(Form1 &f)
{
    QRadioButton *o = f.Options->selected();
    return o ? o->objectName() : QString();
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
    f.Check2->setEnabled(false);
    f.Options->select(f.Option2);
    QList<bool> pollDuringDelay;
    QObject::connect(f.Label22, &CaptionLabel::captionChanged, &f, [&](const QString &c) {
        if (c == QStringLiteral("1"))
            pollDuringDelay << f.Timer1->isEnabled();
    });

    emit f.Command34->clicked();

    QCOMPARE(fx.device().written(), QByteArray("S0\rm3\rm3\r"));
    QCOMPARE(pollDuringDelay, QList<bool>{false});
    QVERIFY(f.Check2->isEnabled());
    QVERIFY(f.Check2->isChecked());
    QCOMPARE(selectedOption(f), QStringLiteral("Option3"));
    QVERIFY(f.Timer1->isEnabled());
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
    f.Timer2->fire();
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
    QVERIFY(f.Timer1->isEnabled());
    QCOMPARE(f.Text19->text(), QStringLiteral("0"));
    // Readings count from zero again: the unread answers go first.
    f.Timer1->fire();
    f.Timer1->fire();
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
    QVERIFY(f.Timer1->isEnabled()); // the monitor keeps running
    QCOMPARE(selectedOption(f), QStringLiteral("Option3"));
}

void TestMotorModes::pidRun()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    f.Check2->setEnabled(false);
    f.Text18->setText(QStringLiteral("33"));
    f.Text24->setText(QStringLiteral("-70"));

    emit f.Command32->clicked();

    QCOMPARE(fx.device().written(), QByteArray("m2\rS0\rm3\rm3\rm2\rS20\r"));
    QCOMPARE(selectedOption(f), QString());
    QVERIFY(f.Check2->isEnabled());
    QVERIFY(f.Check2->isChecked());
    QCOMPARE(f.Text18->text(), QStringLiteral("0"));
    QCOMPARE(f.Text19->text(), QStringLiteral("0"));
    QCOMPARE(f.Text20->text(), QStringLiteral("0"));
    QCOMPARE(f.Text24->text(), QStringLiteral("0"));
    QVERIFY(f.Timer1->isEnabled());
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
    QCOMPARE(f.Label13->caption(), QString::number(speed));
    QCOMPARE(f.Label14->text(), display);
    // The settling delay has paused the monitor.
    QVERIFY(!f.Timer1->isEnabled());
}

void TestMotorModes::speedCommandOnlyOnRealChange()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    f.Label13->setCaption(QStringLiteral("20"));
    QCOMPARE(fx.device().written(), QByteArray());
    f.Label13->setCaption(QStringLiteral("42"));
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
        f.Options->select(f.Option1);
    else
        f.Options->select(f.Option3);
    int delays = 0;
    QObject::connect(f.Label22, &CaptionLabel::captionChanged, &f, [&](const QString &c) {
        if (c == QStringLiteral("1"))
            ++delays;
    });

    fx.run([&] { fx.terminal().motor().Command42_Click(); });

    QCOMPARE(fx.device().written(), QByteArray("m3\r\r\r"));
    QVERIFY(f.Check2->isChecked());
    QCOMPARE(selectedOption(f), plusSelected ? QStringLiteral("Option1") : QString());
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
