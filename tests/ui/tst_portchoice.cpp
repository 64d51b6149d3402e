#include "core/portchoice.h"
#include "link/seriallink.h"
#include "operations/portswitch.h"
#include "terminalfixture.h"
#include "widgets/form1.h"
#include "widgets/portchooser.h"
#include "widgets/statuspanel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace kdx;

Q_DECLARE_METATYPE(kdx::PortChoice)

namespace {

PortInfo usbAdapter(const QString &device)
{
    return {device, QStringLiteral("FT232R USB UART"), QStringLiteral("FTDI"),
            QStringLiteral("A50285BI"), true};
}

PortInfo onBoard(const QString &device)
{
    return {device, QString(), QString(), QString(), false};
}

QStringList column(const QTreeWidget *list, int c)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(c);
    return texts;
}

// The rows of the simulator's named axes, after the simulator itself.
QStringList presetRows()
{
    QStringList rows;
    for (const QString &preset : PortChooser::simulatorPresets())
        rows << QStringLiteral("szimulátor: ") + preset;
    return rows;
}

} // namespace

class TestPortChoice : public QObject {
    Q_OBJECT
private slots:
    void choiceAsText_data();
    void choiceAsText();
    void chooserListsAdaptersFirst();
    void chooserSelectsThePresentChoice_data();
    void chooserSelectsThePresentChoice();
    void chooserRefreshKeepsTheSelection();
    void chooserGivesTheSelectedChoice();
    void choiceSurvivesARestart();
    void commandLineDecidesOneRunOnly();
    void clickDuringAnOperationWaitsForItsEnd();
    void missingPortOffersTheOthers_data();
    void missingPortOffersTheOthers();
};

void TestPortChoice::choiceAsText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<PortChoice>("choice");
    QTest::newRow("usb") << "serial:/dev/ttyUSB0" << true << PortChoice::serial("/dev/ttyUSB0");
    QTest::newRow("windows") << "serial:COM5" << true << PortChoice::serial("COM5");
    QTest::newRow("first port") << "serial:" << true << PortChoice::serial();
    QTest::newRow("simulator") << "simulator" << true << PortChoice::simulator();
    QTest::newRow("preset") << "simulator:heavy" << true << PortChoice::simulator("heavy");
    QTest::newRow("empty") << "" << false << PortChoice();
    QTest::newRow("bare name") << "/dev/ttyUSB0" << false << PortChoice();
    QTest::newRow("empty preset") << "simulator:" << false << PortChoice();
    QTest::newRow("other kind") << "network:host" << false << PortChoice();
}

void TestPortChoice::choiceAsText()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(PortChoice, choice);
    const std::optional<PortChoice> read = PortChoice::fromText(text);
    QCOMPARE(read.has_value(), valid);
    if (valid) {
        QVERIFY(*read == choice);
        QCOMPARE(read->toText(), text);
    }
}

void TestPortChoice::chooserListsAdaptersFirst()
{
    FakePortCatalogue ports;
    ports.present = {onBoard("/dev/ttyS10"),
                     usbAdapter("/dev/ttyUSB1"),
                     onBoard("/dev/ttyS2"),
                     {"/dev/ttyACM0", "", "Arduino", "", true}};
    PortChooser chooser(ports, PortChoice::serial(), QString());
    const QTreeWidget *list = chooser.list();
    QCOMPARE(column(list, 0), (QStringList{"/dev/ttyACM0", "/dev/ttyUSB1", "/dev/ttyS2",
                                           "/dev/ttyS10", "szimulátor"} +
                               presetRows()));
    QVERIFY(presetRows().contains(QStringLiteral("szimulátor: heavy")));
    QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("FT232R USB UART"));
    QCOMPARE(list->topLevelItem(1)->text(2), QStringLiteral("FTDI"));
    QCOMPARE(list->topLevelItem(1)->text(3), QStringLiteral("A50285BI"));
    // What the system does not know shows as a dash, not as an empty cell.
    QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("–"));
    QCOMPARE(list->topLevelItem(0)->text(2), QStringLiteral("Arduino"));
    QCOMPARE(chooser.windowTitle(), QStringLiteral("Port kiválasztása"));
}

