#include "core/numberrules.h"
#include "link/seriallink.h"
#include "operations/positionmonitor.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/form1.h"
#include "widgets/tracesurface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using namespace kdx;

namespace {

const QString kNumericOnly = QStringLiteral("Csak numerikus egész értéket adj meg !");

// Answers each "P9" with the next reply of the list (the last one repeats),
// everything else with CR LF.
void answerPolls(TerminalFixture &fx, const QList<QByteArray> &replies)
{
    auto queue = std::make_shared<QList<QByteArray>>(replies);
    fx.device().setResponder([queue](const QByteArray &line) -> QByteArray {
        if (line != "P9")
            return "\r\n";
        return queue->size() > 1 ? queue->takeFirst() : queue->first();
    });
}

QByteArray reading(int value)
{
    return "P9 " + QByteArray::number(value) + ':';
}

// Takes one reading per value, each in a tick of its own.
void tickWith(TerminalFixture &fx, const QList<int> &values)
{
    for (int v : values) {
        answerPolls(fx, {reading(v)});
        fx.pollTimer().fire();
    }
    fx.showMonitorNow();
}

// The operator replaces the text of a scale in one edit.
void pasteInto(QComboBox *combo, const QString &text)
{
    combo->lineEdit()->setText(text);
    emit combo->lineEdit()->textEdited(text);
}

// Each keystroke is a change of its own.
void typeInto(QComboBox *combo, const QString &text)
{
    combo->lineEdit()->clear();
    QTest::keyClicks(combo->lineEdit(), text);
}

struct MonitorBoxes {
    QString raw, zero, current, largest, elapsed, x, y;
    bool operator==(const MonitorBoxes &) const = default;
};

QString number(double value)
{
    return generalNumberText(value);
}

// The raw reading last received.
QString rawReading(TerminalFixture &fx)
{
    return QString::number(fx.monitor().latestRaw());
}

// What the monitor holds, and the two errors as the window shows them.
MonitorBoxes boxes(TerminalFixture &fx)
{
    fx.showMonitorNow();
    const MonitorModel &m = fx.monitor();
    return {rawReading(fx),           number(m.zeroReference()), fx.form().Text20->text(),
            fx.form().Text24->text(), number(m.elapsedMs()),     number(m.lastPoint().x()),
            number(m.lastPoint().y())};
}

} // namespace

class TestPositionMonitor : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void pollCut_data();
    void pollCut();
    void zeroReadingChangesNothing();
    void readingsCountFromTheZero();
    void largestError_data();
    void largestError();
    void pointsFollowTheErrorScale_data();
    void pointsFollowTheErrorScale();
    void traceWrapsAfterOneScreen();
    void typedTimeScale_data();
    void typedTimeScale();
    void keystrokesAreChecksOfTheirOwn();
    void typedErrorScale_data();
    void typedErrorScale();
    void pickedScaleClearsTheTrace_data();
    void pickedScaleClearsTheTrace();
    void monitorSwitch();
    void zeroingLeavesASwitchedOffPollOff();
    void zeroingWithBusyPointer();
    void samplingInterval();
    void tickNeverNests();
    void pollWaitsForOperationsToEnd();
};

void TestPositionMonitor::pollCut_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("raw"); // empty: no reading taken
    // The cut itself is the command set's; here: what a tick does with it.

    QTest::newRow("negative") << QByteArray("P9 -12:") << "-12";
    QTest::newRow("positive with line end") << QByteArray("P9 5:\r\n") << "5";
    QTest::newRow("beyond 16 bits") << QByteArray("P9 32768:") << "";
    QTest::newRow("no colon") << QByteArray("P9 12") << "";
    QTest::newRow("earlier reply in front") << QByteArray("\r\nP9 7:") << "7";
    QTest::newRow("a read's answer is no reading") << QByteArray("P0 1000:") << "";
    QTest::newRow("an older reading, then its own") << QByteArray("P9 3:P9 8:") << "8";
    QTest::newRow("error reply") << QByteArray("?\r\n") << "";
}

