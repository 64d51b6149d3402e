// The workbench window under test, on the simulated controller inside the
// program with its real line timing: opened from the button, captures,
// the live scope's pause and whole view, export and import through a
// scripted file chooser, and what closing it leaves behind.

#include "app/terminal.h"
#include "core/capturecsv.h"
#include "core/readingbuffer.h"
#include "link/simulatedopener.h"
#include "operations/capturestore.h"
#include "operations/paramrows.h"
#include "operations/stepcapture.h"
#include "scriptedfiles.h"
#include "scriptedprompter.h"
#include "simulatedaxis.h"
#include "simulateddevice.h"
#include "widgets/capturechart.h"
#include "widgets/figurestable.h"
#include "widgets/form1.h"
#include "widgets/livescope.h"
#include "widgets/workbenchwindow.h"

#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>

using namespace kdx;

namespace {

constexpr int kPatienceMs = 30000; // a deadline for what must happen, never a measure

// A terminal on the simulated controller, started as on the first show,
// with the workbench opened from its button.
struct Bench {
    Bench()
    {
        TerminalOptions options;
        options.opener = &opener;
        options.prompter = &prompter;
        options.files = &files;
        options.paramFolder = dir.path();
        options.reconnectIntervalMs = 0;
        QFile(dir.filePath(QStringLiteral("KDXparam.txt"))).open(QIODevice::WriteOnly);
        terminal = std::make_unique<Terminal>(options);
        if (terminal->start())
            terminal->run([this] { terminal->onFirstShown(); });
        emit terminal->form().AutoTuning->clicked();
        window = terminal->workbench();
        if (window)
            window->windowBox()->setValue(300);
    }
    CaptureStore &store() { return terminal->captures(); }

    QTemporaryDir dir;
    SimulatedOpener opener;
    ScriptedPrompter prompter;
    ScriptedFiles files;
    std::unique_ptr<Terminal> terminal;
    WorkbenchWindow *window = nullptr;
};

} // namespace

class TestWorkbench : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void capturesAreKeptAndCompared();
    void aCaptureWaitsForTheOperationUnderWay();
    void liveScopePausesAndShowsTheWhole();
    void chartZoomAndCursors();
    void exportAndImport();
    void closingStopsTheAxis_data();
    void closingStopsTheAxis();
};

void TestWorkbench::capturesAreKeptAndCompared()
{
    Bench b;
    QVERIFY(b.window);
    WorkbenchWindow &w = *b.window;
    QVERIFY(w.isVisible());
    QCOMPARE(w.tabs()->tabText(2), QStringLiteral("Automata hangolás"));
    QCOMPARE(w.tabs()->tabText(3), QStringLiteral("Jegyzőkönyv"));
    // The step count comes from "Lépés száma".
    QCOMPARE(w.stepBox()->value(), b.terminal->form().Text9->text().toInt());
    w.stepBox()->setValue(500);

    // Single steps alternate; each is kept with the parameters read back.
    w.captureButton()->click();
    w.captureButton()->click();
    QCOMPARE(b.store().size(), 2);
    QCOMPARE(b.store().at(0).capture.steps, 500);
    QCOMPARE(b.store().at(1).capture.steps, -500);
    for (int i = 0; i < 2; ++i) {
        const Capture &c = b.store().at(i).capture;
        QVERIFY(c.record.complete);
        QVERIFY(c.paramsKnown);
        QCOMPARE(c.params[2], b.terminal->rows().current(2).text().toInt()); // P2 as read at start
        QVERIFY(!c.record.tMs.empty());
    }
    QVERIFY(b.store().at(0).colour != b.store().at(1).colour);

    // One pair more: two captures and a row with their mean.
    w.pairsBox()->setValue(1);
    w.pairsButton()->click();
    QCOMPARE(b.store().size(), 4);
    QCOMPARE(b.store().at(2).capture.steps, 500);
    QCOMPARE(b.store().at(3).capture.steps, -500);
    QCOMPARE(w.figures()->rowCount(), 5);
    QCOMPARE(w.figures()->entryOfRow(4), -1);
    QVERIFY(w.messageLine()->text().startsWith(QStringLiteral("Kész")));

    // Hide, reference, delete.
    CaptureChart &chart = *w.captureChart();
    QVERIFY(chart.seriesOf(1));
    w.figures()->item(w.figures()->rowOfEntry(1), FiguresTable::Run)->setCheckState(Qt::Unchecked);
    QVERIFY(!b.store().at(1).visible);
    QVERIFY(!chart.seriesOf(1));
    w.figures()->setCurrentCell(w.figures()->rowOfEntry(2), 0);
    w.setReference();
    QCOMPARE(b.store().reference(), 2);
    QVERIFY(chart.seriesOf(2)->name().contains(QStringLiteral("referencia")));
    w.figures()->setCurrentCell(w.figures()->rowOfEntry(0), 0);
    w.deleteSelected();
    QCOMPARE(b.store().size(), 3);
    QCOMPARE(b.store().reference(), 1); // the same capture, one place up
    QCOMPARE(b.store().at(1).capture.steps, 500);

    // Closed and opened again, nothing is lost.
    w.close();
    emit b.terminal->form().AutoTuning->clicked();
    QCOMPARE(b.terminal->workbench(), &w);
    QCOMPARE(w.figures()->rowCount(), 4);
}

