// The "Előzmények" window on a terminal with a scripted line: opened from the
// main window's first panel without touching its layout, P0..P7 at a point
// and the change between two, "Visszaállítás" that fills the new-value boxes
// and sends nothing, the kind filter, new events on top, CSV export.

#include "app/terminal.h"
#include "operations/historyrecorder.h"
#include "operations/historytimeline.h"
#include "operations/paramrows.h"
#include "scriptedfiles.h"
#include "terminalfixture.h"
#include "widgets/form1.h"
#include "widgets/historywindow.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace kdx;

namespace {

const QStringList kFirst{"1000", "50", "200", "10", "200", "100", "1024", "30"};
const QStringList kSecond{"1000", "50", "300", "12", "200", "100", "1024", "30"};

// A terminal whose history is in its own folder: started with one set of
// values, then read again with another.
struct Bench {
    Bench()
        : fx(200, [this](TerminalOptions &o) {
              o.historyFile = o.paramFolder + QStringLiteral("/kdxhistory.sqlite");
              o.files = &files;
          })
    {
        fx.answerLikeController(kFirst);
        fx.load();
        fx.run([&] { fx.terminal().onFirstShown(); });
        fx.answerLikeController(kSecond);
        emit fx.form().Command3->clicked();
    }
    HistoryWindow &open()
    {
        fx.terminal().openHistory();
        return *fx.terminal().historyWindow();
    }
    QStringList newValues()
    {
        QStringList values;
        for (int n = 0; n < kParamCount; ++n)
            values << fx.form().row(n).newValue->text();
        return values;
    }

