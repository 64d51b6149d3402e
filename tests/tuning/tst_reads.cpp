#include "operations/parameterreads.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QScrollBar>
#include <QTest>

using namespace kdx;

namespace {

const QByteArray kStopAndReset = "S0\rm3\rm3\r";

QByteArray readAllOnTheWire()
{
    QByteArray bytes;
    for (int pass = 0; pass < 2; ++pass)
        for (int n = 0; n < 8; ++n)
            bytes += "P" + QByteArray::number(n) + "\r";
    return bytes;
}

} // namespace

class TestReads : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void readAllFillsValuesAndScrollBars();
    void readAllShowsKiolvasDuringTheFirstPass();
    void readAllStopsAtAValueOutsideItsScrollBar();
    void readAllSkipsValuesThatAreNoNumbers();
    void readAllTurnsTheMonitorBackOnAfterASilentController();
    void scrollBarWritesItsNewValue_data();
    void scrollBarWritesItsNewValue();
    void typingLeavesTheScrollBarAlone();
    void firstShowReadsEverything();
};

void TestReads::readAllFillsValuesAndScrollBars()
{
    TerminalFixture fx;
    fx.load();
    const QStringList values = {"1000", "50", "200", "10", "200", "100", "1024", "30"};
    fx.answerLikeController(values);
    Form1 &f = fx.form();
    f.row(0).newValue->setText("77");
    f.Check2->setChecked(false);

    fx.run([&] { fx.terminal().reads().readAll(); });

    QCOMPARE(fx.device().written(), readAllOnTheWire() + kStopAndReset);
    for (int n = 0; n < 8; ++n) {
        const ParamRow row = f.row(n);
        QCOMPARE(row.current->text(), " " + values[n]);
        QCOMPARE(row.scroll->value(), values[n].toInt());
        QVERIFY(row.newValue->text().isEmpty());
    }
    QVERIFY(fx.prompter.shown.isEmpty());
    QVERIFY(f.Check2->isChecked());
    QVERIFY(fx.pollTimer().isEnabled());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestReads::readAllShowsKiolvasDuringTheFirstPass()
{
    TerminalFixture fx;
    fx.load();
    QStringList seenAtSecondPass;
    int reads = 0;
    Form1 &f = fx.form();
    fx.device().setResponder([&](const QByteArray &line) -> QByteArray {
        if (line.startsWith('P') && ++reads == 9) {
            for (int n = 0; n < 8; ++n)
                seenAtSecondPass << f.row(n).current->text();
        }
        return line.startsWith('P') ? line + " 5:" : QByteArray("\r\n");
    });

    fx.run([&] { fx.terminal().reads().readAll(); });

    // The second pass empties each box just before asking for it again.
    QCOMPARE(seenAtSecondPass, (QStringList{"", "Kiolvas", "Kiolvas", "Kiolvas", "Kiolvas",
                                            "Kiolvas", "Kiolvas", "Kiolvas"}));
    QCOMPARE(f.row(7).current->text(), QStringLiteral(" 5"));
}

void TestReads::readAllStopsAtAValueOutsideItsScrollBar()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController({"500", "0", "200", "10", "200", "100", "1024", "30"});
    Form1 &f = fx.form();
    f.Check2->setChecked(false);

    fx.run([&] { fx.terminal().reads().readAll(); });

    QCOMPARE(fx.prompter.texts(), QStringList{"Hibás P1 - (velocity feedback) érték."});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("kdxterminal"));
    // P0 was synchronised and keeps the value the scrollbar wrote; the rest stay.
    QCOMPARE(f.row(0).scroll->value(), 500);
    QCOMPARE(f.row(0).newValue->text(), QStringLiteral("500"));
    QCOMPARE(f.row(1).scroll->value(), 1);
    QCOMPARE(f.row(2).scroll->value(), 1);
    QVERIFY(f.row(2).newValue->text().isEmpty());
    // ...and it still ends with the monitor on and the motor stopped.
    QVERIFY(fx.device().written().endsWith(kStopAndReset));
    QVERIFY(f.Check2->isChecked());
}

void TestReads::readAllSkipsValuesThatAreNoNumbers()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController({"abc", "50", "99999", "10", "200", "100", "1024", "30"});
    Form1 &f = fx.form();

    fx.run([&] { fx.terminal().reads().readAll(); });

    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(f.row(0).scroll->value(), 10); // "abc" is skipped
    QCOMPARE(f.row(2).scroll->value(), 1);  // outside 16 bits: skipped as well
    QCOMPARE(f.row(7).scroll->value(), 30); // later rows still synchronised
    QVERIFY(f.row(7).newValue->text().isEmpty());
}

void TestReads::readAllTurnsTheMonitorBackOnAfterASilentController()
{
    TerminalFixture fx(30);
    fx.load();
    fx.device().setResponder([](const QByteArray &line) -> QByteArray {
        return line == "P4" ? QByteArray() : line + " 7:";
    });
    Form1 &f = fx.form();

    fx.run([&] { fx.terminal().reads().readAll(); });

    QCOMPARE(fx.device().written(), QByteArray("P0\rP1\rP2\rP3\rP4\r"));
    QVERIFY(f.Check2->isChecked());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestReads::scrollBarWritesItsNewValue_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("box");
    QTest::newRow("P4 to its right end") << 4 << int(QAbstractSlider::SliderToMaximum) << "250";
    QTest::newRow("P6 track click up") << 6 << int(QAbstractSlider::SliderPageStepAdd) << "266";
    QTest::newRow("P6 track click down") << 6 << int(QAbstractSlider::SliderPageStepSub) << "246";
    QTest::newRow("P0 arrow") << 0 << int(QAbstractSlider::SliderSingleStepAdd) << "11";
    QTest::newRow("P0 at its minimum") << 0 << int(QAbstractSlider::SliderSingleStepSub) << "";
}

void TestReads::scrollBarWritesItsNewValue()
{
    QFETCH(int, n);
    QFETCH(int, action);
    QFETCH(QString, box);
    TerminalFixture fx;
    fx.load();
    const ParamRow row = fx.form().row(n);
    row.scroll->triggerAction(QAbstractSlider::SliderAction(action));
    QCOMPARE(row.newValue->text(), box);
    QCOMPARE(fx.device().written(), QByteArray());
}

void TestReads::typingLeavesTheScrollBarAlone()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    f.row(1).newValue->setText("4000");
    QCOMPARE(f.row(1).scroll->value(), 1);
    f.row(1).scroll->setValue(1); // the position it already has: no change, nothing written
    QCOMPARE(f.row(1).newValue->text(), QStringLiteral("4000"));
    f.row(1).scroll->setValue(2);
    QCOMPARE(f.row(1).newValue->text(), QStringLiteral("2"));
}

void TestReads::firstShowReadsEverything()
{
    TerminalFixture fx;
    fx.answerLikeController({"1000", "50", "200", "10", "200", "100", "1024", "30"});
    fx.load();
    fx.run([&] { fx.terminal().onFirstShown(); });
    QVERIFY(fx.device().written().startsWith(readAllOnTheWire() + kStopAndReset));
    QCOMPARE(fx.form().row(6).current->text(), QStringLiteral(" 1024"));
    QCOMPARE(fx.form().row(6).scroll->value(), 1024);
}

QTEST_MAIN(TestReads)
#include "tst_reads.moc"