void TestPortChoice::chooserSelectsThePresentChoice_data()
{
    QTest::addColumn<PortChoice>("current");
    QTest::addColumn<QString>("selected"); // empty: nothing
    QTest::newRow("full path") << PortChoice::serial("/dev/ttyUSB0") << "/dev/ttyUSB0";
    QTest::newRow("short name") << PortChoice::serial("ttyUSB0") << "/dev/ttyUSB0";
    QTest::newRow("first port") << PortChoice::serial() << "/dev/ttyS0";
    QTest::newRow("simulator") << PortChoice::simulator() << "szimulátor";
    QTest::newRow("named axis") << PortChoice::simulator("heavy") << "szimulátor: heavy";
    QTest::newRow("missing") << PortChoice::serial("/dev/ttyUSB9") << "";
}

void TestPortChoice::chooserSelectsThePresentChoice()
{
    QFETCH(PortChoice, current);
    QFETCH(QString, selected);
    FakePortCatalogue ports;
    ports.present = {onBoard("/dev/ttyS0"), usbAdapter("/dev/ttyUSB0")};
    PortChooser chooser(ports, current, QString());
    const QTreeWidgetItem *item = chooser.list()->currentItem();
    QCOMPARE(item ? item->text(0) : QString(), selected);
    auto *open = chooser.findChild<QPushButton *>();
    QVERIFY(open);
    const auto buttons = chooser.findChildren<QPushButton *>();
    const auto openButton = std::find_if(buttons.begin(), buttons.end(), [](QPushButton *b) {
        return b->text() == QStringLiteral("Megnyitás");
    });
    QVERIFY(openButton != buttons.end());
    QCOMPARE((*openButton)->isEnabled(), !selected.isEmpty());
}

void TestPortChoice::chooserRefreshKeepsTheSelection()
{
    FakePortCatalogue ports;
    ports.present = {onBoard("/dev/ttyS0")};
    PortChooser chooser(ports, PortChoice::simulator(), QString());
    // An adapter plugged in while the chooser is open.
    ports.present.push_back(usbAdapter("/dev/ttyUSB0"));
    QTest::mouseClick(chooser.refreshButton(), Qt::LeftButton);
    QCOMPARE(column(chooser.list(), 0),
             (QStringList{"/dev/ttyUSB0", "/dev/ttyS0", "szimulátor"} + presetRows()));
    QCOMPARE(chooser.list()->currentItem()->text(0), QStringLiteral("szimulátor"));
}

void TestPortChoice::chooserGivesTheSelectedChoice()
{
    FakePortCatalogue ports;
    ports.present = {onBoard("/dev/ttyS0"), usbAdapter("/dev/ttyUSB0")};
    PortChooser chooser(ports, PortChoice::serial(), QStringLiteral("a port nem található"));
    QVERIFY(chooser.findChild<QLabel *>("PortProblem")->text().contains("a port nem található"));
    chooser.list()->setCurrentItem(chooser.list()->topLevelItem(0));
    QVERIFY(chooser.choice() == PortChoice::serial("/dev/ttyUSB0"));
    chooser.list()->setCurrentItem(chooser.list()->topLevelItem(2));
    QVERIFY(chooser.choice() == PortChoice::simulator());
    const QList<QTreeWidgetItem *> heavy =
        chooser.list()->findItems(QStringLiteral("szimulátor: heavy"), Qt::MatchExactly);
    QCOMPARE(heavy.size(), 1);
    chooser.list()->setCurrentItem(heavy.first());
    QVERIFY(chooser.choice() == PortChoice::simulator("heavy"));
}

