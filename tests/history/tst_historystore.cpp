// The history file: what goes in comes back, a file that is not a sound
// database is set aside and a new one started, a file that cannot be
// written is said once and the terminal works on, a full disk keeps what was
// committed, and two writers keep both histories.

#include "historyevents.h"
#include "operations/historyrecorder.h"
#include "operations/historystore.h"

#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace kdx;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

// A history of `count` numbered events on one axis, closed again.
void fillHistory(const QString &path, int count, const QString &axis = QStringLiteral("X"))
{
    HistoryStore store(path);
    QVERIFY(store.isWritable());
    for (int k = 0; k < count; ++k)
        QVERIFY(store.add(numberedEvent(axis, k)) > 0);
}

std::vector<HistoryEvent> everything(const HistoryStore &store)
{
    return store.timeline(nullptr, kAllKinds, 0, 1'000'000);
}

// Holds the file's write lock from another connection until it goes.
class LockHolder {
public:
    explicit LockHolder(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kName);
        db.setDatabaseName(path);
        m_locked = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~LockHolder()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(kName);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(kName);
    }
    bool locked() const { return m_locked; }

private:
    static inline const QString kName = QStringLiteral("lock-holder");
    bool m_locked = false;
};

} // namespace

class TestHistoryStore : public QObject {
    Q_OBJECT
private slots:
    void eventsComeBackAsKept();
    void timelineByAxisKindAndPage();
    void unsoundFileIsSetAside_data();
    void unsoundFileIsSetAside();
    void unusableFileIsToldOnce_data();
    void unusableFileIsToldOnce();
    void fullDiskKeepsWhatWasCommitted();
    void twoConnectionsKeepBothHistories();
};

void TestHistoryStore::eventsComeBackAsKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    HistoryStore store(path);
    QVERIFY2(store.isWritable(), qPrintable(store.problemText()));
    QVERIFY(store.session() > 0);

    std::vector<HistoryEvent> kept;
    for (int k = 0; k < 4; ++k) {
        HistoryEvent e = numberedEvent(QStringLiteral("3. gép, X tengely"), k, 1000);
        e.at = QDateTime(QDate(2026, 12, 8), QTime(9, 15, k, 250 + k));
        e.id = store.add(e);
        QVERIFY(e.id > 0);
        kept.push_back(e);
    }
    // A write whose read-back never came, on an axis with no name: the value
    // sent is kept, the read-back is not known.
    HistoryEvent lost = numberedEvent(QString(), 5);
    lost.readBack.clear();
    lost.set[5].clear();
    lost.id = store.add(lost);
    kept.push_back(lost);
    // A restore after a tuning has no message and no log.
    HistoryEvent restore = numberedEvent(QString(), 6);
    restore.tuning->message = QString();
    restore.tuning->logCsv.clear();
    restore.message.clear();
    restore.id = store.add(restore);
    kept.push_back(restore);

    for (const HistoryEvent &want : kept) {
        QVERIFY2(want.id > 0, qPrintable(store.problemText()));
        const std::optional<HistoryEvent> got = store.event(want.id);
        QVERIFY(got);
        QCOMPARE(got->kind, want.kind);
        QCOMPARE(got->session, store.session());
        QCOMPARE(got->axis, want.axis);
        QVERIFY(got->set == want.set);
        if (want.at.isValid())
            QCOMPARE(got->at, want.at);
        QCOMPARE(got->param, want.param);
        QCOMPARE(got->before, want.before);
        QCOMPARE(got->sent, want.sent);
        QCOMPARE(got->readBack, want.readBack);
        QCOMPARE(got->stored, want.stored);
        QCOMPARE(got->capture.has_value(), want.kind == HistoryKind::Capture);
        if (want.capture) {
            // The whole record, to the last digit.
            QCOMPARE(got->readings, 1000);
            QVERIFY(got->capture->record.tMs == want.capture->record.tMs);
            QVERIFY(got->capture->record.error == want.capture->record.error);
            QVERIFY(got->capture->params == want.capture->params);
            QCOMPARE(got->capture->takenAt, want.capture->takenAt);
        }
        QCOMPARE(got->tuning.has_value(), want.kind == HistoryKind::Tuning);
        if (want.tuning) {
            QCOMPARE(got->tuning->options, want.tuning->options);
            QCOMPARE(got->tuning->result, want.tuning->result);
            QCOMPARE(got->tuning->logCsv, want.tuning->logCsv);
            QCOMPARE(got->message, want.tuning->message);
        }
    }
    QVERIFY(!store.event(9999));
}

