// Faults on the line, end to end: the real terminal on a kdxsim
// pseudo-terminal, opened through the ordinary serial-port opener, while the
// controller falls silent, talks garbage, floods the line or goes away.
//
// Nothing here measures speed. Deadlines only keep a broken build from
// hanging; the one bound on time is the share of a core the terminal uses
// while it waits, set far from both an idle wait (well under 1 %) and a
// spinning one (a whole core).

#include "app/terminal.h"
#include "app/tuningcontroller.h"
#include "kdxsimprocess.h"
#include "link/seriallink.h"
#include "link/serialportopener.h"
#include "operations/parameterreads.h"
#include "operations/paramrows.h"
#include "operations/scheduler.h"
#include "operations/ticktimer.h"
#include "operations/tuningrun.h"
#include "scriptedprompter.h"
#include "serialbench.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <sys/resource.h>

using namespace kdx;

namespace {

constexpr int kReplyTimeoutMs = 300;
constexpr int kPatienceMs = 30000; // a deadline for what must happen, never a measure
constexpr double kCpuShareBound = 0.25;
// Replies still on the way when the fault ends may spoil one read-all.
constexpr int kReadAllsToRecover = 3;

const QStringList kPresets{"--set", "P0=900", "--set", "P1=40",  "--set", "P2=345",
                           "--set", "P3=12",  "--set", "P4=190", "--set", "P5=90",
                           "--set", "P6=512", "--set", "P7=25"};
const QStringList kPresetValues{" 900", " 40", " 345", " 12", " 190", " 90", " 512", " 25"};
const QString kSilent = QStringLiteral("a mikrokontroller nem válaszol");
const QString kGarbled = QStringLiteral("a mikrokontroller válasza értelmezhetetlen");
const QString kLost = QStringLiteral("a kapcsolat megszakadt");

// User and system time this process has used, in ms.
double processCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The resident memory of this process, in KiB.
qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Lets the window run for a while, as the application's event loop runs it,
// and returns the share of one core this process used meanwhile.
double runWindow(int ms)
{
    QElapsedTimer wall;
    wall.start();
    const double cpu = processCpuMs();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return (processCpuMs() - cpu) / double(wall.elapsed());
}

// kdxsim's log: the lines it received ("P9") and the commands it obeyed
// ("# heal"), in order, each with its time in ms.
struct LogEntry {
    double ms;
    QString text;
};

QList<LogEntry> logEntries(const QString &path)
{
    QFile file(path);
    QList<LogEntry> entries;
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        if (blank < 0)
            continue;
        QString text = QString::fromLatin1(line.mid(blank + 1));
        if (text.startsWith(QLatin1String("> ")))
            text.remove(0, 2);
        entries.append({line.left(blank).toDouble(), text});
    }
    return entries;
}

bool logHas(const QString &path, const QString &text)
{
    const QList<LogEntry> entries = logEntries(path);
    return std::any_of(entries.begin(), entries.end(),
                       [&](const LogEntry &e) { return e.text == text; });
}

// The terminal on a serial port, with the checks these tests make.
struct Bench : SerialBench {
    explicit Bench(const QString &port, int reconnectIntervalMs = 0)
        : SerialBench(port, reconnectIntervalMs, kReplyTimeoutMs)
    {
    }
    QString panelWith(const QString &problem) const
    {
        const QString base = QString::fromUtf8(Form1::kPortPanelFormat).arg(opener.displayName());
        return problem.isEmpty() ? base : base + QStringLiteral(" - ") + problem;
    }
    // Takes in what has come and tells whether nothing more came for a while.
    bool drained()
    {
        terminal->run([this] { link().takeAll(); });
        runWindow(50);
        return link().waiting() == 0;
    }
    // Runs read-all as the button does and tells whether every value came right.
    bool readAllGives(const QStringList &expected)
    {
        emit form().Command3->clicked();
        return values() == expected;
    }
};

using Action = std::function<void(Terminal &)>;

} // namespace

