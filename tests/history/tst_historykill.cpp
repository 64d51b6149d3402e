// The history file when the program dies in the middle of writing it, when
// two terminals write into it at once, and when the disk refuses a write:
// every event a writer saw committed is there afterwards, and the file opens
// soundly.

#include "historyevents.h"
#include "operations/historystore.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

using namespace kdx;

namespace {

constexpr int kKills = 25;
constexpr int kPatienceMs = 30000;

// What a writer said it committed: "kept K" lines.
QSet<int> keptBy(const QByteArray &output, qint64 *session = nullptr)
{
    QSet<int> kept;
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith("kept "))
            kept.insert(line.mid(5).toInt());
        else if (line.startsWith("session ") && session)
            *session = line.mid(8).toLongLong();
    }
    return kept;
}

QSet<int> numbersIn(const HistoryStore &store, const QString &axis, qint64 session = 0)
{
    QSet<int> numbers;
    const AxisKey key{axis, QStringLiteral("/dev/ttyUSB0")};
    for (const HistoryEvent &e : store.timeline(&key, kAllKinds, 0, 1'000'000))
        if (session == 0 || e.session == session)
            numbers.insert(numberOf(e));
    return numbers;
}

} // namespace

class TestHistoryKill : public QObject {
    Q_OBJECT
private slots:
    void killedWriterLosesNothingCommitted();
    void twoWritersAtOnce();
    void diskRefusesAWrite();
};

void TestHistoryKill::killedWriterLosesNothingCommitted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    QRandomGenerator random(20261208);
    int committed = 0;
    int unsaid = 0; // committed, but killed before it could say so
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess writer;
        writer.start(QStringLiteral(HISTORYWRITER_PATH), {path, QStringLiteral("X")});
        QVERIFY(writer.waitForStarted(kPatienceMs));
        // Killed once it has begun to write, at a random point among its events.
        QElapsedTimer wait;
        wait.start();
        while (!writer.canReadLine() && !wait.hasExpired(kPatienceMs))
            writer.waitForReadyRead(100);
        QThread::msleep(random.bounded(5, 120));
        ::kill(pid_t(writer.processId()), SIGKILL);
        QVERIFY(writer.waitForFinished(kPatienceMs));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        qint64 session = 0;
        const QSet<int> said = keptBy(writer.readAllStandardOutput(), &session);
        QVERIFY(session > 0);

        // The next program run opens it soundly, and finds every event the
        // killed one saw committed (perhaps one more, committed as it died).
        HistoryStore next(path);
        QVERIFY2(next.isWritable(), qPrintable(next.problemText()));
        QVERIFY2(next.setAsidePath().isEmpty(), "a sound file was set aside");
        const QSet<int> found = numbersIn(next, QStringLiteral("X"), session);
        QVERIFY2(found.contains(said), qPrintable(QStringLiteral("kill %1: %2 said, %3 found")
                                                      .arg(kill)
                                                      .arg(said.size())
                                                      .arg(found.size())));
        QVERIFY(found.size() <= said.size() + 1);
        committed += int(found.size());
        unsaid += int(found.size() - said.size());
    }
    qInfo("%d kills, %d events committed before them (%d of them committed as the kill came)",
          kKills, committed, unsaid);
    QVERIFY(committed > 0);
}

void TestHistoryKill::twoWritersAtOnce()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    constexpr int kEach = 300;
    // Both start on a file that does not exist yet: each makes the schema
    // or finds it made by the other.
    QProcess a, b;
    a.start(QStringLiteral(HISTORYWRITER_PATH),
            {path, QStringLiteral("A"), QString::number(kEach)});
    b.start(QStringLiteral(HISTORYWRITER_PATH),
            {path, QStringLiteral("B"), QString::number(kEach)});
    for (QProcess *writer : {&a, &b}) {
        QVERIFY(writer->waitForFinished(120000));
        QVERIFY2(writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0,
                 writer->readAllStandardError().constData());
        QCOMPARE(keptBy(writer->readAllStandardOutput()).size(), kEach);
    }
    HistoryStore store(path);
    QVERIFY(store.isWritable());
    QSet<int> all;
    for (int k = 0; k < kEach; ++k)
        all.insert(k);
    QCOMPARE(numbersIn(store, QStringLiteral("A")), all);
    QCOMPARE(numbersIn(store, QStringLiteral("B")), all);
    QCOMPARE(store.count(), 2 * kEach);
}

void TestHistoryKill::diskRefusesAWrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    {
        HistoryStore first(path);
        QVERIFY(first.add(numberedEvent(QStringLiteral("X"), 0)) > 0);
    }
    // No file of the writer may grow past 1 MB: a write beyond is refused
    // by the system, as on a full disk.
    QProcess writer;
    writer.start(QStringLiteral(HISTORYWRITER_PATH),
                 {path, QStringLiteral("X"), QStringLiteral("5000"),
                  QStringLiteral("--limit-bytes"), QStringLiteral("1000000")});
    QVERIFY(writer.waitForFinished(120000));
    const QByteArray output = writer.readAllStandardOutput();
    QVERIFY2(writer.exitCode() == 0, writer.readAllStandardError().constData());
    QVERIFY2(output.contains("\nfull "), output.right(200).constData());
    qint64 session = 0;
    const QSet<int> said = keptBy(output, &session);
    QVERIFY2(said.size() > 10, output.right(200).constData());

    HistoryStore next(path);
    QVERIFY2(next.isWritable(), qPrintable(next.problemText()));
    QVERIFY(next.setAsidePath().isEmpty());
    QCOMPARE(numbersIn(next, QStringLiteral("X"), session), said);
    QVERIFY(next.add(numberedEvent(QStringLiteral("X"), 1)) > 0);
}

QTEST_GUILESS_MAIN(TestHistoryKill)
#include "tst_historykill.moc"
