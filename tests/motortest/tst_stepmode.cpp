#include "link/seriallink.h"
#include "operations/stepmode.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

using namespace kdx;

namespace {

using Lines = QList<QByteArray>;

const QString kNumericOnly = QStringLiteral("Csak numerikus egész értéket adj meg !");
const QString kCountRange = QStringLiteral("Csak egész számérték a megengedett! 1-9999 között.");
const QString kProgram = QStringLiteral("kdxterminal");
const QString kInputError = QStringLiteral("Hibás adatbevitel");

} // namespace

class TestStepMode : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void stepsAlternate();
    void firstStepAfterStopGoesPlus();
    void idleTickOnlyResetsThePointer();
    void newPauseTakesEffectAtTheNextTick();
    void repeatSwitch_data();
    void repeatSwitch();
    void repeatSwitchLetsAPendingReplyArrive();
    void repeatSwitchDoesNotStallOnASilentLine();
    void stepWaitsForOperationsToEnd();
    void stepTickNeverNests();
    void stepCount_data();
    void stepCount();
    void encoderResolution_data();
    void encoderResolution();
    void stepModeButton();
};

void TestStepMode::stepsAlternate()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    QCOMPARE(fx.selectedOption(), QStringLiteral("Option1"));
    f.Check3->setChecked(true);
    QCOMPARE(fx.device().lines(), Lines{"m3"});
    fx.device().clearWritten();

    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        fx.terminal().busyPointer().set(true);
        fx.stepTimer().fire();
        shown << fx.selectedOption();
        QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
    }

    QCOMPARE(fx.device().written(), QByteArray("-2000\r\r+2000\r\r-2000\r\r"));
    QCOMPARE(shown, (QStringList{"Option2", "Option1", "Option2"}));
    QVERIFY(fx.stepTimer().isEnabled());
    QCOMPARE(fx.stepTimer().interval(), 2000);
}

void TestStepMode::firstStepAfterStopGoesPlus()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    emit f.Command34->clicked();
    f.Text9->setText(QStringLiteral("35"));
    f.Check3->setChecked(true);
    fx.device().clearWritten();

    fx.stepTimer().fire();
    fx.stepTimer().fire();

    QCOMPARE(fx.device().lines(), (Lines{"+35", "", "-35", ""}));
}

void TestStepMode::idleTickOnlyResetsThePointer()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    fx.terminal().busyPointer().set(true);
    fx.stepTimer().fire();
    QCOMPARE(fx.device().written(), QByteArray());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
    QCOMPARE(fx.selectedOption(), QStringLiteral("Option1"));
}

void TestStepMode::newPauseTakesEffectAtTheNextTick()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    f.Check3->setChecked(true);
    f.HScroll11->setValue(3000);
    QCOMPARE(fx.stepTimer().interval(), 2000);
    fx.stepTimer().fire();
    QCOMPARE(fx.stepTimer().interval(), 3000);
}

void TestStepMode::repeatSwitch_data()
{
    QTest::addColumn<bool>("checked");
    QTest::newRow("switched on") << true;
    QTest::newRow("switched off") << false;
}

void TestStepMode::repeatSwitch()
{
    QFETCH(bool, checked);
    TerminalFixture fx;
    fx.answerLikeController({}, QStringLiteral("12"));
    fx.load();
    Form1 &f = fx.form();
    if (!checked)
        f.Check3->setChecked(true);
    // (an unread answer to the switch's step mode command may come first)
    fx.pollTimer().fire();
    fx.pollTimer().fire();
    fx.showMonitorNow();
    QCOMPARE(f.Text24->text(), QStringLiteral("12"));
    fx.device().clearWritten();
    fx.pollTimer().setEnabled(false);
    fx.stepTimer().setEnabled(false);
    f.HScroll11->setValue(4000);
    fx.device().deliver("\r\n"); // an earlier answer nobody has read

    f.Check3->setChecked(checked);

    QCOMPARE(fx.device().lines(), Lines{"m3"});
    QCOMPARE(fx.stepTimer().interval(), 4000);
    QVERIFY(fx.pollTimer().isEnabled());
    QVERIFY(fx.stepTimer().isEnabled());
    fx.showMonitorNow();
    QCOMPARE(fx.monitor().zeroReference(), 12);
    QCOMPARE(f.Text24->text(), QStringLiteral("0"));
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestStepMode::repeatSwitchLetsAPendingReplyArrive()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    // The answer to the last command is still on its way when the switch is
    // clicked; "m3" goes out only once it is in.
    QTimer::singleShot(0, &f, [&] { fx.device().deliver("\r\n"); });
    qint64 waitingAtSend = -1;
    fx.device().setResponder([&](const QByteArray &) {
        waitingAtSend = fx.terminal().link().waiting();
        return QByteArray();
    });

    f.Check3->setChecked(true);

    QCOMPARE(fx.device().lines(), Lines{"m3"});
    QCOMPARE(waitingAtSend, 2);
}

