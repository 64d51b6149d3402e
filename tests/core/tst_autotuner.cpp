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
using kdx::TuningAim;
using kdx::TuningResult;
using kdx::aimOvershootPct;
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
    void swingingStepIsStoppedAtOnce_data();
    void swingingStepIsStoppedAtOnce();
    void stepFitsTheLimit_data();
    void stepFitsTheLimit();
    void aimComesFirst_data();
    void aimComesFirst();
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
    QTest::addColumn<int>("aim");
    QTest::newRow("defaults") << 1.0 << 1.0 << int(TuningAim::Balanced);
    QTest::newRow("sluggish") << 0.2 << 1.0 << int(TuningAim::Balanced);
    QTest::newRow("ringing") << 5.0 << 1.0 << int(TuningAim::Balanced);
    QTest::newRow("ringing, no overshoot") << 5.0 << 1.0 << int(TuningAim::NoOvershoot);
    QTest::newRow("gains act 10x weaker") << 1.0 << 0.1 << int(TuningAim::Balanced);
    QTest::newRow("gains act 10x stronger") << 1.0 << 10.0 << int(TuningAim::Balanced);
}

void TestAutoTuner::soundAxis()
{
    QFETCH(double, pScale);
    QFETCH(double, gainUnit);
    QFETCH(int, aim);
    SyntheticAxis axis;
    axis.gainUnit = gainUnit;
    axis.params[2] = int(axis.params[2] * pScale);
    const ParamNumbers found = axis.params;

    TuningOptions o = options();
    o.aim = TuningAim(aim);
    AutoTuner tuner(o);
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
    QCOMPARE(r.stepsUsed, axis.stepsTaken);
    // The model describes this axis: it is used, and its fit shows.
    QVERIFY2(r.fitErrorPct < 20, qPrintable(QString::number(r.fitErrorPct)));
    QCOMPARE(r.fitMeasured.size(), r.fitPredicted.size());
    QVERIFY(!r.fitMeasured.empty());
    const double aimPct = aimOvershootPct(TuningAim(aim));
    QVERIFY2(r.aimMet, qPrintable(r.message));
    if (r.outcome == TuningResult::Outcome::Tuned) {
        // The aim first, at every size; then never slower than gains as
        // found that kept it too.
        QVERIFY(r.result.settles);
        QVERIFY(r.result.overshootPct <= aimPct + 1);
        QCOMPARE(r.result.steps, 6);
        if (r.baselineMeetsAim)
            QVERIFY(r.result.itae <= r.baseline.itae);
        QVERIFY(r.tuned != found);
        QVERIFY(r.pMargin > 1);
    } else {
        QVERIFY(r.baselineMeetsAim);
        QVERIFY(r.restored);
        QCOMPARE(r.tuned, found);
    }
    QVERIFY(!r.log.empty());
}

void TestAutoTuner::torqueCapIsLiftedAtTheEnd()
{
    SyntheticAxis axis;
    axis.params[2] = 1000; // overshoots: the gains as found do not keep the aim
    TuningOptions o = options();
    o.torqueCap = 120;
    AutoTuner tuner(o);
    const TuningResult r = tuner.run(axis);
    QCOMPARE(r.outcome, TuningResult::Outcome::Tuned);
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
    // Steps 0-1 choose the step, 2-7 measure the gains as found, 8-13 verify.
    QTest::newRow("error over the limit, choosing the step") << Fault::OverLimit << 1 << "túllépte";
    QTest::newRow("error over the limit, verifying") << Fault::OverLimit << 9 << "túllépte";
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
    axis.params[2] = 1000; // the gains as found miss the aim: a design is verified
    const ParamNumbers found = axis.params;
    axis.fault = fault;
    axis.faultAtStep = atStep;

    AutoTuner tuner(options());
    const TuningResult r = tuner.run(axis);

    QCOMPARE(r.outcome, TuningResult::Outcome::Aborted);
    QVERIFY2(r.message.contains(messagePart), qPrintable(r.message));
    // Nothing more moved after the fault, the motor was stopped, and what
    // was found is back in force, read back to make sure.
    QCOMPARE(axis.stepsTaken, atStep + 1);
    QVERIFY(axis.stopsAfterFault >= 1);
    QVERIFY(r.restored);
    QCOMPARE(axis.params, found);
    QCOMPARE(r.tuned, found);
    QVERIFY(!r.aimMet);
    QCOMPARE(axis.journal.last(), QStringLiteral("B"));
}