void TestHistoryStore::timelineByAxisKindAndPage()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    HistoryStore store(path);
    for (int k = 0; k < 40; ++k) {
        QVERIFY(store.add(numberedEvent(QStringLiteral("X"), k)) > 0);
        if (k % 4 == 0)
            QVERIFY(store.add(numberedEvent(QStringLiteral("Y"), k)) > 0);
    }
    const AxisKey x{QStringLiteral("X"), QStringLiteral("/dev/ttyUSB0")};

    const std::vector<AxisSummary> axes = store.axes();
    QCOMPARE(axes.size(), std::size_t(2));
    QCOMPARE(axes[0].axis.name, QStringLiteral("X")); // the latest event was X's
    QCOMPARE(axes[0].events, 40);
    QCOMPARE(axes[1].events, 10);
    QVERIFY(axes[0].last.isValid());

    // Newest first, page after page, nothing twice and nothing left out.
    QList<int> seen;
    qint64 before = 0;
    for (;;) {
        const std::vector<HistoryEvent> page = store.timeline(&x, kAllKinds, before, 15);
        if (page.empty())
            break;
        for (const HistoryEvent &e : page) {
            QCOMPARE(e.axis, x);
            seen << numberOf(e);
        }
        before = page.back().id;
    }
    QList<int> expected;
    for (int k = 39; k >= 0; --k)
        expected << k;
    QCOMPARE(seen, expected);

    const std::vector<HistoryEvent> writes =
        store.timeline(&x, kindBit(HistoryKind::Write), 0, 100);
    QCOMPARE(writes.size(), std::size_t(10));
    for (const HistoryEvent &e : writes)
        QCOMPARE(e.kind, HistoryKind::Write);
    const std::vector<HistoryEvent> two = store.timeline(
        nullptr, kindBit(HistoryKind::Tuning) | kindBit(HistoryKind::Capture), 0, 1000);
    QCOMPARE(two.size(), std::size_t(20)); // X only: Y has reads alone
}

void TestHistoryStore::unsoundFileIsSetAside_data()
{
    QTest::addColumn<QString>("damage");
    QTest::newRow("random bytes") << "random";
    QTest::newRow("a text file") << "text";
    QTest::newRow("the header, then random bytes") << "header";
    QTest::newRow("cut off before its header ends") << "short";
    QTest::newRow("a history cut in half") << "truncated";
    QTest::newRow("a history with a page overwritten") << "overwritten";
}

void TestHistoryStore::unsoundFileIsSetAside()
{
    QFETCH(QString, damage);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    if (damage == QLatin1String("random")) {
        writeBytes(path, randomBytes(65536, 7));
    } else if (damage == QLatin1String("text")) {
        writeBytes(path, "Ez nem adatbázis.\r\n");
    } else if (damage == QLatin1String("header")) {
        writeBytes(path, QByteArray("SQLite format 3\0", 16) + randomBytes(8000, 8));
    } else if (damage == QLatin1String("short")) {
        writeBytes(path, QByteArray("SQLite for"));
    } else {
        fillHistory(path, 400);
        QByteArray bytes = bytesOf(path);
        QVERIFY(bytes.size() > 100'000);
        if (damage == QLatin1String("truncated"))
            bytes.truncate(bytes.size() / 2);
        else
            bytes.replace(bytes.size() / 2 / 4096 * 4096, 4096, randomBytes(4096, 9));
        writeBytes(path, bytes);
    }
    const QByteArray before = bytesOf(path);

    HistoryRecorder recorder;
    QSignalSpy told(&recorder, &HistoryRecorder::problem);
    recorder.open(path);
    HistoryStore *store = recorder.store();
    QVERIFY2(store->isWritable(), qPrintable(store->problemText()));
    // The unsound file is kept as it was, under another name, and said once.
    QVERIFY(!store->setAsidePath().isEmpty());
    QVERIFY(store->setAsidePath().startsWith(path + QStringLiteral(".hibas-")));
    QCOMPARE(bytesOf(store->setAsidePath()), before);
    QCOMPARE(told.size(), 1);
    QVERIFY(told.first().first().toString().contains(QFileInfo(store->setAsidePath()).fileName()));

    // The new file takes events and holds only those.
    recorder.setPlace({QStringLiteral("X"), QStringLiteral("/dev/ttyUSB0")});
    recorder.setRead({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                      QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6"),
                      QStringLiteral("7"), QStringLiteral("8")});
    QCOMPARE(store->count(), 1);
    QCOMPARE(told.size(), 1);

    // And it opens soundly next time, with nothing more set aside.
    recorder.open(QString());
    HistoryStore again(path);
    QVERIFY(again.isWritable());
    QVERIFY(again.setAsidePath().isEmpty());
    QCOMPARE(again.count(), 1);
}

void TestHistoryStore::unusableFileIsToldOnce_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("problem");
    QTest::addColumn<bool>("readable");
    QTest::newRow("opened read-only") << "readonly" << int(HistoryStore::Problem::ReadOnly) << true;
    QTest::newRow("locked by another writer")
        << "locked" << int(HistoryStore::Problem::Locked) << true;
    QTest::newRow("made by a newer program")
        << "newer" << int(HistoryStore::Problem::Newer) << false;
    QTest::newRow("its folder cannot be made")
        << "nofolder" << int(HistoryStore::Problem::ReadOnly) << false;
    QTest::newRow("a read-only folder")
        << "rofolder" << int(HistoryStore::Problem::ReadOnly) << true;
}

