// KDXparam.txt when the program dies in the middle of rewriting it: a
// writer is killed with SIGKILL at random moments, again and again, and the
// file must hold one whole list or the other every time.

#include "core/paramfile.h"
#include "core/safefilewriter.h"
#include "filebytes.h"
#include "rewritelists.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace kdx;

namespace {

constexpr int kKills = 300;
constexpr int kBudgetMs = 25000; // the loop stops early on a slow machine
constexpr int kPatienceMs = 10000;

} // namespace

class TestParamFileKill : public QObject {
    Q_OBJECT
private slots:
    void killedRewriteLeavesOneWholeList();
};

void TestParamFileKill::killedRewriteLeavesOneWholeList()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QString::fromUtf8(ParamFile::kFileName));
    ParamFile file(dir.path());
    const QByteArray lists[2] = {rewriteListBytes(0), rewriteListBytes(1)};

    // Kills fall anywhere within a few rewrites of the writer's start.
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 6; ++i)
        QVERIFY(file.rewrite(rewriteList(i % 2)));
    const qint64 rewriteUs = std::max<qint64>(clock.nsecsElapsed() / 6000, 100);
    QCOMPARE(fileBytes(path), lists[1]);

    QRandomGenerator random(20240601);
    int kills = 0;
    int held[2] = {0, 0};
    int leftovers = 0;
    clock.restart();
    while (kills < kKills && !clock.hasExpired(kBudgetMs)) {
        QProcess writer;
        writer.start(QStringLiteral(REWRITER_PATH), {dir.path()});
        QVERIFY(writer.waitForStarted(kPatienceMs));
        QVERIFY(writer.waitForReadyRead(kPatienceMs)); // "writing"
        QThread::usleep(random.bounded(quint32(3 * rewriteUs)));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(kPatienceMs));
        // Killed while still writing: no rewrite of its own failed.
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        ++kills;

        const QByteArray now = fileBytes(path);
        QVERIFY2(now == lists[0] || now == lists[1],
                 qPrintable(QStringLiteral("kill %1 left %2 bytes").arg(kills).arg(now.size())));
        ++held[now == lists[0] ? 0 : 1];

        // A killed writer leaves at most its own temporary file: the next
        // writer clears it away before it makes one of its own.
        const QStringList entries =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY2(entries.contains(QString::fromUtf8(ParamFile::kFileName)),
                 qPrintable(entries.join(u' ')));
        QVERIFY2(entries.size() <= 2, qPrintable(entries.join(u' ')));
        for (const QString &name : entries) {
            if (name != QString::fromUtf8(ParamFile::kFileName)) {
                QVERIFY2(SafeFileWriter::isTemporaryOf(name, ParamFile::kFileName),
                         qPrintable(name));
                ++leftovers;
            }
        }
    }
    qInfo("%d kills in %lld ms (one rewrite takes about %lld us): %d left list A, %d list B, "
          "%d left a temporary file",
          kills, clock.elapsed(), rewriteUs, held[0], held[1], leftovers);
    QVERIFY(kills > 0);

    // The next write of the program itself clears the last leftover away.
    QVERIFY(file.rewrite(rewriteList(0)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{ParamFile::kFileName});
    QCOMPARE(fileBytes(path), lists[0]);
}

QTEST_GUILESS_MAIN(TestParamFileKill)
#include "tst_paramfile_kill.moc"
