// The port and the programs around it, end to end: the real terminal on a
// kdxsim pseudo-terminal, opened through the ordinary serial-port opener.
// Another serial program may hold the port (a UUCP lock file in the lock
// folder, or flock(2) on the device), and the controller may appear only
// after start-up or come back after the line was lost.

#include "app/terminal.h"
#include "kdxsimprocess.h"
#include "link/seriallink.h"
#include "link/serialportopener.h"
#include "scriptedprompter.h"
#include "serialbench.h"
#include "widgets/form1.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace kdx;

namespace {

constexpr int kPatienceMs = 30000; // a deadline for what must happen, never a measure

const QStringList kPresets{"--set", "P0=900", "--set", "P1=40",  "--set", "P2=345",
                           "--set", "P3=12",  "--set", "P4=190", "--set", "P5=90",
                           "--set", "P6=512", "--set", "P7=25"};
const QStringList kPresetValues{" 900", " 40", " 345", " 12", " 190", " 90", " 512", " 25"};
const QStringList kStoredValues{" 1000", " 50", " 200", " 10", " 200", " 100", " 1024", " 30"};

bool logHas(const QString &path, const QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const qsizetype blank = line.indexOf(' ');
        if (blank >= 0 && line.mid(blank + 1).replace("> ", "") == text.toLatin1())
            return true;
    }
    return false;
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A process that lives for the length of a test, as another serial program
// holding a port would.
struct OtherProgram {
    OtherProgram() { process.start(QStringLiteral("sleep"), {QStringLiteral("600")}); }
    ~OtherProgram()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    qint64 pid() const { return process.processId(); }
    QProcess process;
};

// The id of a process that has ended.
qint64 goneProcess()
{
    QProcess p;
    p.start(QStringLiteral("true"));
    p.waitForStarted(5000);
    const qint64 pid = p.processId();
    p.waitForFinished(5000);
    return pid;
}

QByteArray uucpText(qint64 pid)
{
    return QByteArray::number(pid).rightJustified(10, ' ') + '\n';
}

QByteArray uucpBinary(qint64 pid)
{
    const qint32 value = qint32(pid);
    QByteArray bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

QByteArray qtLockFile(qint64 pid)
{
    return QByteArray::number(pid) + "\nminicom\nbench\n";
}

// The name a lock file has for a device path: the path below /dev with each
// '/' as '_'.
QString lockName(const QString &path)
{
    QString name = path.startsWith(QLatin1String("/dev/")) ? path.mid(5) : path;
    return QStringLiteral("LCK..") + name.replace(u'/', u'_');
}

// Whether another open of the device may take flock on it now.
bool deviceFreeForFlock(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

// The terminal on a port, with its lock folder.
struct Bench : SerialBench {
    Bench(const QString &port, const QString &lockFolder, int reconnectIntervalMs = 0)
        : SerialBench(port, reconnectIntervalMs)
    {
        opener.setLockFolder(lockFolder);
    }
};

// A port name of the test's own that points at a device, as a USB adapter's
// node comes and goes.
struct Socket {
    Socket() : path(dir.filePath(QStringLiteral("ttyKDX"))) {}
    bool plug(const QString &device)
    {
        const QString fresh = path + QStringLiteral(".new");
        QFile::remove(fresh);
        return QFile::link(device, fresh) && ::rename(qPrintable(fresh), qPrintable(path)) == 0;
    }
    bool unplug() { return plug(dir.filePath(QStringLiteral("nothing"))); }
    QTemporaryDir dir;
    QString path;
};

enum class Mark { None, UucpText, UucpBinary, QtLockFile, Flock };

} // namespace

Q_DECLARE_METATYPE(Mark)

class TestE2eConnect : public QObject {
    Q_OBJECT
private slots:
    void portOfAnotherProgramIsInUse_data();
    void portOfAnotherProgramIsInUse();
    void staleLockFileIsRemoved_data();
    void staleLockFileIsRemoved();
    void heldPortIsMarkedForOthers();
    void unwritableLockFolderIsSaidOnce();
    void reopeningHonoursLocksToo();
    void controllerAppearingLaterGetsTheFirstActions();
    void reconnectionReadsAgain();

private:
    QString logPath() const { return m_logDir.filePath(QStringLiteral("kdxsim.log")); }
    QTemporaryDir m_logDir;
};

void TestE2eConnect::portOfAnotherProgramIsInUse_data()
{
    QTest::addColumn<Mark>("mark");
    QTest::addColumn<bool>("byDeviceName"); // the lock file names the device the link points at
    QTest::newRow("UUCP lock file, PID as text") << Mark::UucpText << false;
    QTest::newRow("UUCP lock file, PID as 4 bytes") << Mark::UucpBinary << false;
    QTest::newRow("lock file of a Qt program") << Mark::QtLockFile << false;
    QTest::newRow("UUCP lock file under the device's own name") << Mark::UucpText << true;
    QTest::newRow("flock on the device") << Mark::Flock << false;
}

void TestE2eConnect::portOfAnotherProgramIsInUse()
{
    QFETCH(Mark, mark);
    QFETCH(bool, byDeviceName);
    KdxsimProcess sim;
    QVERIFY(sim.start({"--log", logPath()}));
    Socket socket;
    QVERIFY(socket.plug(sim.ptyPath()));
    QTemporaryDir locks;
    OtherProgram other;
    QVERIFY(other.process.waitForStarted(5000));

    const QString lockPath = locks.filePath(lockName(byDeviceName ? sim.ptyPath() : socket.path));
    QByteArray lock;
    int flockFd = -1;
    switch (mark) {
    case Mark::UucpText:
        lock = uucpText(other.pid());
        break;
    case Mark::UucpBinary:
        lock = uucpBinary(other.pid());
        break;
    case Mark::QtLockFile:
        lock = qtLockFile(other.pid());
        break;
    case Mark::Flock:
        // As picocom holds it: flock on an open file of its own.
        flockFd =
            ::open(QFile::encodeName(sim.ptyPath()).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(flockFd >= 0);
        QCOMPARE(::flock(flockFd, LOCK_EX | LOCK_NB), 0);
        break;
    case Mark::None:
        break;
    }
    if (!lock.isEmpty())
        QVERIFY(putFile(lockPath, lock));

    Bench b(socket.path, locks.path());
    const bool started = b.start();
    if (flockFd >= 0)
        ::close(flockFd);
    QVERIFY(!started);
    QCOMPARE(b.prompter.texts(), QStringList{socket.path + " Port használatban van."});
    // The other program's lock is left exactly as it was, and nothing reached its line.
    if (!lock.isEmpty())
        QCOMPARE(fileBytes(lockPath), lock);
    QCOMPARE(QDir(locks.path()).entryList(QDir::Files).size(), lock.isEmpty() ? 0 : 1);
    QTest::qWait(100);
    QVERIFY(!logHas(logPath(), QStringLiteral("P0")));
}

void TestE2eConnect::staleLockFileIsRemoved_data()
{
    QTest::addColumn<QByteArray>("lock");
    const qint64 gone = goneProcess();
    QTest::newRow("PID as text") << uucpText(gone);
    QTest::newRow("PID as 4 bytes") << uucpBinary(gone);
    QTest::newRow("lock file of a Qt program") << qtLockFile(gone);
}

void TestE2eConnect::staleLockFileIsRemoved()
{
    QFETCH(QByteArray, lock);
    KdxsimProcess sim;
    QVERIFY(sim.start(kPresets));
    QTemporaryDir locks;
    const QString lockPath = locks.filePath(lockName(sim.ptyPath()));
    QVERIFY(putFile(lockPath, lock));

    Bench b(sim.ptyPath(), locks.path());
    QVERIFY(b.start());
    QCOMPARE(b.values(), kPresetValues);
    QVERIFY(b.prompter.shown.isEmpty());
    // The left-over lock has made room for the terminal's own.
    QCOMPARE(fileBytes(lockPath).split('\n').value(0).trimmed(),
             QByteArray::number(QCoreApplication::applicationPid()));
}

void TestE2eConnect::heldPortIsMarkedForOthers()
{
    auto sim = std::make_unique<KdxsimProcess>();
    QVERIFY(sim->start(kPresets));
    const QString device = sim->ptyPath();
    QTemporaryDir locks;
    const QString lockPath = locks.filePath(lockName(device));
    Bench b(device, locks.path(), 100);
    QVERIFY(deviceFreeForFlock(device));
    QVERIFY(b.start());
    QCOMPARE(b.values(), kPresetValues);

    // While the terminal holds the port: flock, and a lock file that a UUCP
    // program reads (the PID first, as text).
    QVERIFY(!deviceFreeForFlock(device));
    const QByteArray firstLine = fileBytes(lockPath).split('\n').value(0);
    QCOMPARE(firstLine.trimmed(), QByteArray::number(QCoreApplication::applicationPid()));
    QVERIFY(firstLine.size() <= 10);

    // The port is lost: both go with it.
    sim->kill();
    QTRY_VERIFY_WITH_TIMEOUT(!b.link().isOpen(), kPatienceMs);
    QVERIFY(!QFileInfo::exists(lockPath));
}

void TestE2eConnect::unwritableLockFolderIsSaidOnce()
{
    KdxsimProcess sim;
    QVERIFY(sim.start(kPresets));
    // A folder nobody can write in, root included: it is not there.
    QTemporaryDir dir;
    const QString locks = dir.filePath(QStringLiteral("no-such-folder"));
    Bench b(sim.ptyPath(), locks, 100);
    QVERIFY(b.start());
    QCOMPARE(b.values(), kPresetValues);
    QVERIFY(b.prompter.shown.isEmpty());
    QVERIFY(!deviceFreeForFlock(sim.ptyPath()));
    const QString note = QStringLiteral(" - a zárolási mappa (%1) nem írható, a port zárolófájl "
                                        "nélkül nyílt meg")
                             .arg(locks);
    QVERIFY2(b.form().portPanel()->text().endsWith(note), qPrintable(b.form().portPanel()->text()));

    // Once: a reopening does not say it again.
    b.opener.device()->close();
    QTRY_VERIFY_WITH_TIMEOUT(!b.link().isOpen(), kPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(b.link().isOpen(), kPatienceMs);
    QCOMPARE(b.panel.filter(QStringLiteral("zárolási mappa")).size(), 1);
    QVERIFY(!b.form().portPanel()->text().contains(QStringLiteral("zárolási mappa")));
}

void TestE2eConnect::reopeningHonoursLocksToo()
{
    auto first = std::make_unique<KdxsimProcess>();
    QVERIFY(first->start());
    Socket socket;
    QVERIFY(socket.plug(first->ptyPath()));
    QTemporaryDir locks;
    Bench b(socket.path, locks.path(), 100);
    QVERIFY(b.start());

    first->kill();
    QVERIFY(socket.unplug());
    QTRY_VERIFY_WITH_TIMEOUT(!b.link().isOpen(), kPatienceMs);

    // Another program takes the new line first.
    KdxsimProcess second;
    QVERIFY(second.start(kPresets));
    auto other = std::make_unique<OtherProgram>();
    QVERIFY(other->process.waitForStarted(5000));
    const QString lockPath = locks.filePath(lockName(socket.path));
    QVERIFY(putFile(lockPath, uucpText(other->pid())));
    QVERIFY(socket.plug(second.ptyPath()));
    QTest::qWait(500); // several reopening attempts
    QVERIFY(!b.link().isOpen());
    QCOMPARE(fileBytes(lockPath), uucpText(other->pid()));
    QVERIFY(b.form().portPanel()->text().endsWith(
        QStringLiteral(" - a portot egy másik program használja")));

    // It ends without removing its lock: the terminal takes the port.
    other.reset();
    QTRY_VERIFY_WITH_TIMEOUT(b.link().isOpen(), kPatienceMs);
    QTRY_COMPARE_WITH_TIMEOUT(b.values(), kPresetValues, kPatienceMs);
}

void TestE2eConnect::controllerAppearingLaterGetsTheFirstActions()
{
    // Nothing is plugged in when the terminal starts.
    Socket socket;
    QVERIFY(socket.unplug());
    QTemporaryDir locks;
    Bench b(socket.path, locks.path(), 100);
    QVERIFY(b.start());
    QVERIFY(!b.link().isOpen());
    QCOMPARE(b.values(), QStringList(8, QString()));

    KdxsimProcess sim;
    QVERIFY(sim.start(QStringList{"--log", logPath()} + kPresets));
    b.form().row(4).newValue->setText(QStringLiteral("150")); // typed meanwhile
    QVERIFY(socket.plug(sim.ptyPath()));

    // Read-all, zeroing and stop-and-reset, as on the first show.
    QTRY_COMPARE_WITH_TIMEOUT(b.values(), kPresetValues, kPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(logHas(logPath(), QStringLiteral("S0")), kPatienceMs);
    QCOMPARE(b.form().row(2).scroll->value(), 345);
    QCOMPARE(b.form().row(6).scroll->value(), 512);
    // Stopped: neither direction is shown chosen.
    QVERIFY(!b.form().Option1->isChecked() && !b.form().Option2->isChecked());
    QCOMPARE(b.form().row(4).newValue->text(), QStringLiteral("150"));
    QVERIFY(b.prompter.shown.isEmpty());
}

void TestE2eConnect::reconnectionReadsAgain()
{
    auto first = std::make_unique<KdxsimProcess>();
    QVERIFY(first->start(kPresets));
    Socket socket;
    QVERIFY(socket.plug(first->ptyPath()));
    QTemporaryDir locks;
    Bench b(socket.path, locks.path(), 100);
    QVERIFY(b.start());
    QCOMPARE(b.values(), kPresetValues);

    // The controller is power-cycled: its line goes, and it comes back with
    // its stored values.
    first->kill();
    QVERIFY(socket.unplug());
    QTRY_VERIFY_WITH_TIMEOUT(!b.link().isOpen(), kPatienceMs);
    KdxsimProcess second;
    QVERIFY(second.start({"--log", logPath()}));
    QVERIFY(socket.plug(second.ptyPath()));

    QTRY_COMPARE_WITH_TIMEOUT(b.values(), kStoredValues, kPatienceMs);
    QTRY_VERIFY_WITH_TIMEOUT(logHas(logPath(), QStringLiteral("S0")), kPatienceMs);
    QCOMPARE(b.form().row(2).scroll->value(), 200);
    QVERIFY(b.prompter.shown.isEmpty());
}

QTEST_MAIN(TestE2eConnect)
#include "tst_e2e_connect.moc"
