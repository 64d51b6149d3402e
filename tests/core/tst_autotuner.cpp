#include "core/autotuner.h"
#include "core/tuninglogcsv.h"
#include "core/tuningsnapshot.h"
#include "syntheticaxis.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using kdx::AutoTuner;
using kdx::ParamNumbers;
using kdx::TuningOptions;
using kdx::TuningResult;
using Fault = SyntheticAxis::Fault;

Q_DECLARE_METATYPE(SyntheticAxis::Fault)

namespace {

TuningOptions options()
{
    TuningOptions o;
    o.testRanges = {
        {{10, 1000}, {1, 5000}, {1, 5000}, {1, 1000}, {1, 250}, {1, 9999}, {1, 4096}, {1, 1000}}};
    return o;
}

// Parameters the tuner changed by a test write, by index.
QSet<int> writtenParameters(const QStringList &journal)
{
    QSet<int> written;
    for (const QString &entry : journal) {
        if (entry.startsWith(u'W'))
            written.insert(entry.mid(1, 1).toInt());
    }
    return written;
}

} // namespace

class TestAutoTuner : public QObject {
    Q_OBJECT
private slots:
    void soundAxis_data();
    void soundAxis();
    void torqueCapIsLiftedAtTheEnd();
    void safety_data();
    void safety();
    void swingingCandidateIsThrownOut_data();
    void swingingCandidateIsThrownOut();
    void stepFitsTheLimit_data();
    void stepFitsTheLimit();
    void swingingGains_data();
    void swingingGains();
    void restoreFailsOnADeadLine();
    void untrustedSnapshotChangesNothing_data();
    void untrustedSnapshotChangesNothing();
    void restoreNeverWritesOutOfRange();
    void stepTooSmallForTheNoise();
    void snapshotFile_data();
    void snapshotFile();
    void snapshotFileOnDisk();
    void logCsvHasOneRowPerCandidate();
};

void TestAutoTuner::soundAxis_data()
{
    QTest::addColumn<double>("pScale");
    QTest::addColumn<double>("gainUnit");
    QTest::newRow("defaults") << 1.0 << 1.0;
    QTest::newRow("sluggish") << 0.2 << 1.0;
    QTest::newRow("ringing") << 5.0 << 1.0;
    QTest::newRow("gains act 10x weaker") << 1.0 << 0.1;
    QTest::newRow("gains act 10x stronger") << 1.0 << 10.0;
}

void TestAutoTuner::soundAxis()
{
    QFETCH(double, pScale);
    QFETCH(double, gainUnit);
    SyntheticAxis axis;
    axis.gainUnit = gainUnit;
    axis.params[2] = int(axis.params[2] * pScale);
    const ParamNumbers found = axis.params;

    AutoTuner tuner(options());
    int snapshotsBeforeWrites = 0;
    tuner.onSnapshot = [&](const ParamNumbers &p) {
        QCOMPARE(p, found);
        if (writtenParameters(axis.journal).isEmpty())
            ++snapshotsBeforeWrites;
    };
    const TuningResult r = tuner.run(axis);

    QVERIFY2(r.outcome != TuningResult::Outcome::Aborted, qPrintable(r.message));
    QCOMPARE(snapshotsBeforeWrites, 1);
    QCOMPARE(r.snapshot, found);
    // Only the gains it tunes, nothing else, and the axis holds what it reports.
    QVERIFY(writtenParameters(axis.journal).subtract({2, 3, 7}).isEmpty());
    QCOMPARE(axis.params, r.tuned);
    for (int n : {0, 1, 4, 5, 6})
        QCOMPARE(r.tuned[n], found[n]);
    QVERIFY(r.stepsUsed <= 200);
    QCOMPARE(r.stepsUsed, axis.stepsTaken);
    if (r.outcome == TuningResult::Outcome::Tuned) {
        // What it keeps beat the baseline on fresh steps.
        QVERIFY(r.result.cost < r.baseline.cost);
        QVERIFY(r.tuned != found);
    } else {
        QVERIFY(r.restored);
        QCOMPARE(r.tuned, found);
    }
    QVERIFY(!r.log.empty());
}