void TestPositionMonitor::pollCut()
{
    QFETCH(QByteArray, reply);
    QFETCH(QString, raw);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    answerPolls(fx, {reply});
    fx.terminal().busyPointer().set(true);

    fx.pollTimer().fire();
    fx.showMonitorNow();

    QCOMPARE(fx.device().written(), QByteArray("P9\r"));
    QCOMPARE(rawReading(fx), raw.isEmpty() ? QStringLiteral("0") : raw);
    QCOMPARE(f.Text20->text(), raw.isEmpty() ? QStringLiteral("0") : raw);
    QCOMPARE(number(fx.monitor().elapsedMs()),
             raw.isEmpty() ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(f.Picture1->segmentCount(), raw.isEmpty() ? 0 : 1);
    // Every tick ends with the ordinary pointer, a reading or not.
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestPositionMonitor::zeroReadingChangesNothing()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    tickWith(fx, {25, 30});
    const MonitorBoxes before = boxes(fx);
    const int segments = f.Picture1->segmentCount();

    tickWith(fx, {0});

    QVERIFY(boxes(fx) == before);
    QCOMPARE(f.Picture1->segmentCount(), segments);
    QCOMPARE(fx.device().lines().size(), 3);
}

void TestPositionMonitor::readingsCountFromTheZero()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    tickWith(fx, {40});
    fx.run([&] { fx.terminal().monitor().zero(); });
    fx.showMonitorNow();
    QCOMPARE(number(fx.monitor().zeroReference()), QStringLiteral("40"));
    QCOMPARE(rawReading(fx), QStringLiteral("40"));
    QCOMPARE(f.Text20->text(), QStringLiteral("0"));
    QCOMPARE(f.Text24->text(), QStringLiteral("0"));

    tickWith(fx, {55});
    QCOMPARE(rawReading(fx), QStringLiteral("55"));
    QCOMPARE(f.Text20->text(), QStringLiteral("15"));
    tickWith(fx, {10});
    QCOMPARE(f.Text20->text(), QStringLiteral("-30"));
    QCOMPARE(f.Text24->text(), QStringLiteral("-30"));
}

void TestPositionMonitor::largestError_data()
{
    QTest::addColumn<QList<int>>("errors");
    QTest::addColumn<QString>("largest");
    QTest::newRow("larger magnitude stays") << QList<int>{-30, 20} << "-30";
    QTest::newRow("larger positive replaces") << QList<int>{-30, 20, 35} << "35";
    QTest::newRow("equal magnitude does not") << QList<int>{-30, 20, 35, -35} << "35";
    QTest::newRow("first error") << QList<int>{7} << "7";
}

void TestPositionMonitor::largestError()
{
    QFETCH(QList<int>, errors);
    QFETCH(QString, largest);
    TerminalFixture fx;
    fx.load();
    tickWith(fx, errors);
    QCOMPARE(fx.form().Text20->text(), QString::number(errors.last()));
    QCOMPARE(fx.form().Text24->text(), largest);
}

void TestPositionMonitor::pointsFollowTheErrorScale_data()
{
    QTest::addColumn<QString>("scale");
    QTest::addColumn<int>("error");
    QTest::addColumn<double>("y");
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("bottom");
    QTest::newRow("50, full scale up") << "50" << 50 << 0.0 << "+50"
                                       << "-50";
    QTest::newRow("50, full scale down") << "50" << -50 << 4000.0 << "+50"
                                         << "-50";
    QTest::newRow("2000") << "2000" << 500 << 1500.0 << "+2000"
                          << "-2000";
    QTest::newRow("100") << "100" << -25 << 2500.0 << "+100"
                         << "-100";
    QTest::newRow("unlisted scale draws flat, captions stay") << "75" << 40 << 2000.0 << "+500"
                                                              << "-500";
}

void TestPositionMonitor::pointsFollowTheErrorScale()
{
    QFETCH(QString, scale);
    QFETCH(int, error);
    QFETCH(double, y);
    QFETCH(QString, top);
    QFETCH(QString, bottom);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    f.Combo1->setEditText(scale);

    tickWith(fx, {error});

    QCOMPARE(f.Picture1->lastSegment(), QLineF(0, 0, 30, y));
    QCOMPARE(number(fx.monitor().lastPoint().x()), QStringLiteral("30"));
    QCOMPARE(number(fx.monitor().lastPoint().y()), QString::number(y));
    QCOMPARE(f.Label18->text(), top);
    QCOMPARE(f.Label19->text(), bottom);
    QCOMPARE(f.Label17->text(), QStringLiteral("0."));
}

