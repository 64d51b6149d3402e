// Operations that take the line while the monitor polls: tunings, step
// captures and read-alls started at random moments of a running poll,
// against kdxsim over the real serial path. Each time, the values read must
// be what the controller holds, and after a tuning is stopped the
// controller holds exactly what it held before. kdxsim's own account of its
// values ("values" on its command input) is the judge, not the terminal.

#include "app/terminal.h"
#include "app/tuningcontroller.h"
#include "core/capture.h"
#include "kdxsimprocess.h"
#include "link/seriallink.h"
#include "link/serialportopener.h"
#include "operations/paramrows.h"
#include "operations/scheduler.h"
#include "operations/stepcapture.h"
#include "operations/tuningrun.h"
#include "scriptedprompter.h"
#include "widgets/form1.h"

#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kdx;

namespace {

constexpr int kPatienceMs = 60000; // a deadline for what must happen, never a measure
constexpr int kTrials = 60;
// Every parameter a value of its own, so that one taken for another shows.
const QList<int> kHeld{900, 51, 202, 13, 204, 105, 1024, 37};

QStringList presets()
{
    QStringList args;
    for (int n = 0; n < kHeld.size(); ++n)
        args << QStringLiteral("--set") << QStringLiteral("P%1=%2").arg(n).arg(kHeld[n]);
    return args;
}

QList<int> shown(Terminal &t)
{
    QList<int> values;
    for (int n = 0; n < 8; ++n)
        values << t.rows().current(n).text().trimmed().toInt();
    return values;
}

} // namespace

class TestE2eHandover : public QObject {
    Q_OBJECT
private slots:
    void operationsStartedDuringPolls();
};

void TestE2eHandover::operationsStartedDuringPolls()
{
    QTemporaryDir folder;
    KdxsimProcess sim;
    QVERIFY(sim.start(QStringList{"--commands", "--time-scale", "4"} + presets()));
    SerialPortOpener opener(sim.ptyPath());
    ScriptedPrompter prompter;
    TerminalOptions options;
    options.opener = &opener;
    options.prompter = &prompter;
    options.paramFolder = folder.path();
    options.reconnectIntervalMs = 0;
    options.replyTimeoutMs = 1000;
    Terminal terminal(options);
    QVERIFY(terminal.start());
    terminal.run([&] { terminal.onFirstShown(); });
    QCOMPARE(shown(terminal), kHeld);
    prompter.clear(); // the new parameter file's note
    Form1 &f = terminal.form();
    TuningController &tuning = terminal.tuning();
    QRandomGenerator random(20261208);

    int tunings = 0, captures = 0, reads = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        const QByteArray what = QByteArray("trial ") + QByteArray::number(trial);
        // The monitor polls for a while; the operation starts in the middle
        // of whatever the poll is doing then.
        QTest::qWait(int(random.bounded(2, 25)));
        const int delay = int(random.bounded(0, 4));
        bool done = false;
        switch (trial % 3) {
        case 0: {
            // Stopped once the snapshot is taken; now and then only after the
            // first candidate has been written.
            const bool late = trial % 15 == 0;
            QMetaObject::Connection stopper;
            if (late)
                stopper =
                    connect(&tuning.tuning(), &TuningRun::candidate, &f, [&] { tuning.stop(); });
            else
                stopper = connect(&tuning.tuning(), &TuningRun::progress, &f,
                                  [&](const TuningProgress &p) {
                                      if (p.stage != QStringLiteral("Paraméterek kiolvasása"))
                                          tuning.stop();
                                  });
            const auto finished =
                connect(&tuning.tuning(), &TuningRun::finished, &f, [&] { done = true; });
            TuningOptions o;
            o.windowMs = 250;
            QTimer::singleShot(delay, &f, [&tuning, o] { tuning.start(o); });
            QTRY_VERIFY_WITH_TIMEOUT(done, kPatienceMs);
            disconnect(stopper);
            disconnect(finished);
            const TuningResult r = *tuning.tuning().last();
            QVERIFY2(r.snapshotKnown, qPrintable(what + ": " + r.message.toUtf8()));
            QCOMPARE(QList<int>(r.snapshot.begin(), r.snapshot.end()), kHeld);
            QVERIFY2(r.restored, what.constData());
            ++tunings;
            break;
        }
        case 1: {
            Capture c;
            QTimer::singleShot(delay, &f, [&] {
                terminal.runOwningLine([&] { c = terminal.stepCapture().run(200, 60); },
                                       [&] { done = true; });
            });
            QTRY_VERIFY_WITH_TIMEOUT(done, kPatienceMs);
            QVERIFY2(c.record.complete, what.constData());
            QCOMPARE(QList<int>(c.params.begin(), c.params.end()), kHeld);
            ++captures;
            break;
        }
        default: {
            for (int n = 0; n < 8; ++n)
                terminal.rows().current(n).clear();
            QTimer::singleShot(delay, &f, [&] {
                emit f.Command3->clicked();
                done = true;
            });
            QTRY_VERIFY_WITH_TIMEOUT(done && !terminal.scheduler().isBusy(), kPatienceMs);
            QCOMPARE(shown(terminal), kHeld);
            ++reads;
            break;
        }
        }
        // Whatever ran, the controller holds what it held.
        QCOMPARE(sim.values(), kHeld);
        QVERIFY2(terminal.link().problem().isEmpty(), qPrintable(terminal.link().problem()));
    }
    QVERIFY(tunings >= 20 && captures >= 20 && reads >= 20);
    QVERIFY2(prompter.shown.isEmpty(), qPrintable(prompter.texts().join(u'|')));
}

QTEST_MAIN(TestE2eHandover)
#include "tst_e2e_handover.moc"