void TestStepMode::repeatSwitchDoesNotStallOnASilentLine()
{
    TerminalFixture fx(60000);
    fx.load();
    Form1 &f = fx.form();
    f.Check3->setChecked(true);
    fx.run([&] { fx.terminal().link().takeAll(); });
    fx.device().clearWritten();

    // Nothing is outstanding and the input is empty: the stop still goes
    // through, without waiting for the reply time-out.
    fx.device().setResponder([](const QByteArray &) { return QByteArray("\r\n"); });
    emit f.Command34->clicked();

    QCOMPARE(fx.device().lines(), (Lines{"m3", "S0", "m3", "m3"}));
    QVERIFY(fx.terminal().link().problem().isEmpty());
}

void TestStepMode::stepWaitsForOperationsToEnd()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    f.Check3->setChecked(true);
    fx.stepTimer().setHeld(false);
    fx.device().clearWritten();

    // A step falling due in the middle of a parameter exchange would go to
    // the controller as the parameter's new value.
    fx.run([&] {
        fx.terminal().link().send("P1\r");
        QTimer::singleShot(0, &f, [&] { fx.stepTimer().fire(); });
        fx.terminal().link().waitForInput();
        fx.terminal().link().takeAll();
        fx.terminal().link().send("\r");
    });

    QCOMPARE(fx.device().lines(), (Lines{"P1", "", "-2000", ""}));
}

void TestStepMode::stepTickNeverNests()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    f.Check3->setChecked(true);
    fx.device().clearWritten();
    fx.device().setResponder([&](const QByteArray &line) {
        if (line.startsWith('-')) {
            QTimer::singleShot(0, &f, [&] { fx.stepTimer().fire(); });
            QTimer::singleShot(5, &f, [&] { fx.device().deliver("\r\n"); });
        }
        return QByteArray();
    });

    fx.stepTimer().fire();

    QCOMPARE(fx.device().lines(), (Lines{"-2000", ""}));
}

void TestStepMode::stepCount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("zero") << "0"
                          << "2000" << QStringList{kNumericOnly, kCountRange}
                          << QStringList{kProgram, kInputError};
    QTest::newRow("emptied") << ""
                             << "2000" << QStringList{kNumericOnly} << QStringList{kProgram};
    QTest::newRow("negative") << "-5"
                              << "2000" << QStringList{kNumericOnly, kCountRange}
                              << QStringList{kProgram, kInputError};
    QTest::newRow("letters") << "ab"
                             << "2000" << QStringList{kNumericOnly} << QStringList{kProgram};
    QTest::newRow("below one") << "0,5"
                               << "2000" << QStringList{kNumericOnly, kCountRange}
                               << QStringList{kProgram, kInputError};
    QTest::newRow("above the largest")
        << "1e5"
        << "2000" << QStringList{kNumericOnly, kCountRange} << QStringList{kProgram, kInputError};
    QTest::newRow("fraction rounds down") << "12,7"
                                          << "12" << QStringList() << QStringList();
    QTest::newRow("blank in front") << " 35"
                                    << "35" << QStringList() << QStringList();
    QTest::newRow("count") << "9999"
                           << "9999" << QStringList() << QStringList();
}

void TestStepMode::stepCount()
{
    QFETCH(QString, typed);
    QFETCH(QString, count);
    QFETCH(QStringList, messages);
    QFETCH(QStringList, titles);
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    Form1 &f = fx.form();
    f.Text9->setText(QStringLiteral("7"));

    f.Text9->setText(typed);

    QCOMPARE(f.Text9->text(), count);
    QCOMPARE(fx.prompter.texts(), messages);
    QStringList shownTitles;
    for (const auto &s : fx.prompter.shown)
        shownTitles << s.title;
    QCOMPARE(shownTitles, titles);

    f.Check3->setChecked(true);
    fx.device().clearWritten();
    fx.stepTimer().fire();
    QCOMPARE(fx.device().lines().first(), "-" + count.toLatin1());
}

void TestStepMode::encoderResolution_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("resolution");
    QTest::addColumn<int>("messages");
    QTest::newRow("zero") << "0"
                          << "500" << 2;
    QTest::newRow("emptied") << ""
                             << "500" << 1;
    QTest::newRow("letters") << "x"
                             << "500" << 1;
    QTest::newRow("fraction rounds down") << "1024,9"
                                          << "1024" << 0;
    QTest::newRow("resolution") << "2048"
                                << "2048" << 0;
}

void TestStepMode::encoderResolution()
{
    QFETCH(QString, typed);
    QFETCH(QString, resolution);
    QFETCH(int, messages);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();

    f.txtEncoder->setText(typed);

    QCOMPARE(f.txtEncoder->text(), resolution);
    QCOMPARE(fx.prompter.shown.size(), messages);
    for (const auto &s : fx.prompter.shown) {
        QCOMPARE(s.text, kCountRange);
        QCOMPARE(s.title, kInputError);
    }
    QCOMPARE(fx.device().written(), QByteArray());
}

void TestStepMode::stepModeButton()
{
    TerminalFixture fx;
    fx.answerLikeController();
    fx.load();
    fx.run([&] { fx.terminal().steps().enterStepMode(); });
    QCOMPARE(fx.device().written(), QByteArray("m3\r"));
}

QTEST_MAIN(TestStepMode)
#include "tst_stepmode.moc"
