// Auto-tuning end to end: the real terminal on kdxsim's pseudo-terminal,
// the tuner running through the terminal's own link, the operator's
// decision, stopping in every way the operator can, a line that falls
// silent, and the snapshot offered back at the next start. kdxsim runs four
// times as fast as real time so that the runs stay short.

#include "app/terminal.h"
#include "app/tuningcontroller.h"
#include "core/tuningsnapshot.h"
#include "kdxsimprocess.h"
#include "link/seriallink.h"
#include "link/serialportopener.h"
#include "operations/linktuningaxis.h"
#include "operations/paramrows.h"
#include "operations/tuningrun.h"
#include "scriptedprompter.h"
#include "widgets/form1.h"
#include "widgets/tuningpanel.h"
#include "widgets/workbenchwindow.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace kdx;

namespace {

const QStringList kSimArguments{QStringLiteral("--time-scale"), QStringLiteral("4"),
                                QStringLiteral("--set"), QStringLiteral("P2=40"),
                                QStringLiteral("--commands")};

// A terminal on kdxsim's line, started as on the first show, its parameter
// folder given (so that a second start finds what the first left).
struct Bench {
    Bench(const QString &pty, const QString &folder)
    {
        opener = std::make_unique<SerialPortOpener>(pty);
        TerminalOptions options;
        options.opener = opener.get();
        options.prompter = &prompter;
        options.paramFolder = folder;
        options.reconnectIntervalMs = 0;
        options.replyTimeoutMs = 500;
        terminal = std::make_unique<Terminal>(options);
    }
    bool start()
    {
        if (!terminal->start())
            return false;
        terminal->run([this] { terminal->onFirstShown(); });
        return terminal->link().isOpen();
    }
    ParamNumbers controller()
    {
        ParamNumbers p{};
        terminal->run([&] {
            LinkTuningAxis axis(terminal->link(), [] { return false; });
            p = axis.readBack();
        });
        return p;
    }
    TuningController &tuning() { return terminal->tuning(); }

    ScriptedPrompter prompter;
    std::unique_ptr<SerialPortOpener> opener;
    std::unique_ptr<Terminal> terminal;
};

// A short tuning: few steps, a window that suits the faster clock, an aim
// that a first design meets (the tuner's quality is kdxbench's business).
// The stages in which gains the model chose are on the axis: verified when
// the design met the aim, the closest it found otherwise.
bool measuresDesignedGains(const QString &stage)
{
    return stage.startsWith(QStringLiteral("Ellenőrzés")) ||
           stage.startsWith(QStringLiteral("A legközelebbi a modell szerint"));
}

TuningOptions shortRun()
{
    TuningOptions o;
    o.aim = TuningAim::Fast;
    o.maxSteps = 40;
    o.windowMs = 250;
    o.budgetMs = 60'000;
    return o;
}

} // namespace

class TestE2eTuning : public QObject {
    Q_OBJECT
private slots:
    void tuneThenDecide_data();
    void tuneThenDecide();
    void operatorStops_data();
    void operatorStops();
    void silentLineLeavesTheSnapshotForTheNextStart();
    void snapshotWithAWrongValueIsNotOfferedAsItStands();
};

void TestE2eTuning::tuneThenDecide_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("Elfogad") << true;
    QTest::newRow("Elvet") << false;
}

