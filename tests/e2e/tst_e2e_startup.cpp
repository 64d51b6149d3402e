#include "app/terminal.h"
#include "kdxsimprocess.h"
#include "link/serialportopener.h"
#include "link/simulatedopener.h"
#include "scriptedprompter.h"
#include "simulateddevice.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace kdx;

namespace {

TerminalOptions optionsFor(PortOpener &opener, Prompter &prompter, const QString &folder)
{
    TerminalOptions options;
    options.opener = &opener;
    options.prompter = &prompter;
    options.paramFolder = folder;
    options.reconnectIntervalMs = 0;
    return options;
}

} // namespace

class TestE2eStartup : public QObject {
    Q_OBJECT
private slots:
    void readAllOverASerialPort();
    void portHeldByAnotherIsInUse();
    void readAllFromTheBuiltInSimulator();
};

void TestE2eStartup::readAllOverASerialPort()
{
    KdxsimProcess sim;
    QVERIFY(sim.start({"--set", "P2=345", "--set", "P6=512"}));
    SerialPortOpener opener(sim.ptyPath());
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    Terminal terminal(optionsFor(opener, prompter, dir.path()));

    QVERIFY(terminal.start());
    // The one message: the parameter file did not exist yet and was created.
    QCOMPARE(prompter.shown.size(), 1);
    QVERIFY(prompter.shown.first().text.endsWith("KDXparam.txt file nem elérhető . Létrehozom ."));
    prompter.clear();
    QVERIFY(terminal.form().portPanel()->text().endsWith(sim.ptyPath() + ",38400,N,8,1"));
    terminal.run([&] { terminal.onFirstShown(); });

    QCOMPARE(currentValues(terminal.form()),
             (QStringList{" 1000", " 50", " 345", " 10", " 200", " 100", " 512", " 30"}));
    QVERIFY(prompter.shown.isEmpty());
}

void TestE2eStartup::portHeldByAnotherIsInUse()
{
    KdxsimProcess sim;
    QVERIFY(sim.start());
    SerialPortOpener first(sim.ptyPath());
    QCOMPARE(first.open().status, OpenResult::Status::Open);

    SerialPortOpener second(sim.ptyPath());
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    Terminal terminal(optionsFor(second, prompter, dir.path()));
    QVERIFY(!terminal.start());
    QCOMPARE(prompter.texts(), QStringList{sim.ptyPath() + " Port használatban van."});

    SerialPortOpener missing(QStringLiteral("/dev/kdx-no-such-port"));
    const OpenResult result = missing.open();
    QCOMPARE(result.status, OpenResult::Status::Failed);
    QCOMPARE(result.reason, QStringLiteral("a port nem található"));
}

void TestE2eStartup::readAllFromTheBuiltInSimulator()
{
    SimulatedOpener opener;
    opener.simulated().firmware().preset(4, 128);
    ScriptedPrompter prompter;
    QTemporaryDir dir;
    Terminal terminal(optionsFor(opener, prompter, dir.path()));

    QVERIFY(terminal.start());
    QCOMPARE(terminal.form().portPanel()->text(),
             QStringLiteral("Mikrokontroller COM Port beállítás : szimulátor,38400,N,8,1"));
    terminal.run([&] { terminal.onFirstShown(); });

    QCOMPARE(terminal.form().row(4).current->text(), QStringLiteral(" 128"));
    QCOMPARE(terminal.form().row(0).current->text(), QStringLiteral(" 1000"));
}

QTEST_MAIN(TestE2eStartup)
#include "tst_e2e_startup.moc"