Q_DECLARE_METATYPE(Action)

class TestE2eFaults : public QObject {
    Q_OBJECT
private slots:
    void replyDuringTheSettlingDelayIsRead();
    void silentControllerEndsEveryAction_data();
    void silentControllerEndsEveryAction();
    void silenceCostsNoProcessorAndPilesNothingUp();
    void garbageAndFloods_data();
    void garbageAndFloods();
    void lineClosedMidOperation_data();
    void lineClosedMidOperation();

private:
    QString logPath() const { return m_logDir.filePath(QStringLiteral("kdxsim.log")); }
    QTemporaryDir m_logDir;
};

void TestE2eFaults::replyDuringTheSettlingDelayIsRead()
{
    KdxsimProcess sim;
    QVERIFY(sim.start(kPresets));
    Bench b(sim.ptyPath());
    QVERIFY(b.start());
    Form1 &f = b.form();
    b.terminal->scheduler().pollTimer().setHeld(true); // no polls in between
    QTRY_VERIFY_WITH_TIMEOUT(b.drained(), kPatienceMs);

    // An answer nobody read waits when the read starts: its wait ends at
    // once, and its own reply comes in during the settling delay. The read
    // takes both, and the next read is not one reply behind.
    b.terminal->run([&] {
        b.link().send("m3\r");
        b.link().waitForInput();
    });
    runWindow(50);
    QVERIFY(b.link().waiting() > 0);
    b.terminal->run([&] { b.terminal->reads().readOne(2); });
    QCOMPARE(f.row(2).current->text(), QStringLiteral(" 345"));
    runWindow(50);
    b.terminal->run([&] { b.terminal->reads().readOne(3); });
    QCOMPARE(f.row(3).current->text(), QStringLiteral(" 12"));
}

void TestE2eFaults::silentControllerEndsEveryAction_data()
{
    QTest::addColumn<Action>("prepare"); // done while the controller still answers
    QTest::addColumn<Action>("act");
    QTest::addColumn<QStringList>("sent"); // what reaches the line in the action
    QTest::addColumn<bool>("waits");       // the action waits for the controller

    const Action nothing = [](Terminal &) {};
    const auto newValue = [](int n, const char *value) -> Action {
        return [n, value](Terminal &t) { t.form().row(n).newValue->setText(QLatin1String(value)); };
    };
    const auto click = [](QPushButton *Form1::*button) -> Action {
        return [button](Terminal &t) { emit(t.form().*button)->clicked(); };
    };
    const auto clickRow = [](int n, QPushButton *ParamRow::*button) -> Action {
        return [n, button](Terminal &t) { emit(t.form().row(n).*button)->clicked(); };
    };

    QTest::newRow("read-all") << nothing << click(&Form1::Command3) << QStringList{"P0"} << true;
    QTest::newRow("single read") << nothing << clickRow(3, &ParamRow::read) << QStringList{"P3"}
                                 << true;
    QTest::newRow("test write") << newValue(2, "300") << clickRow(2, &ParamRow::test)
                                << QStringList{"P2"} << true;
    QTest::newRow("test write of P0")
        << newValue(0, "950") << clickRow(0, &ParamRow::test) << QStringList{"P0"} << true;
    QTest::newRow("save write") << newValue(1, "60") << clickRow(1, &ParamRow::save)
                                << QStringList{"P1"} << true;
    QTest::newRow("test all") << Action([](Terminal &t) {
        Form1 &f = t.form();
        f.row(4).newValue->setText(QStringLiteral("150"));
        f.row(5).newValue->setText(QStringLiteral("80"));
    }) << click(&Form1::Command27)
                              << QStringList{"P4"} << true;
    QTest::newRow("save all") << newValue(7, "20") << click(&Form1::Command20) << QStringList{"P7"}
                              << true;
    QTest::newRow("stop-and-reset")
        << nothing << click(&Form1::Command34) << QStringList{"S0"} << true;
    QTest::newRow("voltage run") << nothing << click(&Form1::Command31) << QStringList{"S0"}
                                 << true;
    QTest::newRow("PID run") << nothing << click(&Form1::Command32) << QStringList{"m2", "S0"}
                             << true;
    QTest::newRow("speed change") << nothing
                                  << Action([](Terminal &t) { t.form().HScroll2->setValue(150); })
                                  << QStringList{"S150"} << true;
    QTest::newRow("step-mode switch") << Action([](Terminal &t) {
        // Only the switch's own line: the repeated step is the next row's.
        t.scheduler().stepTimer().setHeld(true);
    }) << Action([](Terminal &t) { t.form().Check3->setChecked(true); })
                                      << QStringList{"m3"} << false;
    QTest::newRow("repeated step") << Action([](Terminal &t) {
        t.scheduler().stepTimer().setHeld(true); // the test gives the tick
        t.form().Check3->setChecked(true);
    }) << Action([](Terminal &t) { t.scheduler().stepTimer().fire(); })
                                   << QStringList{"+2000"} << true;
    QTest::newRow("monitor poll") << Action([](Terminal &t) {
        t.scheduler().pollTimer().setHeld(true);
    }) << Action([](Terminal &t) { t.scheduler().pollTimer().fire(); })
                                  << QStringList{"P9"} << true;
    QTest::newRow("zeroing") << nothing << click(&Form1::Command28) << QStringList{} << false;
    QTest::newRow("error scale pick")
        << nothing << Action([](Terminal &t) { emit t.form().Combo1->activated(2); })
        << QStringList{} << false;
    QTest::newRow("time scale typed") << nothing << Action([](Terminal &t) {
        Form1 &f = t.form();
        f.Combo2->setEditText(QStringLiteral("40"));
        emit f.Combo2->lineEdit()->textEdited(QStringLiteral("40"));
    }) << QStringList{} << false;
}

