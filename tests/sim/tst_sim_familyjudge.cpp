// The yardstick of kdxbench --tune-family: judging gains on an axis, the
// search for the best gains, and the file that keeps what it found.

#include "familyjudge.h"
#include "plant.h"
#include "referencesearch.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kdx;
using namespace kdx::family;

class TestSimFamilyJudge : public QObject {
    Q_OBJECT
private slots:
    void limitsOnlyStopEarly_data()
    {
        QTest::addColumn<QString>("axis");
        QTest::addColumn<Gains>("gains");
        QTest::newRow("nominal, factory gains") << "nominal" << Gains{};
        QTest::newRow("heavy, suggested") << "heavy" << Gains{600, 5, 250};
        QTest::newRow("a random axis") << "random:5" << Gains{128, 1, 32};
    }
    void limitsOnlyStopEarly()
    {
        // Limits that the gains stay within change no figure; an ITAE
        // budget below the gains' own, or an aim they break, stops the
        // judging before its end.
        QFETCH(QString, axis);
        QFETCH(Gains, gains);
        const sim::Plant plant = *sim::plantFor(axis);
        const Judgement free = judgeGains(plant, gains, 1000);
        QVERIFY(free.complete);
        QVERIFY(free.settledEverywhere());
        JudgeLimits loose;
        loose.stopBeyondAimPct = free.worstOvershootPct + 0.1;
        loose.itaeBudget = free.itae * 1.0001;
        const Judgement limited = judgeGains(plant, gains, 1000, loose);
        QVERIFY(limited.complete);
        QCOMPARE(limited.itae, free.itae);
        QCOMPARE(limited.worstOvershootPct, free.worstOvershootPct);
        for (size_t k = 0; k < free.steps.size(); ++k)
            QCOMPARE(limited.steps[k].settlingTimeMs, free.steps[k].settlingTimeMs);

        JudgeLimits tight = loose;
        tight.itaeBudget = free.itae * 0.99;
        QVERIFY(!judgeGains(plant, gains, 1000, tight).complete);
        if (free.worstOvershootPct > 1) {
            JudgeLimits strict;
            strict.stopBeyondAimPct = free.worstOvershootPct - 1;
            QVERIFY(!judgeGains(plant, gains, 1000, strict).complete);
        }
    }

    void aimAllowsOneCountOfNoise_data()
    {
        QTest::addColumn<double>("passCounts"); // how far each step passes its goal
        QTest::addColumn<double>("aimPct");
        QTest::addColumn<double>("slack");
        QTest::addColumn<bool>("within");
        QTest::newRow("never passes") << 0.0 << 0.0 << 0.0 << true;
        QTest::newRow("one count is noise") << 1.0 << 0.0 << 0.0 << true;
        QTest::newRow("two counts are not") << 2.0 << 0.0 << 0.0 << false;
        // 5 % of the half step (500 counts) is 25 counts.
        QTest::newRow("5 % and a count of the half step") << 26.0 << 5.0 << 0.0 << true;
        QTest::newRow("beyond it") << 27.0 << 5.0 << 0.0 << false;
        QTest::newRow("with 2 points of slack") << 36.0 << 5.0 << 2.0 << true;
    }
    void aimAllowsOneCountOfNoise()
    {
        QFETCH(double, passCounts);
        QFETCH(double, aimPct);
        QFETCH(double, slack);
        QFETCH(bool, within);
        Judgement j;
        const double sizes[] = {1000, -1000, 500, -500, 2000, -2000};
        for (size_t k = 0; k < 6; ++k) {
            j.steps[k].valid = true;
            j.steps[k].stepCounts = sizes[k];
            // The smallest steps pass by as much; the others by less.
            j.steps[k].overshootPct = passCounts / (std::abs(sizes[k]) == 500 ? 500 : 4000) * 100;
        }
        QCOMPARE(j.withinAim(aimPct, slack), within);
    }

    void referenceBeatsKnownGains_data()
    {
        QTest::addColumn<QString>("axis");
        QTest::addColumn<double>("aimPct");
        QTest::addColumn<Gains>("known"); // gains that meet the aim there
        QTest::newRow("nominal, balanced") << "nominal" << 5.0 << Gains{600, 10, 80};
        QTest::newRow("heavy, balanced") << "heavy" << 5.0 << Gains{600, 5, 250};
        QTest::newRow("sticky, no overshoot") << "sticky" << 0.0 << Gains{1448, 4, 256};
    }
    void referenceBeatsKnownGains()
    {
        QFETCH(QString, axis);
        QFETCH(double, aimPct);
        QFETCH(Gains, known);
        const sim::Plant plant = *sim::plantFor(axis);
        const Judgement k = judgeGains(plant, known, 1000);
        QVERIFY(k.meets(aimPct));
        const Reference ref = findReference(plant, aimPct, 1000);
        QVERIFY(ref.found);
        QVERIFY(ref.judgement.meets(aimPct));
        QVERIFY2(ref.judgement.itae <= k.itae,
                 qPrintable(QStringLiteral("%1 against %2").arg(ref.judgement.itae).arg(k.itae)));
        QVERIFY(ref.gains.p >= 1 && ref.gains.p <= 5000 && ref.gains.i >= 1 &&
                ref.gains.i <= 1000 && ref.gains.d >= 1 && ref.gains.d <= 1000);
    }

    void noReferenceWhereNothingSettles()
    {
        sim::Plant stuck;
        stuck.breakaway = 100000; // no duty moves it
        const Reference ref = findReference(stuck, 5, 1000);
        QVERIFY(!ref.found);
    }

    void cacheKeepsAndChecksItsEntries()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("references.txt"));
        Reference first;
        {
            ReferenceCache cache(path);
            first = cache.reference(5, 5, 1000);
            QCOMPARE(cache.searched(), 1);
        }
        {
            ReferenceCache cache(path);
            const Reference again = cache.reference(5, 5, 1000);
            QCOMPARE(cache.hits(), 1);
            QCOMPARE(again.found, first.found);
            QVERIFY(again.gains == first.gains);
            QCOMPARE(again.judgement.itae, first.judgement.itae);
        }
        // An entry whose gains no longer judge as stored (the axis model or
        // the judge changed since) is searched again.
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray text = file.readAll();
        file.close();
        const qsizetype tab = text.lastIndexOf('\t');
        text = text.left(tab + 1) + "12345.5\n";
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        ReferenceCache cache(path);
        const Reference searched = cache.reference(5, 5, 1000);
        QCOMPARE(cache.hits(), 0);
        QCOMPARE(cache.searched(), 1);
        QVERIFY(searched.gains == first.gains);
    }
};

Q_DECLARE_METATYPE(kdx::family::Gains)

QTEST_GUILESS_MAIN(TestSimFamilyJudge)
#include "tst_sim_familyjudge.moc"