void TestWorkbench::aCaptureWaitsForTheOperationUnderWay()
{
    // The click comes while another operation waits for its answer (as a
    // poll mostly does): the capture goes next, not in between.
    Bench b;
    WorkbenchWindow &w = *b.window;
    int keptInside = -1;
    b.terminal->run([&] {
        w.captureButton()->click();
        keptInside = b.store().size();
        QVERIFY(!w.captureButton()->isEnabled());
        QVERIFY(w.cancelButton()->isEnabled());
    });
    QCOMPARE(keptInside, 0);
    QCOMPARE(b.store().size(), 1);
    QVERIFY(b.store().at(0).capture.record.complete);
    QVERIFY(w.captureButton()->isEnabled());

    // Cancelled before it could start, nothing goes out and nothing is kept;
    // the next step keeps the direction this one would have had.
    b.terminal->run([&] {
        w.captureButton()->click();
        w.cancelButton()->click();
    });
    QCOMPARE(b.store().size(), 1);
    w.captureButton()->click();
    QCOMPARE(b.store().size(), 2);
    QCOMPARE(b.store().at(1).capture.steps, -b.store().at(0).capture.steps);
}

void TestWorkbench::liveScopePausesAndShowsTheWhole()
{
    Bench b;
    LiveScope &scope = *b.window->scope();
    const ReadingBuffer &readings = b.terminal->readings();
    scope.setActive(false); // the test redraws by hand
    QTRY_VERIFY_WITH_TIMEOUT(readings.totalPushed() > 50, kPatienceMs);
    scope.refresh();
    QVERIFY(scope.series()->count() > 0);

    // Paused, the view stands while the readings go on.
    scope.pauseButton()->click();
    QVERIFY(scope.isPaused());
    scope.refresh();
    const QList<QPointF> standing = scope.series()->points();
    const double max = scope.view()->timeAxis()->max();
    const quint64 pushed = readings.totalPushed();
    QTRY_VERIFY_WITH_TIMEOUT(readings.totalPushed() > pushed + 50, kPatienceMs);
    scope.refresh();
    QCOMPARE(scope.series()->points(), standing);
    QCOMPARE(scope.view()->timeAxis()->max(), max);

    // Running again, it follows: the newest readings come into view.
    scope.pauseButton()->click();
    scope.refresh();
    QVERIFY(scope.series()->points().last().x() > standing.last().x());
    QVERIFY(scope.view()->timeAxis()->max() >= scope.series()->points().last().x());

    // A zoom with the wheel stops the view; "whole view" shows every reading kept.
    const double span = scope.view()->timeAxis()->max() - scope.view()->timeAxis()->min();
    const QPoint middle = scope.view()->viewport()->rect().center();
    QWheelEvent wheel(middle, scope.view()->viewport()->mapToGlobal(middle), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(scope.view()->viewport(), &wheel);
    QVERIFY(scope.isPaused());
    QVERIFY(scope.view()->timeAxis()->max() - scope.view()->timeAxis()->min() < span);
    scope.wholeViewButton()->click();
    const double first = double(readings.at(0).tNs - scope.origin()) / 1e6;
    const double last = double(readings.latest().tNs - scope.origin()) / 1e6;
    QVERIFY(std::abs(scope.view()->timeAxis()->min() - first) < 1e-6);
    QVERIFY(std::abs(scope.view()->timeAxis()->max() - last) < 1e-6);
    QCOMPARE(scope.series()->points().first().x(), first);
}

void TestWorkbench::chartZoomAndCursors()
{
    // A capture with a known shape: e = t / 2 at t = 0, 2, 4, ... 1000 ms.
    CaptureStore store;
    Capture c;
    c.steps = 100;
    c.record.stepCounts = 100;
    c.record.windowMs = 1000;
    for (int t = 0; t <= 1000; t += 2) {
        c.record.tMs.push_back(t);
        c.record.error.push_back(t / 2.0);
    }
    store.add(c);
    CaptureChart chart(store);
    chart.resize(800, 500);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    const auto at = [&](double fx, double fy) {
        const QRectF plot = chart.chart()->plotArea();
        return chart.mapFromScene(chart.chart()->mapToScene(
            QPointF(plot.left() + fx * plot.width(), plot.top() + fy * plot.height())));
    };
    QSignalSpy moved(&chart, &ScopeView::viewMovedByOperator);

    // A drag with the left button zooms into what it spans.
    const double t0 = chart.timeAxis()->min(), span = chart.timeAxis()->max() - t0;
    QTest::mousePress(chart.viewport(), Qt::LeftButton, {}, at(0.25, 0.2));
    QTest::mouseMove(chart.viewport(), at(0.5, 0.8));
    QTest::mouseRelease(chart.viewport(), Qt::LeftButton, {}, at(0.5, 0.8));
    QCOMPARE(moved.size(), 1);
    QVERIFY(std::abs(chart.timeAxis()->min() - (t0 + 0.25 * span)) < span / 100);
    QVERIFY(std::abs(chart.timeAxis()->max() - (t0 + 0.5 * span)) < span / 100);

    // "Whole view" brings back every reading.
    chart.wholeView();
    QCOMPARE(chart.timeAxis()->min(), 0.0);
    QCOMPARE(chart.timeAxis()->max(), 1000.0);

    // Two cursors; the readout gives the nearest readings and their differences.
    chart.setCursorAt(0, 100.6); // nearest reading at 100 ms: e = 50
    chart.setCursorAt(1, 300.8); // nearest reading at 300 ms: e = 150
    QVERIFY2(chart.cursorText().contains(QStringLiteral("Δt = 200.2 ms")),
             qPrintable(chart.cursorText()));
    QVERIFY2(chart.cursorText().contains(QStringLiteral("Δe = 100")),
             qPrintable(chart.cursorText()));
    // A click sets cursor 1, with Shift cursor 2.
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, Qt::ShiftModifier, at(0.5, 0.5));
    QVERIFY(chart.cursorAt(1));
    QVERIFY2(std::abs(*chart.cursorAt(1) - 500) < 2,
             qPrintable(QString::number(*chart.cursorAt(1))));
    QCOMPARE(moved.size(), 1); // clicks do not move the view
}