void TestE2eFaults::silentControllerEndsEveryAction()
{
    QFETCH(Action, prepare);
    QFETCH(Action, act);
    QFETCH(QStringList, sent);
    QFETCH(bool, waits);

    KdxsimProcess sim;
    QVERIFY(sim.start(QStringList{"--commands", "--log", logPath()} + kPresets));
    Bench b(sim.ptyPath());
    QVERIFY(b.start());
    QCOMPARE(b.values(), kPresetValues);
    Form1 &f = b.form();
    prepare(*b.terminal);
    QVERIFY(b.link().problem().isEmpty());
    b.panel.clear();
    b.prompter.clear();
    sim.command("silent");
    QTRY_VERIFY_WITH_TIMEOUT(logHas(logPath(), "# silent"), kPatienceMs);
    // Replies to what was sent before are taken in, so that nothing ends the
    // action's wait but the time-out.
    QTRY_VERIFY_WITH_TIMEOUT(b.drained(), kPatienceMs);
    const qsizetype before = logEntries(logPath()).size();

    // A timer and a queued call while the action runs: the window still reacts.
    int depthInTimer = -1;
    int depthInQueued = -1;
    QTimer::singleShot(10, &f, [&] { depthInTimer = b.terminal->scheduler().isBusy(); });
    QMetaObject::invokeMethod(
        &f, [&] { depthInQueued = b.terminal->scheduler().isBusy(); }, Qt::QueuedConnection);

    QElapsedTimer clock;
    clock.start();
    act(*b.terminal);
    const qint64 took = clock.elapsed();
    qInfo("ended after %lld ms (reply time-out %d ms)", took, kReplyTimeoutMs);
    QVERIFY(took < kPatienceMs);
    if (waits) {
        QVERIFY2(depthInTimer > 0, "the timer did not run while the action waited");
        QVERIFY2(depthInQueued > 0, "the queued call did not run while the action waited");
        QCOMPARE(b.link().problem(), kSilent);
    }
    QVERIFY(!b.terminal->scheduler().isBusy());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);

    // What the action put on the line before it gave up, and no more; the
    // monitor's polls that follow are left out.
    const auto sentByAction = [&] {
        QStringList lines;
        for (const LogEntry &e : logEntries(logPath()).mid(before)) {
            if (e.text != QLatin1String("P9") || sent.contains(QLatin1String("P9")))
                lines << e.text;
        }
        return lines;
    };
    QTRY_VERIFY_WITH_TIMEOUT(sentByAction().size() >= sent.size(), kPatienceMs);
    QCOMPARE(sentByAction(), sent);

    // The silence is reported once, by the action or by the next poll, and
    // never by a box.
    QTRY_COMPARE_WITH_TIMEOUT(b.link().problem(), kSilent, kPatienceMs);
    runWindow(kReplyTimeoutMs + 100); // room for one more poll to fail
    QCOMPARE(b.panel, QStringList{b.panelWith(kSilent)});
    QCOMPARE(f.portPanel()->text(), b.panelWith(kSilent));
    QVERIFY2(b.prompter.shown.isEmpty(), qPrintable(b.prompter.texts().join(u'|')));
}

