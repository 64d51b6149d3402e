#include "operations/parameterwrites.h"
#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace kdx;

namespace {

const QByteArray kStopAndReset = "S0\rm3\rm3\r";

QByteArray reads(int n, int times)
{
    return QByteArray("P" + QByteArray::number(n) + "\r").repeated(times);
}

QByteArray testWireFor(int n, const QByteArray &value)
{
    return reads(n, 1) + "\r" + reads(n, 1) + value + "\r" + "\r" + reads(n, 4) + "\r" +
           kStopAndReset;
}

QByteArray saveWireFor(int n, const QByteArray &value)
{
    return reads(n, 1) + "\r" + reads(n, 1) + value + "\rW 0\r" + reads(n, 5) + "\r" +
           kStopAndReset;
}

} // namespace

class TestWrites : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Hungarian, QLocale::Hungary)); }
    void testWriteSequence_data();
    void testWriteSequence();
    void p0TestWriteSettlesBeforeItsFirstRead();
    void saveWriteSequence_data();
    void saveWriteSequence();
    void refusedValueSendsNothing_data();
    void refusedValueSendsNothing();
    void boxEmptiedWhileWaiting_data();
    void boxEmptiedWhileWaiting();
    void boxRetypedWhileWaitingIsCheckedAgain();
    void testAllWritesOnlyFilledRows();
    void testAllWithNothingToSend();
    void saveAllWithNothingToSave();
    void saveAllAskedNoLeavesTheFileAlone();
    void saveAllAskedYesStoresTheSet();
};

void TestWrites::testWriteSequence_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("P3 1000") << 3 << "1000" << QByteArray("1000");
    QTest::newRow("loaded set value with comma") << 2 << "100," << QByteArray("100");
    QTest::newRow("fraction rounded down") << 7 << "12,7" << QByteArray("12");
    QTest::newRow("negative turned positive") << 1 << "-12,7" << QByteArray("13");
    QTest::newRow("P0 takes -12,7 as 13") << 0 << "-12,7" << QByteArray("13");
    QTest::newRow("P5 beyond its save range") << 5 << "6000" << QByteArray("6000");
}

void TestWrites::testWriteSequence()
{
    QFETCH(int, n);
    QFETCH(QString, box);
    QFETCH(QByteArray, sent);
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();
    Form1 &f = fx.form();
    f.row(n).newValue->setText(box);
    f.Check2->setChecked(false);

    fx.run([&] { fx.terminal().writes().testOne(n); });

    QCOMPARE(fx.device().written(), testWireFor(n, sent));
    QCOMPARE(f.row(n).newValue->text(), QString::fromLatin1(sent)); // kept, normalised
    QVERIFY(fx.prompter.shown.isEmpty());
    QVERIFY(f.Check2->isChecked());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestWrites::p0TestWriteSettlesBeforeItsFirstRead()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();
    Form1 &f = fx.form();
    f.row(0).newValue->setText("500");
    bool timerWasOffAtFirstRead = false;
    bool first = true;
    fx.device().setResponder([&](const QByteArray &line) -> QByteArray {
        if (first && line == "P0") {
            first = false;
            timerWasOffAtFirstRead = !fx.pollTimer().isEnabled();
        }
        return line.startsWith('P') ? line + " 1:" : QByteArray("\r\n");
    });
    fx.pollTimer().setEnabled(true);

    fx.run([&] { fx.terminal().writes().testOne(0); });

    // The settling delay switches the poll off; for P0 it runs before the first read.
    QVERIFY(timerWasOffAtFirstRead);
    QCOMPARE(fx.device().written(), testWireFor(0, "500"));
}

void TestWrites::saveWriteSequence_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("P2 40") << 2 << "40" << QByteArray("40");
    QTest::newRow("P3 120") << 3 << "120" << QByteArray("120");
    QTest::newRow("P0 lowest") << 0 << "10" << QByteArray("10");
    QTest::newRow("P6 highest") << 6 << "4096" << QByteArray("4096");
}

