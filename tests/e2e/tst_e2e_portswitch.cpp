#include "app/terminal.h"
#include "core/portchoice.h"
#include "kdxsimprocess.h"
#include "link/seriallink.h"
#include "link/serialportopener.h"
#include "scriptedprompter.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace kdx;

namespace {

// The lines up to the monitor's first poll: what the first actions sent.
QStringList beforeFirstPoll(const QStringList &lines)
{
    const qsizetype poll = lines.indexOf(QStringLiteral("P9"));
    return poll < 0 ? lines : lines.mid(0, poll);
}

// A terminal on the given kdxsim's port, remembering its choice in dir.
struct Bench {
    Bench(const QString &port, const QTemporaryDir &dir)
        : memory(dir.filePath(QStringLiteral("kdxterminal.conf"))), opener(port)
    {
        QFile(dir.filePath(QStringLiteral("KDXparam.txt"))).open(QIODevice::WriteOnly);
        TerminalOptions options;
        options.opener = &opener;
        options.prompter = &prompter;
        options.paramFolder = dir.path();
        options.reconnectIntervalMs = 0;
        options.settleStep = std::chrono::microseconds(1);
        options.port = PortChoice::serial(port);
        options.portMemory = &memory;
        terminal = std::make_unique<Terminal>(options);
    }

    PortMemory memory;
    SerialPortOpener opener;
    ScriptedPrompter prompter;
    std::unique_ptr<Terminal> terminal;
};

} // namespace

class TestE2ePortSwitch : public QObject {
    Q_OBJECT
private slots:
    void switchingStartsAfreshOnTheNewPortOnly();
    void portHeldByAnotherIsNotRemembered();
};

void TestE2ePortSwitch::switchingStartsAfreshOnTheNewPortOnly()
{
    QTemporaryDir dir;
    const QString logA = dir.filePath(QStringLiteral("a.log"));
    const QString logB = dir.filePath(QStringLiteral("b.log"));
    KdxsimProcess a, b;
    QVERIFY(a.start({"--log", logA, "--set", "P2=111"}));
    QVERIFY(b.start({"--log", logB, "--set", "P2=222"}));

    Bench bench(a.ptyPath(), dir);
    Terminal &terminal = *bench.terminal;
    Form1 &f = terminal.form();

    QVERIFY(terminal.start());
    terminal.run([&] { terminal.onFirstShown(); });
    QCOMPARE(f.row(2).current->text(), QStringLiteral(" 111"));
    // The monitor polls A between operations.
    QTRY_VERIFY(KdxsimProcess::receivedLines(logA).contains(QStringLiteral("P9")));
    const QStringList freshStart = beforeFirstPoll(KdxsimProcess::receivedLines(logA));
    QVERIFY(freshStart.contains(QStringLiteral("P7")));

    terminal.switchPort(PortChoice::serial(b.ptyPath()));
    const qsizetype sentToA = KdxsimProcess::receivedLines(logA).size();

    QCOMPARE(f.portPanel()->text(), QStringLiteral("Mikrokontroller COM Port beállítás : ") +
                                        b.ptyPath() + QStringLiteral(",38400,N,8,1"));
    QCOMPARE(currentValues(f),
             (QStringList{" 1000", " 50", " 222", " 10", " 200", " 100", " 1024", " 30"}));
    // B heard what a fresh start sends, and then the monitor's polls.
    QTRY_VERIFY(KdxsimProcess::receivedLines(logB).contains(QStringLiteral("P9")));
    QCOMPARE(beforeFirstPoll(KdxsimProcess::receivedLines(logB)), freshStart);
    // A heard nothing more, and its port is free for anyone.
    QTest::qWait(200);
    const QStringList heardByA = KdxsimProcess::receivedLines(logA);
    QCOMPARE(heardByA.size(), sentToA);
    QCOMPARE(heardByA.mid(freshStart.size()).filter(QRegularExpression("^(?!P9$)")), QStringList());
    SerialPortOpener other(a.ptyPath());
    QCOMPARE(other.open().status, OpenResult::Status::Open);

    QVERIFY(bench.memory.remembered() == PortChoice::serial(b.ptyPath()));
    QVERIFY(bench.prompter.shown.isEmpty());
}

void TestE2ePortSwitch::portHeldByAnotherIsNotRemembered()
{
    QTemporaryDir dir;
    KdxsimProcess a, b;
    QVERIFY(a.start());
    QVERIFY(b.start());
    SerialPortOpener holder(b.ptyPath());
    QCOMPARE(holder.open().status, OpenResult::Status::Open);

    Bench bench(a.ptyPath(), dir);
    Terminal &terminal = *bench.terminal;
    QVERIFY(terminal.start());
    terminal.run([&] { terminal.onFirstShown(); });
    bench.memory.remember(PortChoice::serial(a.ptyPath()));

    terminal.switchPort(PortChoice::serial(b.ptyPath()));
    QCOMPARE(bench.prompter.texts(), QStringList{b.ptyPath() + " Port használatban van."});
    QVERIFY(!terminal.link().isOpen());
    QVERIFY(terminal.form().portPanel()->text().endsWith(
        b.ptyPath() + ",38400,N,8,1 - a portot egy másik program használja"));
    // The old controller's values are not left on show as if they were B's.
    QCOMPARE(currentValues(terminal.form()), QStringList(8, QString()));
    QVERIFY(bench.memory.remembered() == PortChoice::serial(a.ptyPath()));
    // A is free again.
    SerialPortOpener other(a.ptyPath());
    QCOMPARE(other.open().status, OpenResult::Status::Open);
}

QTEST_MAIN(TestE2ePortSwitch)
#include "tst_e2e_portswitch.moc"