void TestE2eFaults::silenceCostsNoProcessorAndPilesNothingUp()
{
    KdxsimProcess sim;
    QVERIFY(sim.start(QStringList{"--commands", "--log", logPath()} + kPresets));
    Bench b(sim.ptyPath());
    QVERIFY(b.start());
    QVERIFY(b.terminal->scheduler().pollTimer().isEnabled());
    b.panel.clear();

    sim.command("silent");
    QTRY_VERIFY_WITH_TIMEOUT(logHas(logPath(), "# silent"), kPatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(b.link().problem(), kSilent, kPatienceMs);

    // The monitor keeps asking, one poll at a time, each given up after the
    // reply time-out; meanwhile the process sleeps.
    const double silentFrom = logEntries(logPath()).last().ms;
    const double share = runWindow(1500);
    qInfo("CPU while the controller is silent: %.2f %% of one core", share * 100);
    QVERIFY2(share < kCpuShareBound, qPrintable(QString::number(share)));

    QList<double> polls;
    for (const LogEntry &e : logEntries(logPath())) {
        if (e.ms > silentFrom && e.text == QLatin1String("P9"))
            polls << e.ms;
    }
    QVERIFY(!polls.isEmpty());
    const double span = polls.last() - polls.first();
    qInfo("%lld polls in %.0f ms of silence", qint64(polls.size()), span);
    // At most one poll outstanding: each one waits out the time-out first.
    // kdxsim's own clock, with two polls' slack for the line's jitter.
    QVERIFY2(polls.size() <= span / kReplyTimeoutMs + 2,
             qPrintable(QStringLiteral("%1 polls in %2 ms").arg(polls.size()).arg(span)));
    QCOMPARE(b.panel, QStringList{b.panelWith(kSilent)});

    // The controller answers again: the panel clears and the values come.
    sim.command("heal");
    QTRY_VERIFY_WITH_TIMEOUT(b.link().problem().isEmpty(), kPatienceMs);
    QVERIFY(b.readAllGives(kPresetValues));
    QCOMPARE(b.panel, (QStringList{b.panelWith(kSilent), b.panelWith(QString())}));
}

void TestE2eFaults::garbageAndFloods_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("burst"); // a command for kdxsim once the terminal runs
    QTest::addColumn<QString>("problem");  // what the panel says meanwhile, if anything

    QTest::newRow("random bytes") << QStringList{"--garbage", "0.3"} << QByteArray() << QString();
    QTest::newRow("NUL bytes") << QStringList{"--garbage", "0.5", "--garbage-byte", "0"}
                               << QByteArray() << QString();
    QTest::newRow("no colon or blank") << QStringList{"--mangle"} << QByteArray() << kGarbled;
    QTest::newRow("echo") << QStringList{"--echo"} << QByteArray() << QString();
    QTest::newRow("latency") << QStringList{"--latency", "40"} << QByteArray() << QString();
    QTest::newRow("megabyte of noise") << QStringList{} << QByteArray("burst 1000000") << QString();
    QTest::newRow("megabyte of NUL")
        << QStringList{"--garbage-byte", "0"} << QByteArray("burst 1000000") << QString();
}