void TestHistoryStore::unusableFileIsToldOnce()
{
    QFETCH(QString, cause);
    QFETCH(int, problem);
    QFETCH(bool, readable);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    HistoryStore::Options options;
    options.busyTimeoutMs = 100;
    std::unique_ptr<LockHolder> holder;
    if (cause == QLatin1String("nofolder")) {
        writeBytes(dir.filePath(QStringLiteral("data")), "a file, not a folder");
        path = dir.filePath(QStringLiteral("data/kdxterminal/kdxhistory.sqlite"));
    } else {
        fillHistory(path, 5);
    }
    if (cause == QLatin1String("readonly")) {
        options.readOnly = true;
    } else if (cause == QLatin1String("locked")) {
        holder = std::make_unique<LockHolder>(path);
        QVERIFY(holder->locked());
    } else if (cause == QLatin1String("newer")) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "newer");
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=99")));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    } else if (cause == QLatin1String("rofolder")) {
        // Root writes into any folder: this case stands for users only.
        if (geteuid() == 0)
            QSKIP("root may write into a read-only folder");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    }
    const QByteArray before = bytesOf(path);

    HistoryRecorder recorder;
    QSignalSpy told(&recorder, &HistoryRecorder::problem);
    recorder.open(path, options);
    recorder.setPlace({QStringLiteral("X"), QStringLiteral("/dev/ttyUSB0")});
    for (int k = 0; k < 3; ++k) {
        WriteRecord w;
        w.param = 2;
        w.before = QStringLiteral("200");
        w.sent = QString::number(300 + k);
        w.readBack = w.sent;
        recorder.written(w);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(int(recorder.store()->problem()), problem);
    QVERIFY(!recorder.isRecording());
    QCOMPARE(told.size(), 1);
    QVERIFY2(told.first().first().toString().contains(
                 QStringLiteral("előzmények nélkül dolgozik tovább")),
             qPrintable(told.first().first().toString()));
    // The session goes on without the file: the report still has every write.
    QCOMPARE(recorder.journal().size(), std::size_t(3));
    QCOMPARE(recorder.store()->isOpen(), readable);
    if (readable)
        QCOMPARE(recorder.store()->count(), 5);
    // Nothing of the file was touched, nor set aside.
    QVERIFY(recorder.store()->setAsidePath().isEmpty());
    recorder.open(QString());
    holder.reset();
    QCOMPARE(bytesOf(path), before);
}

void TestHistoryStore::fullDiskKeepsWhatWasCommitted()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    fillHistory(path, 3);
    HistoryStore::Options options;
    options.maxPageCount = 40; // about 160 kB
    HistoryRecorder recorder;
    QSignalSpy told(&recorder, &HistoryRecorder::problem);
    recorder.open(path, options);
    QVERIFY(recorder.isRecording());
    recorder.setPlace({QStringLiteral("X"), QStringLiteral("/dev/ttyUSB0")});
    int kept = 0;
    for (int k = 0; k < 200 && recorder.isRecording(); ++k) {
        recorder.captured(numberedCapture(k, 1000));
        if (recorder.isRecording())
            ++kept;
    }
    QVERIFY(kept > 2);
    QCOMPARE(recorder.store()->problem(), HistoryStore::Problem::Full);
    QCOMPARE(told.size(), 1);
    // Later events go into the journal only, without another word.
    recorder.captured(numberedCapture(999, 10));
    QCOMPARE(told.size(), 1);
    QCOMPARE(recorder.journal().size(), std::size_t(kept + 2));
    recorder.open(QString());

    // Every committed event is there, the one that did not fit is not, and
    // the file is sound and takes events again once there is room.
    HistoryStore again(path);
    QVERIFY(again.isWritable());
    QVERIFY(again.setAsidePath().isEmpty());
    const std::vector<HistoryEvent> all = everything(again);
    QCOMPARE(int(all.size()), 3 + kept);
    for (int k = 0; k < kept; ++k) {
        const std::optional<HistoryEvent> e = again.event(all[std::size_t(kept - 1 - k)].id);
        QVERIFY(e && e->capture);
        QCOMPARE(e->capture->params[2], k);
        QCOMPARE(e->capture->record.tMs.size(), std::size_t(1000));
    }
    QVERIFY(again.add(numberedEvent(QStringLiteral("X"), 1)) > 0);
}

void TestHistoryStore::twoConnectionsKeepBothHistories()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kdxhistory.sqlite"));
    HistoryStore a(path), b(path);
    QVERIFY(a.isWritable() && b.isWritable());
    QVERIFY(a.session() != b.session());
    for (int k = 0; k < 50; ++k) {
        QVERIFY(a.add(numberedEvent(QStringLiteral("A"), k)) > 0);
        QVERIFY(b.add(numberedEvent(QStringLiteral("B"), k)) > 0);
    }
    for (const HistoryStore *store : {&a, &b}) {
        for (const QString &name : {QStringLiteral("A"), QStringLiteral("B")}) {
            const AxisKey axis{name, QStringLiteral("/dev/ttyUSB0")};
            const std::vector<HistoryEvent> events = store->timeline(&axis, kAllKinds, 0, 1000);
            QCOMPARE(events.size(), std::size_t(50));
            for (std::size_t i = 0; i < events.size(); ++i)
                QCOMPARE(numberOf(events[i]), int(49 - i));
        }
    }
}

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
