// The position-error monitor after everything that zeroes it or switches it:
// the running terminal with its real timers polls a controller whose raw
// position error is 40, the operator acts, the error becomes 75, and the
// window has to show the change.

#include "link/seriallink.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace kdx;

namespace {

constexpr int kPatienceMs = 10000; // a deadline for what must happen, never a measure

using Action = std::function<void(TerminalFixture &)>;

void click(QPushButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestE2eMonitor : public QObject {
    Q_OBJECT
private slots:
    void changedReadingShowsAfterwards_data();
    void changedReadingShowsAfterwards();
};

void TestE2eMonitor::changedReadingShowsAfterwards_data()
{
    QTest::addColumn<Action>("act");
    QTest::addColumn<QString>("shows"); // the current error once the raw reading is 75

    const auto newValue = [](TerminalFixture &fx, int n, const char *value) {
        fx.form().row(n).newValue->setText(QLatin1String(value));
    };
    const auto pick = [](QComboBox *Form1::*combo, int index) -> Action {
        return [combo, index](TerminalFixture &fx) { emit(fx.form().*combo)->activated(index); };
    };
    const auto type = [](QComboBox *Form1::*combo, const char *text) -> Action {
        return [combo, text](TerminalFixture &fx) {
            QComboBox *box = fx.form().*combo;
            box->lineEdit()->selectAll();
            QTest::keyClicks(box->lineEdit(), QLatin1String(text));
        };
    };

    // Zeroed at 40: the change shows as 35.
    QTest::newRow("Mind KIOLVAS") << Action([](TerminalFixture &fx) { click(fx.form().Command3); })
                                  << "35";
    QTest::newRow("single read, then Nulláz") << Action([](TerminalFixture &fx) {
        emit fx.form().row(3).read->clicked();
        click(fx.form().Command28);
    }) << "35";
    QTest::newRow("test write") << Action([newValue](TerminalFixture &fx) {
        newValue(fx, 2, "300");
        click(fx.form().row(2).test);
    }) << "35";
    QTest::newRow("test write of P0") << Action([newValue](TerminalFixture &fx) {
        newValue(fx, 0, "950");
        click(fx.form().row(0).test);
    }) << "35";
    QTest::newRow("save write") << Action([newValue](TerminalFixture &fx) {
        newValue(fx, 1, "60");
        click(fx.form().row(1).save);
    }) << "35";
    QTest::newRow("Mind TESZT") << Action([newValue](TerminalFixture &fx) {
        newValue(fx, 4, "150");
        newValue(fx, 5, "80");
        click(fx.form().Command27);
    }) << "35";
    QTest::newRow("Mind MENT") << Action([newValue](TerminalFixture &fx) {
        newValue(fx, 7, "20");
        click(fx.form().Command20); // not into the file as well
    }) << "35";
    QTest::newRow("STOP / RESET") << Action([](TerminalFixture &fx) { click(fx.form().Command34); })
                                  << "35";
    QTest::newRow("voltage run") << Action([](TerminalFixture &fx) { click(fx.form().Command31); })
                                 << "35";
    QTest::newRow("PID run") << Action([](TerminalFixture &fx) { click(fx.form().Command32); })
                             << "35";
    QTest::newRow("step repeat switched on")
        << Action([](TerminalFixture &fx) { fx.form().Check3->click(); }) << "35";
    QTest::newRow("Nulláz") << Action([](TerminalFixture &fx) { click(fx.form().Command28); })
                            << "35";
    QTest::newRow("error scale picked") << pick(&Form1::Combo1, 1) << "35";
    QTest::newRow("error scale typed") << type(&Form1::Combo1, "1000") << "35";
    QTest::newRow("time scale picked") << pick(&Form1::Combo2, 3) << "35";
    QTest::newRow("time scale typed") << type(&Form1::Combo2, "40") << "35";
    QTest::newRow("monitor off, Mind KIOLVAS") << Action([](TerminalFixture &fx) {
        fx.form().Check2->click();
        click(fx.form().Command3);
    }) << "35";
    // Switched on again, or a line opened again (perhaps to another
    // controller): the zero reference starts from 0.
    QTest::newRow("monitor off and on") << Action([](TerminalFixture &fx) {
        fx.form().Check2->click();
        fx.form().Check2->click();
    }) << "75";
    QTest::newRow("monitor off, Nulláz, on") << Action([](TerminalFixture &fx) {
        fx.form().Check2->click();
        click(fx.form().Command28);
        fx.form().Check2->click();
    }) << "75";
    QTest::newRow("line lost and back") << Action([](TerminalFixture &fx) {
        fx.terminal().link().setReconnectInterval(20);
        fx.device().failWrites(true);
        QTRY_VERIFY_WITH_TIMEOUT(!fx.terminal().link().isOpen(), kPatienceMs);
        fx.device().failWrites(false);
        QTRY_VERIFY_WITH_TIMEOUT(fx.terminal().link().isOpen(), kPatienceMs);
    }) << "75";
}

void TestE2eMonitor::changedReadingShowsAfterwards()
{
    QFETCH(Action, act);
    QFETCH(QString, shows);

    TerminalFixture fx;
    Form1 &f = fx.form();
    fx.answerLikeController({}, QStringLiteral("40"));
    QVERIFY(fx.load());
    fx.run([&] { fx.terminal().onFirstShown(); });
    QTRY_COMPARE_WITH_TIMEOUT(f.Text20->text(), QStringLiteral("40"), kPatienceMs);

    act(fx);
    fx.answerLikeController({}, QStringLiteral("75"));
    QTRY_COMPARE_WITH_TIMEOUT(f.Text20->text(), shows, kPatienceMs);
    QCOMPARE(f.Text24->text(), shows);
}

QTEST_MAIN(TestE2eMonitor)
#include "tst_e2e_monitor.moc"