void TestE2eFaults::garbageAndFloods()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, burst);
    QFETCH(QString, problem);

    KdxsimProcess sim;
    QVERIFY(sim.start(QStringList{"--commands", "--log", logPath()} + options + kPresets));
    Bench b(sim.ptyPath());
    QIODevice &port = *b.opener.device();

    // The receive side never holds more than its bound, whatever comes.
    qint64 mostWaiting = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        mostWaiting = std::max(mostWaiting, port.isOpen() ? port.bytesAvailable() : 0);
    });
    watch.start(5);

    const qint64 residentBefore = residentKiB();
    QVERIFY(b.start()); // the start-up reads already meet the fault
    Form1 &f = b.form();
    if (!burst.isEmpty()) {
        QCOMPARE(b.values(), kPresetValues);
        // With the monitor off nothing reads: the flood stops at the bound.
        f.Check2->setChecked(false);
        QVERIFY(!b.terminal->scheduler().pollTimer().isEnabled());
        sim.command(burst);
        QTRY_COMPARE_WITH_TIMEOUT(port.bytesAvailable(), SerialPortOpener::kReceiveBufferBytes,
                                  kPatienceMs);
        runWindow(300);
        QCOMPARE(port.bytesAvailable(), SerialPortOpener::kReceiveBufferBytes);
        QVERIFY(!logHas(logPath(), "# burst sent")); // the rest waits in kdxsim
        // The monitor's polls take it all in.
        f.Check2->setChecked(true);
        QTRY_VERIFY_WITH_TIMEOUT(logHas(logPath(), "# burst sent"), kPatienceMs);
    } else {
        runWindow(1000); // the monitor polls through the fault
        // A tuning started now takes its snapshot right or does not start,
        // and the controller keeps its values either way (it is stopped
        // once the snapshot is taken).
        TuningController &t = b.terminal->tuning();
        const auto stopper =
            QObject::connect(&t.tuning(), &TuningRun::progress, &f, [&t](const TuningProgress &p) {
                if (p.stage != QStringLiteral("Paraméterek kiolvasása"))
                    t.stop();
            });
        // The window shows the values read before the fault began.
        for (int n = 0; n < 8; ++n)
            b.terminal->rows().current(n).set(kPresetValues[n]);
        t.start(TuningOptions());
        QObject::disconnect(stopper);
        QVERIFY(t.tuning().last());
        const TuningResult r = *t.tuning().last();
        qInfo("tuning during the fault: %s", qPrintable(r.message));
        QStringList held;
        for (int v : sim.values())
            held << u' ' + QString::number(v);
        QCOMPARE(held, kPresetValues);
        if (r.snapshotKnown) {
            QStringList snapshot;
            for (int v : r.snapshot)
                snapshot << u' ' + QString::number(v);
            QCOMPARE(snapshot, kPresetValues);
        }
    }
    const qint64 residentAfter = residentKiB();
    qInfo("resident memory %lld KiB before, %lld KiB after; at most %lld bytes waiting",
          residentBefore, residentAfter, mostWaiting);
    QVERIFY(mostWaiting <= SerialPortOpener::kReceiveBufferBytes);
    if (!problem.isEmpty()) {
        QCOMPARE(b.link().problem(), problem);
        // Said once, not again and again with every reply.
        QCOMPARE(b.panel, QStringList{b.panelWith(problem)});
    }

    // Sane replies again: a later read-all gives the right values, and the
    // panel is clear.
    sim.command("heal");
    QTRY_VERIFY_WITH_TIMEOUT(logHas(logPath(), "# heal"), kPatienceMs);
    int readAlls = 1;
    while (!b.readAllGives(kPresetValues) && readAlls < kReadAllsToRecover)
        ++readAlls;
    QCOMPARE(b.values(), kPresetValues);
    qInfo("right values at read-all %d after the fault ended", readAlls);
    QVERIFY(b.link().problem().isEmpty());
    QCOMPARE(f.portPanel()->text(), b.panelWith(QString()));
    QVERIFY(b.link().isOpen());
}