void TestPortChoice::choiceSurvivesARestart()
{
    QTemporaryDir settings;
    const QString file = settings.filePath(QStringLiteral("kdxterminal.conf"));
    PortMemory memory(file);
    QVERIFY(memory.forThisRun(std::nullopt) == PortChoice::serial());

    int asked = 0;
    TerminalFixture fx(200, [&](TerminalOptions &options) {
        options.portMemory = &memory;
        options.port = PortChoice::serial();
        options.choosePort = [&](const PortChoice &current, const QString &) {
            ++asked;
            [&] { QVERIFY(current == PortChoice::serial()); }();
            return std::optional<PortChoice>(PortChoice::simulator());
        };
    });
    fx.answerLikeController();
    QVERIFY(fx.load());
    fx.run([&] { fx.terminal().onFirstShown(); });
    QCOMPARE(currentValues(fx.form()).at(2), QStringLiteral(" 102"));

    auto *panel = qobject_cast<StatusPanel *>(fx.form().portPanel());
    QVERIFY(panel->toolTip().contains(QStringLiteral("kattintson ide")));
    QTest::mouseClick(panel, Qt::LeftButton);
    QCOMPARE(asked, 1);
    // The first actions ran on the simulated controller: its values, and
    // nothing more on the old line.
    QCOMPARE(currentValues(fx.form()),
             (QStringList{" 1000", " 50", " 200", " 10", " 200", " 100", " 1024", " 30"}));
    QCOMPARE(fx.form().portPanel()->text(),
             QStringLiteral("Mikrokontroller COM Port beállítás : szimulátor,38400,N,8,1"));
    QVERIFY(!fx.device().isOpen());
    QVERIFY(fx.prompter.shown.isEmpty());

    // The next start, with new objects on the same file.
    PortMemory restarted(file);
    QVERIFY(restarted.remembered() == PortChoice::simulator());
    QVERIFY(restarted.forThisRun(std::nullopt) == PortChoice::simulator());
}

void TestPortChoice::commandLineDecidesOneRunOnly()
{
    QTemporaryDir settings;
    const QString file = settings.filePath(QStringLiteral("kdxterminal.conf"));
    PortMemory(file).remember(PortChoice::serial("/dev/ttyUSB0"));
    const PortChoice once = PortChoice::serial("/dev/ttyACM3");
    QVERIFY(PortMemory(file).forThisRun(once) == once);
    QVERIFY(PortMemory(file).forThisRun(PortChoice::simulator()) == PortChoice::simulator());
    QVERIFY(PortMemory(file).forThisRun(std::nullopt) == PortChoice::serial("/dev/ttyUSB0"));
}

void TestPortChoice::clickDuringAnOperationWaitsForItsEnd()
{
    int asked = 0;
    TerminalFixture fx(200, [&](TerminalOptions &options) {
        options.choosePort = [&](const PortChoice &, const QString &) {
            ++asked;
            return std::optional<PortChoice>();
        };
    });
    fx.answerLikeController();
    QVERIFY(fx.load());
    auto *panel = qobject_cast<StatusPanel *>(fx.form().portPanel());
    fx.run([&] {
        QTest::mouseClick(panel, Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(asked, 0);
    });
    QTRY_COMPARE(asked, 1);
    // Cancelled: the line stays as it was.
    QVERIFY(fx.device().isOpen());
    QCOMPARE(fx.opener.attempts, 1);
}

void TestPortChoice::missingPortOffersTheOthers_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("offered");
    const QString missing = QStringLiteral("a port nem található");
    QTest::newRow("others present") << QStringList{"/dev/ttyS0", "/dev/ttyUSB1"} << missing << true;
    QTest::newRow("no other port") << QStringList{} << missing << false;
    QTest::newRow("present, no permission")
        << QStringList{"/dev/ttyUSB7"} << QStringLiteral("nincs jogosultság") << false;
}

void TestPortChoice::missingPortOffersTheOthers()
{
    QFETCH(QStringList, present);
    QFETCH(QString, reason);
    QFETCH(bool, offered);
    TerminalFixture fx(200, [](TerminalOptions &options) {
        options.port = PortChoice::serial(QStringLiteral("/dev/ttyUSB7"));
    });
    for (const QString &device : present)
        fx.ports.present.push_back(onBoard(device));
    fx.opener.name = QStringLiteral("/dev/ttyUSB7");
    fx.opener.outcomes = {{OpenResult::Status::Failed, reason},
                          {OpenResult::Status::Failed, reason}};
    QVERIFY(fx.load());
    const QString plain =
        QStringLiteral("Mikrokontroller COM Port beállítás : /dev/ttyUSB7,38400,N,8,1 - ") + reason;
    QCOMPARE(fx.form().portPanel()->text(),
             offered ? plain + QStringLiteral("; kattintson ide másik port választásához") : plain);
    // No box at start.
    QVERIFY(fx.prompter.shown.isEmpty());
}

QTEST_MAIN(TestPortChoice)
#include "tst_portchoice.moc"