void TestWrites::saveWriteSequence()
{
    QFETCH(int, n);
    QFETCH(QString, box);
    QFETCH(QByteArray, sent);
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();
    fx.form().row(n).newValue->setText(box);

    fx.run([&] { fx.terminal().writes().saveOne(n); });

    QCOMPARE(fx.device().written(), saveWireFor(n, sent));
    QVERIFY(fx.prompter.shown.isEmpty());
}

void TestWrites::refusedValueSendsNothing_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("message");
    const QString p0 = "Csak pozitív egész érték a megengedett! (10-1000 értékhatár között)";
    QTest::newRow("P0 empty, test") << 0 << false << "" << p0;
    QTest::newRow("P0 zero, save") << 0 << true << "0" << p0;
    QTest::newRow("P0 fraction below one") << 0 << false << "0,4" << p0;
    QTest::newRow("P0 -5,5 is 6, below 10") << 0 << true << "-5,5" << p0;
    QTest::newRow("P1 letters")
        << 1 << false << "abc"
        << "Csak pozitív egész érték a megengedett! (1-5000 értékhatár között)";
    QTest::newRow("P4 251") << 4 << false << "251"
                            << "Csak pozitív egész érték a megengedett! (1-250 értékhatár között)";
    QTest::newRow("P5 6000 save")
        << 5 << true << "6000"
        << "Csak pozitív egész érték a megengedett! (1-5000 értékhatár között)";
    QTest::newRow("P6 4097")
        << 6 << true << "4097"
        << "Csak pozitív egész érték a megengedett! (1-4096 értékhatár között)";
}

void TestWrites::refusedValueSendsNothing()
{
    QFETCH(int, n);
    QFETCH(bool, save);
    QFETCH(QString, box);
    QFETCH(QString, message);
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();
    Form1 &f = fx.form();
    f.show();
    QLineEdit *b = f.row(n).newValue;
    b->setText(box);

    fx.run([&] {
        if (save)
            fx.terminal().writes().saveOne(n);
        else
            fx.terminal().writes().testOne(n);
    });

    QCOMPARE(fx.device().written(), QByteArray());
    QCOMPARE(fx.prompter.texts(), QStringList{message});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("Hibás adatbevitel"));
    QVERIFY(b->text().isEmpty());
    QCOMPARE(f.focusWidget(), b);
}

void TestWrites::boxEmptiedWhileWaiting_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<QByteArray>("wire");
    // Test write: the message, then the closing return and stop-and-reset.
    QTest::newRow("test write") << false << QByteArray("P3\r\rP3\r\r") + kStopAndReset;
    // Save write: straight to stop-and-reset.
    QTest::newRow("save write") << true << QByteArray("P3\r\rP3\r") + kStopAndReset;
}

void TestWrites::boxEmptiedWhileWaiting()
{
    QFETCH(bool, save);
    QFETCH(QByteArray, wire);
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    f.row(3).newValue->setText("100");
    f.Check2->setChecked(false);
    int reads = 0;
    fx.device().setResponder([&](const QByteArray &line) -> QByteArray {
        if (line == "P3" && ++reads == 2)
            f.row(3).newValue->clear(); // the operator empties the box meanwhile
        return line.startsWith('P') ? line + " 10:" : QByteArray("\r\n");
    });

    fx.run([&] {
        if (save)
            fx.terminal().writes().saveOne(3);
        else
            fx.terminal().writes().testOne(3);
    });

    QCOMPARE(fx.device().written(), wire);
    QCOMPARE(fx.prompter.texts(), QStringList{"Nincs érték megadva."});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("Hiba"));
    // Stop-and-reset checks the monitor switch in either case.
    QVERIFY(f.Check2->isChecked());
}