void TestE2eFaults::lineClosedMidOperation_data()
{
    QTest::addColumn<bool>("killed");
    QTest::newRow("controller killed") << true;
    QTest::newRow("controller ends") << false;
}

void TestE2eFaults::lineClosedMidOperation()
{
    QFETCH(bool, killed);
    // The terminal opens a name of our own, as it would open the device
    // node of a USB adapter: the node goes when the adapter is pulled and
    // comes back, for another line, when it is plugged in again.
    QTemporaryDir dir;
    const QString port = dir.filePath(QStringLiteral("ttyKDX"));
    const auto plug = [&](const QString &device) {
        const QString fresh = port + QStringLiteral(".new");
        QFile::remove(fresh);
        return QFile::link(device, fresh) && ::rename(qPrintable(fresh), qPrintable(port)) == 0;
    };

    auto first = std::make_unique<KdxsimProcess>();
    QVERIFY(first->start({"--commands", "--log", logPath()}));
    QVERIFY(plug(first->ptyPath()));
    Bench b(port, 100);
    QVERIFY(b.start());
    QCOMPARE(b.values(),
             (QStringList{" 1000", " 50", " 200", " 10", " 200", " 100", " 1024", " 30"}));

    // The line goes while read-all waits for a reply (long time-out: only the
    // loss can end this wait).
    first->command("silent");
    QTRY_VERIFY_WITH_TIMEOUT(logHas(logPath(), "# silent"), kPatienceMs);
    b.link().setReplyTimeout(kPatienceMs);
    QTimer::singleShot(100, &b.form(), [&] {
        QVERIFY(plug(dir.filePath(QStringLiteral("unplugged"))));
        if (killed)
            first->kill();
        else
            first->stop();
    });
    b.panel.clear(); // a poll may have found the controller silent already
    QElapsedTimer clock;
    clock.start();
    emit b.form().Command3->clicked();
    qInfo("read-all ended %lld ms after it started", clock.elapsed());
    QVERIFY(clock.elapsed() < kPatienceMs);
    QCOMPARE(b.link().problem(), kLost);
    QVERIFY(!b.link().isOpen());
    QVERIFY(!b.terminal->scheduler().isBusy());
    b.link().setReplyTimeout(kReplyTimeoutMs);

    // Down: reported once, the monitor rests, reopening is tried quietly.
    const double share = runWindow(1000);
    qInfo("CPU while the line is down: %.2f %% of one core", share * 100);
    QVERIFY2(share < kCpuShareBound, qPrintable(QString::number(share)));
    QVERIFY(b.terminal->scheduler().pollTimer().isHeld());
    emit b.form().Command3->clicked(); // an action meanwhile ends at once
    QCOMPARE(b.panel, QStringList{b.panelWith(kLost)});
    QVERIFY(b.prompter.shown.isEmpty());

    // Plugged in again, to another controller: the terminal reopens the line
    // by itself and goes on.
    KdxsimProcess second;
    QVERIFY(second.start({"--set", "P2=777", "--set", "P6=256"}));
    QVERIFY(plug(second.ptyPath()));
    QTRY_VERIFY_WITH_TIMEOUT(b.link().isOpen(), kPatienceMs);
    QCOMPARE(b.panel, (QStringList{b.panelWith(kLost), b.panelWith(QString())}));
    QVERIFY(!b.terminal->scheduler().pollTimer().isHeld());
    QVERIFY(b.readAllGives({" 1000", " 50", " 777", " 10", " 200", " 100", " 256", " 30"}));
    QVERIFY(b.link().problem().isEmpty());
}

QTEST_MAIN(TestE2eFaults)
#include "tst_e2e_faults.moc"