    ScriptedFiles files;
    TerminalFixture fx;
};

QStringList column(const QTableWidget *table, int c)
{
    QStringList cells;
    for (int n = 0; n < table->rowCount(); ++n)
        cells << (table->item(n, c) ? table->item(n, c)->text() : QString());
    return cells;
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void opensFromTheFirstPanelsMenu();
    void pointsAndTheirChange();
    void restoreFillsTheNewValuesAndSendsNothing();
    void restoreWaitsWhileTheLineIsOwned();
    void kindFilterAndNewEventsOnTop();
    void selectionGoesToCsv();
};

void TestHistory::opensFromTheFirstPanelsMenu()
{
    Bench b;
    Form1 &f = b.fx.form();
    const QRect panelBefore = f.portPanel()->geometry();
    QWidget *panel = f.portPanel();
    QCOMPARE(panel->contextMenuPolicy(), Qt::ActionsContextMenu);
    const QList<QAction *> actions = panel->actions();
    QCOMPARE(actions.size(), 3);

    // The axis name, asked and remembered for the history.
    b.fx.prompter.inputs.push_back(QStringLiteral("3. gép, X tengely"));
    actions[1]->trigger();
    QCOMPARE(b.fx.terminal().history().place().name, QStringLiteral("3. gép, X tengely"));

    actions[2]->trigger();
    HistoryWindow *window = b.fx.terminal().historyWindow();
    QVERIFY(window && window->isVisible());
    // The window of the main form is laid out as before.
    QCOMPARE(f.portPanel()->geometry(), panelBefore);
    // The axis had no name when the two reads were made: they took the name.
    QCOMPARE(window->axisBox()->currentIndex(), 0);
    QVERIFY(window->axisBox()->currentText().startsWith(QStringLiteral("3. gép, X tengely")));
    QCOMPARE(window->axisBox()->count(), 2); // and every axis
    QCOMPARE(window->timeline()->count(), 2);
    // Another name later is another axis, with nothing of its own yet.
    b.fx.terminal().axisName().set(QStringLiteral("3. gép, Y tengely"));
    window->refresh();
    QCOMPARE(window->axisBox()->count(), 3);
    QCOMPARE(window->timeline()->count(), 0);
}

void TestHistory::pointsAndTheirChange()
{
    Bench b;
    HistoryWindow &w = b.open();
    QCOMPARE(w.timeline()->count(), 2);
    // Newest first: the second read-all on top.
    QVERIFY(w.timeline()
                ->data(w.timeline()->index(0, HistoryTimeline::What))
                .toString()
                .contains(QStringLiteral("Mind KIOLVAS")));

    w.selectRows({1});
    QCOMPARE(w.valuesTable()->columnCount(), 1);
    QCOMPARE(column(w.valuesTable(), 0), kFirst);
    QVERIFY(w.restoreButton()->isEnabled());

    w.selectRows({0, 1});
    QCOMPARE(w.valuesTable()->columnCount(), 3);
    QCOMPARE(column(w.valuesTable(), 0), kFirst);
    QCOMPARE(column(w.valuesTable(), 1), kSecond);
    QCOMPARE(column(w.valuesTable(), 2), (QStringList{"0", "0", "+100", "+2", "0", "0", "0", "0"}));
    QVERIFY(w.valuesTable()->item(2, 2)->font().bold());
    QVERIFY(!w.valuesTable()->item(0, 2)->font().bold());
    // Two points are compared, not restored.
    QVERIFY(!w.restoreButton()->isEnabled());
}

void TestHistory::restoreFillsTheNewValuesAndSendsNothing()
{
    Bench b;
    HistoryWindow &w = b.open();
    b.fx.form().row(5).newValue->setText(QStringLiteral("777"));
    b.fx.device().clearWritten();

    w.selectRows({1});
    w.restoreButton()->click();
    QCOMPARE(b.newValues(), kFirst);
    QVERIFY(w.statusLine()->text().contains(QStringLiteral("Semmi sem ment el")));
    QCOMPARE(b.fx.device().written(), QByteArray());
    // The values go out only when the operator sends them, the ordinary way.
    emit b.fx.form().row(2).test->clicked();
    QVERIFY(b.fx.device().written().contains("P2\r200\r"));
}

void TestHistory::restoreWaitsWhileTheLineIsOwned()
{
    Bench b;
    HistoryWindow &w = b.open();
    w.selectRows({1});
    const QStringList before = b.newValues();
    QVERIFY(b.fx.terminal().runOwningLine([&] { w.restoreButton()->click(); }));
    QCOMPARE(b.newValues(), before);
    QVERIFY(w.statusLine()->text().contains(QStringLiteral("most nem lehetséges")));
}

void TestHistory::kindFilterAndNewEventsOnTop()
{
    Bench b;
    HistoryWindow &w = b.open();
    const int writes = w.kindBox()->findText(QStringLiteral("Írás"));
    QVERIFY(writes > 0);
    w.kindBox()->setCurrentIndex(writes);
    emit w.kindBox()->activated(writes);
    QCOMPARE(w.timeline()->count(), 0);

    // A test write while the window is open shows up at once, on top.
    b.fx.form().row(3).newValue->setText(QStringLiteral("15"));
    emit b.fx.form().row(3).test->clicked();
    QCOMPARE(w.timeline()->count(), 1);
    const HistoryEvent &write = w.timeline()->at(0);
    QCOMPARE(write.param, 3);
    QCOMPARE(write.before, QStringLiteral("12"));
    QCOMPARE(write.sent, QStringLiteral("15"));
    // A read does not belong to this filter.
    emit b.fx.form().Command3->clicked();
    QCOMPARE(w.timeline()->count(), 1);
}

void TestHistory::selectionGoesToCsv()
{
    Bench b;
    HistoryWindow &w = b.open();
    const QString path = b.fx.folder() + QStringLiteral("/export.csv");
    b.files.saves.push_back(path);
    w.selectRows({0, 1});
    w.exportButton()->click();
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 4); // the header, two events, the last line's end
    QVERIFY(lines[0].startsWith("id,time,port,axis,kind,occasion,"));
    QVERIFY(lines[1].contains(",read,startup,"));
    QVERIFY(lines[1].endsWith(",1000,50,200,10,200,100,1024,30"));
    QVERIFY(lines[2].contains(",read,read_all,"));
    QVERIFY(lines[2].endsWith(",1000,50,300,12,200,100,1024,30"));
    QVERIFY(b.files.proposals.first().endsWith(QStringLiteral(".csv")));
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