void TestAutoTuner::torqueCapIsLiftedAtTheEnd()
{
    SyntheticAxis axis;
    TuningOptions o = options();
    o.torqueCap = 120;
    AutoTuner tuner(o);
    const TuningResult r = tuner.run(axis);
    QVERIFY(r.outcome != TuningResult::Outcome::Aborted);
    // Capped before the first step, back to what it was after the last.
    const auto firstStep = axis.journal.indexOf(QRegularExpression(QStringLiteral("S.*")));
    const auto lastStep = axis.journal.lastIndexOf(QRegularExpression(QStringLiteral("S.*")));
    const auto capped = axis.journal.indexOf(QStringLiteral("W4=120"));
    QVERIFY(capped >= 0 && capped < firstStep);
    QVERIFY(axis.journal.lastIndexOf(QStringLiteral("W4=200")) > lastStep);
    QCOMPARE(axis.params[4], 200);
}

void TestAutoTuner::safety_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("atStep");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("error over the limit, baseline") << Fault::OverLimit << 1 << "túllépte";
    QTest::newRow("error over the limit, search") << Fault::OverLimit << 9 << "túllépte";
    QTest::newRow("rings on") << Fault::Rings << 8 << "leng";
    QTest::newRow("grows on") << Fault::Grows << 10 << "nő";
    QTest::newRow("no reply") << Fault::NoReply << 7 << "nem válaszol";
    QTest::newRow("operator stops") << Fault::Cancel << 12 << "leállította";
    QTest::newRow("time budget runs out") << Fault::Budget << 11 << "idő";
}

void TestAutoTuner::safety()
{
    QFETCH(Fault, fault);
    QFETCH(int, atStep);
    QFETCH(QString, messagePart);
    SyntheticAxis axis;
    axis.params[2] = 40; // sluggish: the search has plenty to try
    const ParamNumbers found = axis.params;
    axis.fault = fault;
    axis.faultAtStep = atStep;
    axis.faultSteps = 1000; // a swinging axis goes on swinging

    AutoTuner tuner(options());
    const TuningResult r = tuner.run(axis);

    QCOMPARE(r.outcome, TuningResult::Outcome::Aborted);
    QVERIFY2(r.message.contains(messagePart), qPrintable(r.message));
    // Nothing more moved after the fault (a swinging candidate only gets the
    // best gains checked once more), the motor was stopped, and what was
    // found is back in force, read back to make sure.
    const bool swinging = fault == Fault::Rings || fault == Fault::Grows;
    QCOMPARE(axis.stepsTaken, atStep + 1 + (swinging ? 1 : 0));
    QVERIFY(axis.stopsAfterFault >= 1);
    QVERIFY(r.restored);
    QCOMPARE(axis.params, found);
    QCOMPARE(r.tuned, found);
    QCOMPARE(axis.journal.last(), QStringLiteral("B"));
}

void TestAutoTuner::swingingCandidateIsThrownOut_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<bool>("baseline");
    QTest::newRow("candidate rings once") << Fault::Rings << false;
    QTest::newRow("candidate grows once") << Fault::Grows << false;
    QTest::newRow("the gains as found swing") << Fault::Rings << true;
}