void TestWrites::boxRetypedWhileWaitingIsCheckedAgain()
{
    TerminalFixture fx;
    fx.load();
    Form1 &f = fx.form();
    f.row(4).newValue->setText("100");
    int reads = 0;
    fx.device().setResponder([&](const QByteArray &line) -> QByteArray {
        if (line == "P4" && ++reads == 2)
            f.row(4).newValue->setText("S600"); // typed while the reads waited
        return line.startsWith('P') ? line + " 10:" : QByteArray("\r\n");
    });

    fx.run([&] { fx.terminal().writes().testOne(4); });

    // Only values that pass the check reach the controller.
    QVERIFY(!fx.device().written().contains("S600"));
    QCOMPARE(fx.device().written(), QByteArray("P4\r\rP4\r\r") + kStopAndReset);
    QCOMPARE(fx.prompter.texts(),
             QStringList{"Csak pozitív egész érték a megengedett! (1-250 értékhatár között)"});
    QVERIFY(f.row(4).newValue->text().isEmpty());
}

void TestWrites::testAllWritesOnlyFilledRows()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();
    Form1 &f = fx.form();
    f.row(2).newValue->setText("300");
    f.row(5).newValue->setText("6000");

    fx.run([&] { fx.terminal().writes().testAll(); });

    QCOMPARE(fx.device().written(), testWireFor(2, "300") + testWireFor(5, "6000") + kStopAndReset);
    QVERIFY(fx.prompter.shown.isEmpty());
    QVERIFY(fx.pollTimer().isEnabled());
}

void TestWrites::testAllWithNothingToSend()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();

    fx.run([&] { fx.terminal().writes().testAll(); });

    QCOMPARE(fx.prompter.texts(), QStringList{"Nincs megadva új letölthető paraméter."});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("kdxterminal"));
    QCOMPARE(fx.device().written(), kStopAndReset);
}

void TestWrites::saveAllWithNothingToSave()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();

    fx.run([&] { fx.terminal().writes().saveAll(); });

    QCOMPARE(fx.prompter.texts(), QStringList{"Nincs legalább egy új paraméter. Nincs mentés."});
    QCOMPARE(fx.device().written(), kStopAndReset);
}

void TestWrites::saveAllAskedNoLeavesTheFileAlone()
{
    TerminalFixture fx;
    fx.load();
    fx.answerLikeController();
    fx.form().row(0).newValue->setText("100");
    fx.form().row(1).newValue->setText("9999"); // refused: the question comes all the same
    fx.prompter.answers = {false};
    QFile file(fx.folder() + "/KDXparam.txt");
    const QByteArray before = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    file.close();

    fx.run([&] { fx.terminal().writes().saveAll(); });

    QCOMPARE(fx.device().written(), saveWireFor(0, "100") + kStopAndReset);
    QCOMPARE(fx.prompter.shown.size(), 2);
    QCOMPARE(fx.prompter.shown[1].kind, ScriptedPrompter::Kind::Question);
    QCOMPARE(fx.prompter.shown[1].title, QStringLiteral("Paraméterek mentése"));
    QCOMPARE(fx.prompter.shown[1].text,
             QStringLiteral("Microcontrollerbe az új paraméterek mentése megtörtént , szeretnéd "
                            "KDXparam.txt filébe is menteni a beállításokat ?"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestWrites::saveAllAskedYesStoresTheSet()
{
    TerminalFixture fx;
    fx.load();
    const QStringList values = {"1000", "50", "200", "10", "200", "100", "1024", "30"};
    fx.answerLikeController(values);
    Form1 &f = fx.form();
    for (int n = 0; n < 8; ++n)
        f.row(n).newValue->setText(values[n]);
    fx.prompter.answers = {true};
    fx.prompter.inputs = {QStringLiteral("Teszt 1")};

    fx.run([&] { fx.terminal().writes().saveAll(); });

    QFile file(fx.folder() + "/KDXparam.txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("< Teszt 1 > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,"
                                        "P6:1024,P7:30<end>\r\n"));
    QVERIFY(fx.device().written().endsWith(kStopAndReset));
}

QTEST_MAIN(TestWrites)
#include "tst_writes.moc"
