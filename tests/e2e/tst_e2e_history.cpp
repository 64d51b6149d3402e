// The history of the real terminal: not one byte more goes on the wire for
// it (on a scripted line, byte for byte against a terminal without it); what
// the operator reads and writes over the serial path to kdxsim lands in the
// history file, with the axis named per port; a history that cannot be kept
// is said once and the terminal works on.

#include "app/terminal.h"
#include "core/portchoice.h"
#include "kdxsimprocess.h"
#include "link/serialportopener.h"
#include "operations/historyrecorder.h"
#include "operations/historystore.h"
#include "operations/paramrows.h"
#include "scriptedprompter.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace kdx;

namespace {

// A terminal on a kdxsim port, its history in `historyFile` (none when
// empty), the port's axis named as given another day.
struct Bench {
    Bench(const QString &port, const QString &folder, const QString &historyFile,
          const QString &axisName = QString())
        : memory(folder + QStringLiteral("/kdxterminal.conf")), opener(port)
    {
        memory.rememberAxisName(PortChoice::serial(port), axisName);
        QFile(folder + QStringLiteral("/KDXparam.txt")).open(QIODevice::WriteOnly);
        TerminalOptions options;
        options.opener = &opener;
        options.prompter = &prompter;
        options.paramFolder = folder;
        options.historyFile = historyFile;
        options.reconnectIntervalMs = 0;
        // The real settling delay: each reply whole before it is cut, as at
        // the bench, so no read is sent again and the two runs' lines compare.
        options.port = PortChoice::serial(port);
        options.portMemory = &memory;
        terminal = std::make_unique<Terminal>(options);
    }

    // Start-up, "Mind KIOLVAS", a test write of P2 and a save write of P3.
    void work()
    {
        Terminal &t = *terminal;
        QVERIFY(t.start());
        t.run([&] { t.onFirstShown(); });
        Form1 &f = t.form();
        emit f.Command3->clicked();
        f.row(2).newValue->setText(QStringLiteral("345"));
        emit f.row(2).test->clicked();
        f.row(3).newValue->setText(QStringLiteral("12"));
        emit f.row(3).save->clicked();
    }

    PortMemory memory;
    SerialPortOpener opener;
    ScriptedPrompter prompter;
    std::unique_ptr<Terminal> terminal;
};

ParamTexts texts(const QStringList &values)
{
    ParamTexts t;
    for (int n = 0; n < kParamCount; ++n)
        t[std::size_t(n)] = values.value(n);
    return t;
}

} // namespace

class TestE2eHistory : public QObject {
    Q_OBJECT
private slots:
    void noExtraBytesOnTheWire();
    void readsAndWritesLand();
    void anotherPortIsAnotherAxis();
    void historyThatCannotBeKeptIsSaidOnce();
};

void TestE2eHistory::noExtraBytesOnTheWire()
{
    // The same work on two scripted lines that answer as a controller does,
    // at once and whole: with the history kept and without it.
    QByteArray sent[2];
    for (const bool kept : {true, false}) {
        TerminalFixture fx(200, [kept](TerminalOptions &o) {
            if (kept)
                o.historyFile = o.paramFolder + QStringLiteral("/kdxhistory.sqlite");
        });
        fx.answerLikeController({"1000", "50", "222", "10", "200", "100", "1024", "30"});
        QVERIFY(fx.load());
        fx.run([&] { fx.terminal().onFirstShown(); });
        Form1 &f = fx.form();
        emit f.Command3->clicked();
        f.row(2).newValue->setText(QStringLiteral("345"));
        emit f.row(2).test->clicked();
        f.row(3).newValue->setText(QStringLiteral("12"));
        emit f.row(3).save->clicked();
        sent[kept ? 0 : 1] = fx.device().written();
        QCOMPARE(fx.terminal().history().isRecording(), kept);
        if (kept)
            QCOMPARE(fx.terminal().history().store()->count(), 4);
    }
    QVERIFY(sent[0].contains("P3\r\rP3\r12\rW 0\r"));
    QCOMPARE(sent[0], sent[1]);
}