void TestE2eTuning::tuneThenDecide()
{
    QFETCH(bool, accept);
    KdxsimProcess sim;
    QVERIFY(sim.start(kSimArguments));
    QTemporaryDir folder;
    Bench b(sim.ptyPath(), folder.path());
    QVERIFY(b.start());
    const ParamNumbers found = b.controller();
    QCOMPARE(found[2], 40);

    // "Auto TUNING" opens the workbench; the panel is its tuning tab.
    emit b.terminal->form().AutoTuning->clicked();
    TuningPanel &panel = b.tuning().panel();
    QCOMPARE(panel.window(), static_cast<QWidget *>(b.terminal->workbench()));
    b.tuning().show();
    QVERIFY(panel.isVisible());
    // How well a tuning does on a loaded machine is the benchmark's
    // business: a run that finds nothing better leaves the controller as
    // found, and the next may find it.
    TuningResult r;
    for (int attempt = 0; attempt < 3; ++attempt) {
        b.tuning().start(shortRun());
        r = *b.tuning().tuning().last();
        if (r.outcome == TuningResult::Outcome::Tuned)
            break;
        QCOMPARE(b.controller(), found);
    }
    QVERIFY2(r.outcome == TuningResult::Outcome::Tuned, qPrintable(r.message));
    QCOMPARE(r.snapshot, found);
    QVERIFY(r.stepsUsed <= 40);
    // The values found are in force for trial, and the snapshot waits in
    // its file for the decision.
    QCOMPARE(b.controller(), r.tuned);
    QVERIFY(r.tuned != found);
    const TuningSnapshotFile file(folder.path());
    QCOMPARE(*file.load(), found);
    QVERIFY(panel.acceptButton()->isEnabled());
    QVERIFY(panel.discardButton()->isEnabled());
    QCOMPARE(panel.logTable()->rowCount(), int(r.log.size()));
    QVERIFY(panel.resultSeries()->count() > 10);
    QVERIFY(panel.baselineSeries()->count() > 10);

    if (!accept) {
        emit panel.discardButton()->clicked();
        QCOMPARE(b.controller(), found);
        QVERIFY(!file.exists());
        return;
    }
    emit panel.acceptButton()->clicked();
    ParamRows &rows = b.terminal->rows();
    for (int n : {2, 3, 7})
        QCOMPARE(rows.newValue(n).text(), QString::number(r.tuned[n]));
    // Test-written the ordinary way: the current value shows the read-back.
    QCOMPARE(rows.current(2).text().trimmed(), QString::number(r.tuned[2]));
    QVERIFY(!file.exists());
    QCOMPARE(b.controller(), r.tuned);
    QVERIFY(!panel.acceptButton()->isEnabled());

    // The log goes out as CSV, one row per candidate.
    const QString csv = folder.filePath(QStringLiteral("log.csv"));
    QVERIFY(b.tuning().writeLog(csv));
    QFile written(csv);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll().count('\n'), qsizetype(r.log.size()) + 1);
}

void TestE2eTuning::operatorStops_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Stop") << "stop";
    QTest::newRow("Esc") << "esc";
    QTest::newRow("workbench closed") << "close panel";
    QTest::newRow("STOP / RESET in the main window") << "main stop";
    QTest::newRow("main window closed") << "main close";
    QTest::newRow("workbench closed (another tab first)") << "host close";
}

void TestE2eTuning::operatorStops()
{
    QFETCH(QString, how);
    KdxsimProcess sim;
    QVERIFY(sim.start(kSimArguments));
    QTemporaryDir folder;
    auto b = std::make_unique<Bench>(sim.ptyPath(), folder.path());
    QVERIFY(b->start());
    const ParamNumbers found = b->controller();
    TuningController &t = b->tuning();
    TuningPanel &panel = t.panel();
    // The workbench: a window whose tabs hold the panel among others.
    QTabWidget host;
    host.addTab(new QLabel(QStringLiteral("Élő jel")), QStringLiteral("Élő jel"));
    host.addTab(new QLabel(QStringLiteral("helye")), QStringLiteral("Automata hangolás"));
    if (how == QLatin1String("host close"))
        t.hostIn(&host);
    t.show();
    Form1 &f = b->terminal->form();

    // Once designed gains are on the axis, the operator stops it.
    bool stopped = false;
    QObject::connect(&t.tuning(), &TuningRun::candidate, &panel, [&](const CandidateEntry &) {
        // Another tab of the workbench leaves the tuning running.
        if (how == QLatin1String("host close"))
            host.setCurrentIndex(0);
    });
    QObject::connect(&t.tuning(), &TuningRun::progress, &panel, [&](const TuningProgress &p) {
        if (stopped || !measuresDesignedGains(p.stage))
            return;
        stopped = true;
        if (how == QLatin1String("stop"))
            emit panel.stopButton()->clicked();
        else if (how == QLatin1String("esc"))
            QTest::keyClick(&panel, Qt::Key_Escape);
        else if (how == QLatin1String("close panel"))
            panel.window()->close();
        else if (how == QLatin1String("main stop"))
            emit f.Command34->clicked();
        else if (how == QLatin1String("host close"))
            host.close();
        else
            f.close();
    });
    TuningOptions o = shortRun();
    o.maxSteps = 200;
    t.start(o);
    const TuningResult r = *t.tuning().last();
    QCOMPARE(r.outcome, TuningResult::Outcome::Aborted);
    QVERIFY2(r.message.contains(QStringLiteral("leállította")), qPrintable(r.message));
    QVERIFY(r.restored);
    QVERIFY(!TuningSnapshotFile(folder.path()).exists());
    QVERIFY(r.log.size() >= 1);

    if (how == QLatin1String("main close")) {
        // The program ended once the snapshot was back: a new start finds
        // the controller as it was and nothing to offer back.
        b.reset();
        Bench again(sim.ptyPath(), folder.path());
        QVERIFY(again.start());
        QCOMPARE(again.controller(), found);
        QVERIFY(again.prompter.shown.isEmpty());
        return;
    }
    QCOMPARE(b->controller(), found);
    QVERIFY(f.Frame1->isEnabled());
}