void TestAutoTuner::swingingStepIsStoppedAtOnce_data()
{
    QTest::addColumn<int>("atStep");
    QTest::addColumn<int>("forSteps");
    QTest::newRow("the designed gains swing once") << 8 << 1;
    QTest::newRow("the gains as found swing") << 2 << 6;
    QTest::newRow("choosing the step swings") << 0 << 1;
}

void TestAutoTuner::swingingStepIsStoppedAtOnce()
{
    QFETCH(int, atStep);
    QFETCH(int, forSteps);
    SyntheticAxis axis;
    axis.params[2] = 1000;
    axis.fault = Fault::Grows;
    axis.faultAtStep = atStep;
    axis.faultSteps = forSteps;
    AutoTuner tuner(options());
    const TuningResult r = tuner.run(axis);
    QVERIFY2(r.outcome != TuningResult::Outcome::Aborted, qPrintable(r.message));
    // The motor stopped right after the swinging step, and nothing else
    // moved with those gains.
    qsizetype step = -1;
    for (int k = 0; k <= atStep; ++k)
        step = axis.journal.indexOf(QRegularExpression(QStringLiteral("S.*")), step + 1);
    QVERIFY(step >= 0);
    QCOMPARE(axis.journal.at(step + 1), QStringLiteral("X"));
    QCOMPARE(axis.params, r.tuned);
    if (r.outcome == TuningResult::Outcome::Tuned)
        QVERIFY(r.result.settles);
}

void TestAutoTuner::stepFitsTheLimit_data()
{
    QTest::addColumn<double>("limitOverPeak"); // the limit against the full step's peak error
    QTest::addColumn<bool>("smaller");
    QTest::newRow("twice the step well inside the limit") << 8.0 << false;
    QTest::newRow("twice the step near the limit") << 1.5 << true;
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
    // Two quarter steps to look, then only the chosen step, its half and its double.
    const QStringList steps = axis.journal.filter(QRegularExpression(QStringLiteral("^S")));
    QCOMPARE(steps.mid(0, 2), QStringList({QStringLiteral("S+%1").arg(o.stepSteps / 4),
                                           QStringLiteral("S-%1").arg(o.stepSteps / 4)}));
    for (const QString &s : steps.mid(2)) {
        const int n = std::abs(s.mid(1).toInt());
        QVERIFY2(std::abs(n - r.stepSteps) <= 1 || std::abs(2 * n - r.stepSteps) <= 1 ||
                     std::abs(n - 2 * r.stepSteps) <= 1,
                 qPrintable(s));
    }
    QVERIFY(r.message.contains(QStringLiteral("A lépés")) == smaller);
}

void TestAutoTuner::aimComesFirst_data()
{
    QTest::addColumn<double>("bump");
    QTest::addColumn<int>("startP");
    QTest::addColumn<bool>("found");
    QTest::newRow("the gains as found overshoot: a slower result that keeps the aim")
        << 0.0 << 1000 << true;
    QTest::newRow("no gains keep the aim") << 120.0 << 200 << false;
}

void TestAutoTuner::aimComesFirst()
{
    QFETCH(double, bump);
    QFETCH(int, startP);
    QFETCH(bool, found);
    SyntheticAxis axis;
    axis.params[2] = startP;
    axis.bumpCounts = bump;
    const ParamNumbers start = axis.params;
    AutoTuner tuner(options());
    const TuningResult r = tuner.run(axis);
    QVERIFY2(r.outcome != TuningResult::Outcome::Aborted, qPrintable(r.message));
    QVERIFY(!r.baselineMeetsAim);
    QCOMPARE(r.aimMet, found);
    if (found) {
        QCOMPARE(r.outcome, TuningResult::Outcome::Tuned);
        QVERIFY(r.result.overshootPct <= aimOvershootPct(TuningAim::Balanced) + 1);
        return;
    }
    // It says so, shows the closest, and the gains as found go back.
    QCOMPARE(r.outcome, TuningResult::Outcome::NoBetter);
    QVERIFY(r.message.contains(QStringLiteral("legközelebbi")));
    QVERIFY(r.closest != ParamNumbers{});
    QVERIFY(r.restored);
    QCOMPARE(axis.params, start);
    // At most two corrections after the first design.
    int designs = 0;
    for (const kdx::CandidateEntry &e : r.log)
        designs += e.stage.startsWith(QStringLiteral("Tervezett")) ||
                   e.stage.startsWith(QStringLiteral("Javított"));
    QVERIFY(designs >= 1 && designs <= 3);
    QVERIFY(r.corrections <= 2);
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
    QVERIFY(lines[0].contains(",settled,"));
}

QTEST_APPLESS_MAIN(TestAutoTuner)
#include "tst_autotuner.moc"
