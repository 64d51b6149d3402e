#include "link/seriallink.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kdx;

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void portInUseEndsTheProgram_data();
    void portInUseEndsTheProgram();
    void otherFailureStartsClosedAndSaysSo();
    void loadSetsTimersAndScales();
    void timersWaitForTheWindow();
    void firstShowGivesFocusToReadAll();
    void closingEndsEveryWait();
};

void TestStartup::portInUseEndsTheProgram_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("message");
    QTest::newRow("first port") << "COM1"
                                << "COM1 Port használatban van.";
    QTest::newRow("named port") << "/dev/ttyUSB0"
                                << "/dev/ttyUSB0 Port használatban van.";
}

void TestStartup::portInUseEndsTheProgram()
{
    QFETCH(QString, port);
    QFETCH(QString, message);
    TerminalFixture fx;
    fx.opener.name = port;
    fx.opener.outcomes = {{OpenResult::Status::InUse, QString()}};
    QVERIFY(!fx.load());
    QCOMPARE(fx.prompter.texts(), QStringList{message});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("kdxterminal"));
    QCOMPARE(fx.opener.attempts, 1);
    QVERIFY(!fx.form().isVisible());
}

void TestStartup::otherFailureStartsClosedAndSaysSo()
{
    TerminalFixture fx;
    fx.opener.name = "/dev/ttyUSB7";
    fx.opener.outcomes = {{OpenResult::Status::Failed, "a port nem található"},
                          {OpenResult::Status::Failed, "a port nem található"}};
    QVERIFY(fx.load());
    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(fx.opener.attempts, 2);
    QCOMPARE(fx.form().portPanel()->text(),
             QStringLiteral("Mikrokontroller COM Port beállítás : /dev/ttyUSB7,38400,N,8,1 - a "
                            "port nem található"));
    // Every exchange fails at once and leaves the window as it was.
    fx.run([&] { fx.terminal().link().send("P0\r"); });
    QCOMPARE(fx.device().written(), QByteArray());
    // The poll does not run against a closed port.
    QVERIFY(fx.pollTimer().isHeld());
}

void TestStartup::loadSetsTimersAndScales()
{
    TerminalFixture fx;
    QVERIFY(fx.load());
    Form1 &f = fx.form();
    QCOMPARE(fx.pollTimer().interval(), 1);
    QCOMPARE(fx.stepTimer().interval(), 2000);
    QVERIFY(fx.pollTimer().isEnabled());
    QVERIFY(fx.stepTimer().isEnabled());
    QStringList errorScales, timeScales;
    for (int i = 0; i < f.Combo1->count(); ++i)
        errorScales << f.Combo1->itemText(i);
    for (int i = 0; i < f.Combo2->count(); ++i)
        timeScales << f.Combo2->itemText(i);
    QCOMPARE(errorScales, (QStringList{"50", "100", "200", "500", "1000", "2000"}));
    QCOMPARE(timeScales, (QStringList{"20", "30", "40", "50", "75", "100", "200"}));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("500"));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("30"));
}

void TestStartup::timersWaitForTheWindow()
{
    TerminalFixture fx;
    fx.answerLikeController();
    QVERIFY(fx.load());
    QTest::qWait(30);
    QCOMPARE(fx.device().written(), QByteArray());
    QVERIFY(fx.pollTimer().isHeld());
    QVERIFY(fx.stepTimer().isHeld());
}

void TestStartup::firstShowGivesFocusToReadAll()
{
    TerminalFixture fx;
    fx.answerLikeController();
    QVERIFY(fx.load());
    fx.form().show();
    QVERIFY(QTest::qWaitForWindowActive(&fx.form()));
    QTRY_VERIFY(!fx.pollTimer().isHeld());
    QCOMPARE(QApplication::focusWidget(), fx.form().Command3);
}

void TestStartup::closingEndsEveryWait()
{
    TerminalFixture fx(60000);
    QVERIFY(fx.load());
    bool ended = false;
    QTimer::singleShot(20, &fx.form(), [&] { fx.form().close(); });
    fx.run([&] {
        fx.terminal().link().send("P0\r");
        fx.terminal().link().waitForInput();
        ended = true; // not reached: the wait ends the operation
    });
    QVERIFY(!ended);
    fx.run([&] { fx.terminal().link().send("P1\r"); });
    QCOMPARE(fx.device().written(), QByteArray("P0\r"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