void TestE2eTuning::silentLineLeavesTheSnapshotForTheNextStart()
{
    KdxsimProcess sim;
    QVERIFY(sim.start(kSimArguments));
    QTemporaryDir folder;
    ParamNumbers found{};
    {
        Bench b(sim.ptyPath(), folder.path());
        QVERIFY(b.start());
        found = b.controller();
        TuningController &t = b.tuning();
        t.show();
        bool silenced = false;
        QObject::connect(&t.tuning(), &TuningRun::progress, &t.panel(),
                         [&](const TuningProgress &p) {
                             if (silenced || !measuresDesignedGains(p.stage))
                                 return;
                             silenced = true;
                             sim.command("silent");
                         });
        TuningOptions o = shortRun();
        o.maxSteps = 200;
        t.start(o);
        const TuningResult r = *t.tuning().last();
        QCOMPARE(r.outcome, TuningResult::Outcome::Aborted);
        QVERIFY2(r.message.contains(QStringLiteral("nem válaszol")), qPrintable(r.message));
        // Nothing could be written back: the snapshot stays for later.
        QVERIFY(!r.restored);
        QCOMPARE(*TuningSnapshotFile(folder.path()).load(), found);
        QVERIFY(t.panel().discardButton()->isEnabled());
    }
    sim.command("heal");
    // Tried values are still in force on the controller; the next start
    // offers the snapshot back, and Yes restores it.
    Bench next(sim.ptyPath(), folder.path());
    next.prompter.answers.push_back(true);
    QVERIFY(next.start());
    QCOMPARE(next.prompter.shown.size(), 1);
    QVERIFY(next.prompter.shown.front().text.contains(QStringLiteral("P2=40")));
    QCOMPARE(next.controller(), found);
    QVERIFY(!TuningSnapshotFile(folder.path()).exists());
    QCOMPARE(next.terminal->rows().current(2).text().trimmed(), QStringLiteral("40"));
}

void TestE2eTuning::snapshotWithAWrongValueIsNotOfferedAsItStands()
{
    KdxsimProcess sim;
    QVERIFY(sim.start(kSimArguments));
    QTemporaryDir folder;
    // Left by a tuning that took a poll's answer for P0, then was killed.
    const ParamNumbers left{0, 50, 300, 10, 200, 100, 1024, 30};
    QVERIFY(TuningSnapshotFile(folder.path()).save(left));

    Bench next(sim.ptyPath(), folder.path());
    next.prompter.answers.push_back(true);
    QVERIFY(next.start());
    // The offer names the wrong value.
    QVERIFY2(
        next.prompter.texts().join(u'|').contains(QStringLiteral("P0 = 0 (megengedett: 10-1000)")),
        qPrintable(next.prompter.texts().join(u'|')));
    // The others went back; P0 was never written.
    QCOMPARE(sim.values(), (QList<int>{1000, 50, 300, 10, 200, 100, 1024, 30}));
    QVERIFY(!TuningSnapshotFile(folder.path()).exists());
}

QTEST_MAIN(TestE2eTuning)
#include "tst_e2e_tuning.moc"