void TestAutoTuner::swingingCandidateIsThrownOut()
{
    QFETCH(Fault, fault);
    QFETCH(bool, baseline);
    SyntheticAxis axis;
    axis.params[2] = 40;
    axis.fault = fault;
    axis.faultAtStep = baseline ? 0 : 8;
    AutoTuner tuner(options());
    const TuningResult r = tuner.run(axis);
    QVERIFY2(r.outcome != TuningResult::Outcome::Aborted, qPrintable(r.message));
    // Stopped right after the swinging step.
    const qsizetype swung = axis.journal.indexOf(QRegularExpression(QStringLiteral("S.*")), 0);
    qsizetype step = -1;
    for (int k = 0; k <= axis.faultAtStep; ++k)
        step = axis.journal.indexOf(QRegularExpression(QStringLiteral("S.*")), step + 1);
    QVERIFY(swung >= 0 && step >= 0);
    QCOMPARE(axis.journal.at(step + 1), QStringLiteral("X"));
    if (!baseline) {
        bool logged = false;
        for (const kdx::CandidateEntry &e : r.log)
            logged = logged || e.stage.contains(QStringLiteral("elvetve"));
        QVERIFY(logged);
    }
    QCOMPARE(axis.params, r.tuned);
}

void TestAutoTuner::stepFitsTheLimit_data()
{
    QTest::addColumn<double>("limitOverPeak"); // the limit against the full step's peak error
    QTest::addColumn<bool>("smaller");
    QTest::newRow("peak well inside the limit") << 4.0 << false;
    QTest::newRow("peak near the limit") << 1.2 << true;
}

void TestAutoTuner::stepFitsTheLimit()
{
    QFETCH(double, limitOverPeak);
    QFETCH(bool, smaller);
    TuningOptions o = options();
    double peak = 0;
    {
        SyntheticAxis probe;
        probe.params[2] = 40;
        for (double e : probe.step(o.stepSteps, o.windowMs, 1e9).error)
            peak = std::max(peak, std::fabs(e));
    }
    o.errorLimitCounts = limitOverPeak * peak;
    SyntheticAxis axis;
    axis.params[2] = 40;
    AutoTuner tuner(o);
    const TuningResult r = tuner.run(axis);

    QVERIFY2(r.outcome != TuningResult::Outcome::Aborted, qPrintable(r.message));
    QCOMPARE(r.stepSteps < o.stepSteps, smaller);
    QVERIFY(r.stepSteps >= o.stepSteps / 4);
    // Two quarter steps to look, then only the chosen step, its half and its double.
    const QStringList steps = axis.journal.filter(QRegularExpression(QStringLiteral("^S")));
    QCOMPARE(steps.mid(0, 2), QStringList({QStringLiteral("S+%1").arg(o.stepSteps / 4),
                                           QStringLiteral("S-%1").arg(o.stepSteps / 4)}));
    for (const QString &s : steps.mid(2)) {
        const int n = std::abs(s.mid(1).toInt());
        QVERIFY2(n == r.stepSteps || n == r.stepSteps / 2 || n == 2 * r.stepSteps, qPrintable(s));
    }
    QVERIFY(r.message.contains(QStringLiteral("A lépés")) == smaller);
}

void TestAutoTuner::swingingGains_data()
{
    QTest::addColumn<int>("startP");
    QTest::addColumn<int>("swingAboveP");
    QTest::addColumn<bool>("onlyAtHalfStep");
    QTest::addColumn<int>("fromStep");
    QTest::addColumn<double>("gainUnit");
    QTest::newRow("the gains as found swing") << 1000 << 400 << false << 0 << 1.0;
    QTest::newRow("higher gains swing") << 200 << 250 << false << 0 << 1.0;
    QTest::newRow("higher gains swing at half the step") << 200 << 250 << true << 0 << 1.0;
    // The axis changes under the search: the best found, and the one that
    // led before it, swing when stepped again.
    QTest::newRow("higher gains begin to swing") << 100 << 200 << false << 40 << 0.25;
}