void TestWorkbench::exportAndImport()
{
    Bench b;
    WorkbenchWindow &w = *b.window;
    w.stepBox()->setValue(300);
    w.captureButton()->click();
    w.captureButton()->click();
    QCOMPARE(b.store().size(), 2);

    // All captures into one CSV in a folder of the test's own, and back.
    QTemporaryDir out;
    const QString csv = out.filePath(QStringLiteral("all.csv"));
    b.files.saves.push_back(csv);
    w.exportAllCsv();
    // The dialog starts in the parameter file's folder.
    QCOMPARE(QFileInfo(b.files.proposals.last()).absolutePath(), QDir(b.dir.path()).absolutePath());
    QFile file(csv);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const CsvResult back = capturesFromCsv(file.readAll());
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(back.captures.size(), std::size_t(2));
    for (int i = 0; i < 2; ++i) {
        const StepRecord &was = b.store().at(i).capture.record;
        const StepRecord &is = back.captures[std::size_t(i)].record;
        QCOMPARE(is.error, was.error);
        QCOMPARE(is.tMs.size(), was.tMs.size());
        for (std::size_t k = 0; k < was.tMs.size(); ++k)
            QVERIFY(std::abs(is.tMs[k] - was.tMs[k]) < 0.01);
        QCOMPARE(back.captures[std::size_t(i)].steps, b.store().at(i).capture.steps);
    }

    // The chart as a picture at twice the screen's scale.
    w.tabs()->setCurrentIndex(1);
    const QString png = out.filePath(QStringLiteral("chart.png"));
    b.files.saves.push_back(png);
    w.exportPng();
    const QImage picture(png);
    QVERIFY(!picture.isNull());
    const qreal scale = 2 * w.captureChart()->devicePixelRatioF();
    QCOMPARE(picture.size(), w.captureChart()->size() * scale);

    // A malformed file says which line is wrong and changes nothing.
    const QString bad = out.filePath(QStringLiteral("bad.csv"));
    QFile badFile(bad);
    QVERIFY(badFile.open(QIODevice::WriteOnly));
    QByteArray bytes = captureToCsv(b.store().at(0).capture);
    const int lines = int(bytes.count('\n'));
    bytes += "12.5;oops\n";
    badFile.write(bytes);
    badFile.close();
    b.files.opens.push_back(bad);
    w.importCsv();
    QCOMPARE(b.store().size(), 2);
    QCOMPARE(b.prompter.texts().size(), 1);
    QVERIFY2(b.prompter.texts().first().contains(QString::number(lines + 1)),
             qPrintable(b.prompter.texts().first()));

    // A good one comes in as an overlay.
    b.files.opens.push_back(csv);
    w.importCsv();
    QCOMPARE(b.store().size(), 4);
    QVERIFY(b.store().at(3).imported);
    QCOMPARE(b.store().at(3).capture.record.error, b.store().at(1).capture.record.error);
    QVERIFY(w.captureChart()->seriesOf(3));
}