void TestE2eHistory::readsAndWritesLand()
{
    QTemporaryDir dir;
    const QString historyFile = dir.filePath(QStringLiteral("data/kdxhistory.sqlite"));
    KdxsimProcess sim;
    QVERIFY(sim.start({"--set", "P2=222"}));
    // The name given on this port another day comes back with the port.
    Bench with(sim.ptyPath(), dir.path(), historyFile, QStringLiteral("3. gép, X tengely"));
    with.work();
    QVERIFY(with.prompter.shown.isEmpty());
    QCOMPARE(with.terminal->form().row(2).current->text(), QStringLiteral(" 345"));

    // And all of it in the history, in order, of the named axis.
    const AxisKey axis{QStringLiteral("3. gép, X tengely"), sim.ptyPath()};
    QCOMPARE(with.terminal->history().place(), axis);
    HistoryStore store(historyFile);
    QVERIFY(store.isOpen());
    std::vector<HistoryEvent> events = store.timeline(&axis, kAllKinds, 0, 100);
    std::reverse(events.begin(), events.end());
    QCOMPARE(events.size(), std::size_t(4));
    const ParamTexts found = texts({"1000", "50", "222", "10", "200", "100", "1024", "30"});
    QCOMPARE(events[0].kind, HistoryKind::Read);
    QCOMPARE(events[0].occasion, ReadOccasion::Startup);
    QVERIFY(events[0].set == found);
    QCOMPARE(events[1].kind, HistoryKind::Read);
    QCOMPARE(events[1].occasion, ReadOccasion::Operator);
    QVERIFY(events[1].set == found);

    const HistoryEvent &test = events[2];
    QCOMPARE(test.kind, HistoryKind::Write);
    QCOMPARE(test.param, 2);
    QCOMPARE(test.before, QStringLiteral("222"));
    QCOMPARE(test.sent, QStringLiteral("345"));
    QCOMPARE(test.readBack, QStringLiteral("345"));
    QVERIFY(!test.stored);
    QVERIFY(test.set == texts({"1000", "50", "345", "10", "200", "100", "1024", "30"}));

    const HistoryEvent &save = events[3];
    QCOMPARE(save.param, 3);
    QCOMPARE(save.before, QStringLiteral("10"));
    QCOMPARE(save.sent, QStringLiteral("12"));
    QCOMPARE(save.readBack, QStringLiteral("12"));
    QVERIFY(save.stored);
    QVERIFY(save.set == texts({"1000", "50", "345", "12", "200", "100", "1024", "30"}));
    for (const HistoryEvent &e : events)
        QCOMPARE(e.session, events[0].session);
}

void TestE2eHistory::anotherPortIsAnotherAxis()
{
    QTemporaryDir dir;
    const QString historyFile = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    KdxsimProcess a, b;
    QVERIFY(a.start({"--set", "P2=111"}));
    QVERIFY(b.start({"--set", "P2=333"}));
    Bench bench(a.ptyPath(), dir.path(), historyFile);
    Terminal &t = *bench.terminal;
    QVERIFY(t.start());
    t.run([&] { t.onFirstShown(); });
    // The operator names the axis on A; B was named "Y tengely" another day.
    bench.prompter.inputs.push_back(QStringLiteral("  X tengely "));
    t.askAxisName();
    QCOMPARE(t.axisName().text(), QStringLiteral("X tengely"));
    bench.memory.rememberAxisName(PortChoice::serial(b.ptyPath()), QStringLiteral("Y tengely"));

    t.switchPort(PortChoice::serial(b.ptyPath()));
    QCOMPARE(t.axisName().text(), QStringLiteral("Y tengely"));
    t.switchPort(PortChoice::serial(a.ptyPath()));
    QCOMPARE(t.axisName().text(), QStringLiteral("X tengely"));

    const HistoryStore &store = *t.history().store();
    const AxisKey onA{QStringLiteral("X tengely"), a.ptyPath()};
    const AxisKey onB{QStringLiteral("Y tengely"), b.ptyPath()};
    QVERIFY2(store.isWritable(), qPrintable(store.problemText()));
    const std::vector<HistoryEvent> readsOnB = store.timeline(&onB, kAllKinds, 0, 10);
    QCOMPARE(readsOnB.size(), std::size_t(1));
    QCOMPARE(readsOnB[0].occasion, ReadOccasion::PortSwitch);
    QCOMPARE(readsOnB[0].set[2], QStringLiteral("333"));
    // The start-up read came before the axis had a name: naming it named that too.
    const std::vector<HistoryEvent> readsOnA = store.timeline(&onA, kAllKinds, 0, 10);
    QCOMPARE(readsOnA.size(), std::size_t(2));
    QCOMPARE(readsOnA[0].occasion, ReadOccasion::PortSwitch);
    QCOMPARE(readsOnA[1].occasion, ReadOccasion::Startup);
    QCOMPARE(readsOnA[1].set[2], QStringLiteral("111"));
    const AxisKey unnamed{QString(), a.ptyPath()};
    QCOMPARE(store.timeline(&unnamed, kAllKinds, 0, 10).size(), std::size_t(0));
    QCOMPARE(t.history().journalOf(onA).size(), std::size_t(2));
}

void TestE2eHistory::historyThatCannotBeKeptIsSaidOnce()
{
    QTemporaryDir dir;
    // The data folder cannot be made: a file stands where it should be.
    QFile blocker(dir.filePath(QStringLiteral("data")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    KdxsimProcess sim;
    QVERIFY(sim.start({"--set", "P2=222"}));
    Bench bench(sim.ptyPath(), dir.path(), dir.filePath(QStringLiteral("data/kdxhistory.sqlite")));
    bench.work();
    Form1 &f = bench.terminal->form();
    // The work went on, no box interrupted it, and the help panel said why once.
    QCOMPARE(f.row(2).current->text(), QStringLiteral(" 345"));
    QVERIFY(bench.prompter.shown.isEmpty());
    QVERIFY2(f.helpPanel()->text().contains(QStringLiteral("előzmények nélkül dolgozik tovább")),
             qPrintable(f.helpPanel()->text()));
    // The session's journal has it all for the report.
    QCOMPARE(bench.terminal->history().journal().size(), std::size_t(4));
}

QTEST_MAIN(TestE2eHistory)
#include "tst_e2e_history.moc"