void TestPositionMonitor::traceWrapsAfterOneScreen()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    answerPolls(fx, {reading(100)}); // y = 2000 - 100 * 4 = 1600
    for (int i = 0; i < 299; ++i)
        fx.pollTimer().fire();
    fx.showMonitorNow();
    QCOMPARE(number(fx.monitor().elapsedMs()), QStringLiteral("299"));
    QCOMPARE(f.Picture1->segmentCount(), 299);
    QCOMPARE(f.Picture1->lastSegment(), QLineF(8940, 1600, 8970, 1600));

    // The 300th reading fills the screen: the graph starts again at the
    // left edge, from the top left corner.
    fx.pollTimer().fire();
    fx.showMonitorNow();
    QCOMPARE(number(fx.monitor().elapsedMs()), QStringLiteral("0"));
    QCOMPARE(f.Picture1->segmentCount(), 1);
    QCOMPARE(f.Picture1->lastSegment(), QLineF(0, 0, 0, 1600));
    QCOMPARE(number(fx.monitor().lastPoint().x()), QStringLiteral("0"));
    QCOMPARE(number(fx.monitor().lastPoint().y()), QStringLiteral("1600"));

    fx.pollTimer().fire();
    fx.showMonitorNow();
    QCOMPARE(f.Picture1->lastSegment(), QLineF(0, 1600, 30, 1600));
}

void TestPositionMonitor::typedTimeScale_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("scale");
    QTest::newRow("letters") << "abc"
                             << "1";
    QTest::newRow("emptied") << ""
                             << "1";
    QTest::newRow("zero") << "0"
                          << "1";
    QTest::newRow("negative") << "-30"
                              << "1";
    QTest::newRow("fraction") << "2,5"
                              << "1";
    QTest::newRow("number") << "40"
                            << "40";
}

void TestPositionMonitor::typedTimeScale()
{
    QFETCH(QString, typed);
    QFETCH(QString, scale);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    tickWith(fx, {12});
    fx.pollTimer().setEnabled(false);

    pasteInto(f.Combo2, typed);
    fx.showMonitorNow();

    QCOMPARE(f.Combo2->currentText(), scale);
    QCOMPARE(fx.prompter.texts(), scale == typed ? QStringList() : QStringList{kNumericOnly});
    if (scale != typed)
        QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("kdxterminal"));
    // Typing zeroes the monitor, at the last raw reading however often it
    // zeroes, and leaves it polling; the trace stays.
    QCOMPARE(number(fx.monitor().zeroReference()), QStringLiteral("12"));
    QCOMPARE(f.Text20->text(), QStringLiteral("0"));
    QVERIFY(fx.pollTimer().isEnabled());
    QCOMPARE(f.Picture1->segmentCount(), 1);
}

void TestPositionMonitor::keystrokesAreChecksOfTheirOwn()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    // A lone minus sign is refused before the digits follow it.
    typeInto(f.Combo2, QStringLiteral("-3"));
    QCOMPARE(fx.prompter.texts(), QStringList{kNumericOnly});
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("13"));

    fx.prompter.clear();
    typeInto(f.Combo1, QStringLiteral("100"));
    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("100"));
}

void TestPositionMonitor::typedErrorScale_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("scale");
    QTest::newRow("letters") << "x"
                             << "2000";
    QTest::newRow("zero") << "0"
                          << "2000";
    QTest::newRow("fraction") << "2,5"
                              << "2000";
    QTest::newRow("unlisted number") << "7"
                                     << "7";
}

void TestPositionMonitor::typedErrorScale()
{
    QFETCH(QString, typed);
    QFETCH(QString, scale);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    tickWith(fx, {40});
    tickWith(fx, {-60});

    pasteInto(f.Combo1, typed);
    fx.showMonitorNow();

    QCOMPARE(f.Combo1->currentText(), scale);
    QCOMPARE(fx.prompter.texts(), scale == typed ? QStringList() : QStringList{kNumericOnly});
    // Zeroed twice over: the last raw reading is still the zero reference.
    QCOMPARE(number(fx.monitor().zeroReference()), QStringLiteral("-60"));
    QCOMPARE(f.Text24->text(), QStringLiteral("0"));
    QVERIFY(fx.pollTimer().isEnabled());
    QCOMPARE(f.Picture1->segmentCount(), 2);
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestPositionMonitor::pickedScaleClearsTheTrace_data()
{
    QTest::addColumn<bool>("errorScale");
    QTest::newRow("error scale") << true;
    QTest::newRow("time scale") << false;
}

void TestPositionMonitor::pickedScaleClearsTheTrace()
{
    QFETCH(bool, errorScale);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    tickWith(fx, {10, 20, 30});
    fx.pollTimer().setEnabled(false);
    QComboBox *combo = errorScale ? f.Combo1 : f.Combo2;

    combo->setCurrentIndex(0);
    emit combo->activated(0);
    fx.showMonitorNow();

    QCOMPARE(combo->currentText(), errorScale ? QStringLiteral("50") : QStringLiteral("20"));
    QCOMPARE(f.Picture1->segmentCount(), 0);
    QVERIFY((boxes(fx) == MonitorBoxes{"30", "30", "0", "0", "0", "0", "0"}));
    QVERIFY(fx.pollTimer().isEnabled());
    QVERIFY(fx.prompter.shown.isEmpty());

    tickWith(fx, {35});
    QCOMPARE(f.Picture1->lastSegment(),
             errorScale ? QLineF(0, 0, 30, 2000 - 5 * 40) : QLineF(0, 0, 20, 2000 - 5 * 4));
}

void TestPositionMonitor::monitorSwitch()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    tickWith(fx, {-45, 20});

    f.Check2->setChecked(false);
    fx.showMonitorNow();
    QVERIFY(!fx.pollTimer().isEnabled());
    QCOMPARE(rawReading(fx), QStringLiteral("20"));
    QCOMPARE(number(fx.monitor().zeroReference()), QStringLiteral("0"));
    QCOMPARE(f.Text20->text(), QStringLiteral("0"));
    QCOMPARE(f.Text24->text(), QStringLiteral("-45"));
    QCOMPARE(f.Picture1->segmentCount(), 2);

    fx.pollTimer().setInterval(0);
    f.Check2->setChecked(true);
    QVERIFY(fx.pollTimer().isEnabled());
    QCOMPARE(fx.pollTimer().interval(), PositionMonitor::kPollIntervalMs);
    QCOMPARE(number(fx.monitor().zeroReference()), QStringLiteral("0"));
}