void TestAutoTuner::swingingGains()
{
    QFETCH(int, startP);
    QFETCH(int, swingAboveP);
    QFETCH(bool, onlyAtHalfStep);
    QFETCH(int, fromStep);
    QFETCH(double, gainUnit);
    SyntheticAxis axis;
    axis.gainUnit = gainUnit;
    axis.params[2] = startP;
    axis.swingAboveP = swingAboveP;
    axis.swingFromStep = fromStep;
    const TuningOptions o = options();
    if (onlyAtHalfStep)
        axis.swingBelowSteps = o.stepSteps;
    const ParamNumbers found = axis.params;
    AutoTuner tuner(o);
    const TuningResult r = tuner.run(axis);

    // Swinging gains are the search's edge, not a reason to give up: what is
    // left in force holds still at every step size it was tried with.
    QVERIFY2(r.outcome != TuningResult::Outcome::Aborted, qPrintable(r.message));
    QCOMPARE(axis.params, r.tuned);
    if (r.outcome == TuningResult::Outcome::Tuned)
        QVERIFY2(r.tuned[2] <= swingAboveP, qPrintable(r.message));
    else
        QCOMPARE(r.tuned, found);
    QList<ParamNumbers> swung;
    for (const kdx::CandidateEntry &e : r.log) {
        if (!e.stage.contains(QStringLiteral("leng")))
            continue;
        QVERIFY2(!swung.contains(e.params), "a candidate that swung was tried again");
        swung << e.params;
        // Gains as found that swing come down in P and I; the damping stays.
        if (e.stage.startsWith(QStringLiteral("Lengés csillapítása")))
            QCOMPARE(e.params[7], found[7]);
    }
}

void TestAutoTuner::restoreFailsOnADeadLine()
{
    SyntheticAxis axis;
    axis.params[2] = 40;
    axis.fault = Fault::NoReply;
    axis.faultAtStep = 9;
    axis.deadAfterFault = true;
    AutoTuner tuner(options());
    const TuningResult r = tuner.run(axis);
    QCOMPARE(r.outcome, TuningResult::Outcome::Aborted);
    // The caller keeps the snapshot file for the next start.
    QVERIFY(!r.restored);
    QVERIFY(r.snapshotKnown);
    QCOMPARE(r.snapshot[2], 40);
}

void TestAutoTuner::untrustedSnapshotChangesNothing_data()
{
    QTest::addColumn<QList<ParamNumbers>>("misreads");
    QTest::addColumn<bool>("windowDiffers");
    QTest::addColumn<QString>("says");
    const ParamNumbers sound{1000, 50, 200, 10, 200, 100, 1024, 30};
    ParamNumbers pollAsP0 = sound;
    pollAsP0[0] = 0;
    QTest::newRow("a poll's answer taken for P0, twice")
        << QList<ParamNumbers>{pollAsP0, pollAsP0} << false << "P0 = 0 (megengedett: 10-1000)";
    QTest::newRow("the two reads differ")
        << QList<ParamNumbers>{pollAsP0} << false << "P0 = 0, majd 1000";
    QTest::newRow("the window shows another value")
        << QList<ParamNumbers>{} << true << "P2 a vezérlőben 200, az ablakban 201";
}

void TestAutoTuner::untrustedSnapshotChangesNothing()
{
    QFETCH(QList<ParamNumbers>, misreads);
    QFETCH(bool, windowDiffers);
    QFETCH(QString, says);
    SyntheticAxis axis;
    axis.params = {1000, 50, 200, 10, 200, 100, 1024, 30};
    axis.misreads = misreads;
    TuningOptions o = options();
    o.torqueCap = 100; // would be the first write
    o.shown = axis.params;
    if (windowDiffers)
        (*o.shown)[2] = 201;
    AutoTuner tuner(o);
    bool kept = false;
    tuner.onSnapshot = [&](const ParamNumbers &) { kept = true; };
    const TuningResult r = tuner.run(axis);

    QCOMPARE(r.outcome, TuningResult::Outcome::Aborted);
    QVERIFY2(r.message.contains(says), qPrintable(r.message));
    QVERIFY(r.message.contains(QStringLiteral("nem indul")));
    // Nothing written, no step, no snapshot kept: nothing to restore.
    QVERIFY(writtenParameters(axis.journal).isEmpty());
    QCOMPARE(axis.stepsTaken, 0);
    QVERIFY(!kept);
    QVERIFY(!r.snapshotKnown);
}