void TestWorkbench::closingStopsTheAxis_data()
{
    QTest::addColumn<bool>("duringCapture");
    QTest::newRow("after a PID run") << false;
    QTest::newRow("during a capture") << true;
}

void TestWorkbench::closingStopsTheAxis()
{
    QFETCH(bool, duringCapture);
    Bench b;
    WorkbenchWindow &w = *b.window;
    if (duringCapture) {
        w.windowBox()->setValue(5000);
        // Closed once the first readings of the step have come in.
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, &w, [&] {
            if (b.terminal->stepCapture().last().record.tMs.size() > 5)
                w.close();
        });
        closer.start(5);
        w.captureButton()->click();
        // What came in before is kept, marked incomplete.
        QCOMPARE(b.store().size(), 1);
        QVERIFY(!b.store().at(0).capture.record.complete);
        QVERIFY(!b.store().at(0).capture.record.tMs.empty());
        QVERIFY(b.store().at(0).capture.record.tMs.back() < 5000);
    } else {
        emit b.terminal->form().Command32->clicked();
        QCOMPARE(axisOf(b.opener).mode(), sim::ServoModel::Mode::PidRun);
        w.close();
    }
    QVERIFY(!w.isVisible());
    QCOMPARE(axisOf(b.opener).mode(), sim::ServoModel::Mode::Step);
    QCOMPARE(axisOf(b.opener).speed(), 0);
    QVERIFY(b.terminal->form().isEnabled());
}

QTEST_MAIN(TestWorkbench)
#include "tst_workbench.moc"