void TestPositionMonitor::zeroingLeavesASwitchedOffPollOff()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    f.Check2->setChecked(false);

    fx.run([&] { fx.terminal().monitor().zeroShowingBusy(); });
    QVERIFY(!fx.pollTimer().isEnabled());
    f.Combo2->setCurrentIndex(2);
    emit f.Combo2->activated(2);
    QVERIFY(!fx.pollTimer().isEnabled());

    // The switch brings the poll back with a zero reference that counts.
    f.Check2->setChecked(true);
    QVERIFY(fx.pollTimer().isEnabled());
    tickWith(fx, {-8});
    QCOMPARE(f.Text20->text(), QStringLiteral("-8"));
}

void TestPositionMonitor::zeroingWithBusyPointer()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    tickWith(fx, {64});
    fx.pollTimer().setEnabled(false);
    QList<Form1::Pointer> seen;
    QObject::connect(&fx.monitor(), &MonitorModel::changed, &f, [&] {
        seen << f.mousePointer() << Form1::Pointer(fx.pollTimer().isEnabled());
    });

    emit f.Command28->clicked();

    QCOMPARE(number(fx.monitor().zeroReference()), QStringLiteral("64"));
    // The zero reference is copied with the poll stopped, under the hourglass.
    QCOMPARE(seen, (QList<Form1::Pointer>{Form1::Pointer::Hourglass, Form1::Pointer(false)}));
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
    QVERIFY(fx.pollTimer().isEnabled());
}

void TestPositionMonitor::samplingInterval()
{
    TerminalFixture fx;
    fx.load();
    // Each reading stands for one interval of the poll.
    fx.pollTimer().setInterval(7);

    tickWith(fx, {9, 9});
    QCOMPARE(number(fx.monitor().elapsedMs()), QStringLiteral("14"));
}

void TestPositionMonitor::tickNeverNests()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    // The controller answers late; meanwhile the timer falls due again.
    fx.device().setResponder([&](const QByteArray &) {
        QTimer::singleShot(0, &f, [&] { fx.pollTimer().fire(); });
        QTimer::singleShot(5, &f, [&] { fx.device().deliver("P9 3:"); });
        return QByteArray();
    });

    fx.pollTimer().fire();

    QCOMPARE(fx.device().lines(), QList<QByteArray>{"P9"});
    QCOMPARE(rawReading(fx), QStringLiteral("3"));
}

void TestPositionMonitor::pollWaitsForOperationsToEnd()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    answerPolls(fx, {reading(5)});
    // A poll falling due while another operation waits for its reply would
    // take that reply for its own.
    fx.run([&] {
        fx.terminal().link().send("m3\r");
        QTimer::singleShot(0, &f, [&] { fx.pollTimer().fire(); });
        fx.terminal().link().waitForInput();
    });
    QCOMPARE(fx.device().lines(), QList<QByteArray>{"m3"});
    QCOMPARE(rawReading(fx), QStringLiteral("0"));

    fx.pollTimer().fire();
    QCOMPARE(fx.device().lines(), (QList<QByteArray>{"m3", "P9"}));
    // The unread answer to "m3" is dropped before the poll: it gets its own.
    QCOMPARE(rawReading(fx), QStringLiteral("5"));
}

QTEST_MAIN(TestPositionMonitor)
#include "tst_positionmonitor.moc"