void TestAutoTuner::restoreNeverWritesOutOfRange()
{
    SyntheticAxis axis;
    axis.params = {1000, 50, 300, 10, 200, 100, 1024, 30};
    ParamNumbers wrong = axis.params;
    wrong[2] = 200;
    wrong[7] = 0;
    QVERIFY(!AutoTuner::restore(axis, wrong, options().testRanges));
    // Not even the sound value goes back on its own.
    QVERIFY(writtenParameters(axis.journal).isEmpty());
    QCOMPARE(axis.params[7], 30);
}

void TestAutoTuner::stepTooSmallForTheNoise()
{
    SyntheticAxis axis;
    TuningOptions o = options();
    o.stepSteps = 10; // fewer counts than 50 × the half-count noise floor
    AutoTuner tuner(o);
    const TuningResult r = tuner.run(axis);
    QCOMPARE(r.outcome, TuningResult::Outcome::Aborted);
    QCOMPARE(axis.stepsTaken, 0);
    QVERIFY(r.restored);
}

void TestAutoTuner::snapshotFile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("ok");
    const ParamNumbers p{1000, 50, 200, 10, 200, 100, 1024, 30};
    QTest::newRow("written by the program") << kdx::snapshotText(p) << true;
    QTest::newRow("CR LF and blanks") << QByteArray("P0=1000\r\nP1=50\r\n P2=200\nP3=10\nP4=200\n"
                                                    "P5=100\nP6=1024\nP7=30 \n")
                                      << true;
    QTest::newRow("one missing") << QByteArray("P0=1000\nP1=50\nP2=200\nP3=10\nP4=200\nP5=100\n"
                                               "P6=1024\n")
                                 << false;
    QTest::newRow("twice") << QByteArray("P0=1000\nP0=1000\nP1=50\nP2=200\nP3=10\nP4=200\n"
                                         "P5=100\nP6=1024\nP7=30\n")
                           << false;
    QTest::newRow("not a number") << QByteArray("P0=1000\nP1=5x0\nP2=200\nP3=10\nP4=200\n"
                                                "P5=100\nP6=1024\nP7=30\n")
                                  << false;
    QTest::newRow("cut short") << kdx::snapshotText(p).left(40) << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestAutoTuner::snapshotFile()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, ok);
    const auto p = kdx::parseSnapshot(text);
    QCOMPARE(p.has_value(), ok);
    if (ok)
        QCOMPARE(*p, (ParamNumbers{1000, 50, 200, 10, 200, 100, 1024, 30}));
}

void TestAutoTuner::snapshotFileOnDisk()
{
    QTemporaryDir dir;
    const kdx::TuningSnapshotFile file(dir.path());
    QVERIFY(!file.exists());
    QVERIFY(!file.load());
    const ParamNumbers p{900, 40, 180, 12, 150, 90, 512, 25};
    QVERIFY(file.save(p));
    QVERIFY(file.exists());
    QCOMPARE(*file.load(), p);
    file.remove();
    QVERIFY(!file.exists());
}

void TestAutoTuner::logCsvHasOneRowPerCandidate()
{
    SyntheticAxis axis;
    axis.params[2] = 40;
    AutoTuner tuner(options());
    int seen = 0;
    tuner.onCandidate = [&](const kdx::CandidateEntry &) { ++seen; };
    const TuningResult r = tuner.run(axis);
    QCOMPARE(seen, int(r.log.size()));
    const QList<QByteArray> lines = kdx::tuningLogToCsv(r.log).trimmed().split('\n');
    QCOMPARE(lines.size(), int(r.log.size()) + 1);
    QVERIFY(lines[0].startsWith("index,stage,P1,P2,P3,P4,P7"));
    QVERIFY(lines[1].startsWith("1,\"Kiinduló\",50,40,10,200,30,"));
}

QTEST_APPLESS_MAIN(TestAutoTuner)
#include "tst_autotuner.moc"
