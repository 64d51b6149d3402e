#include "faultywriter.h"
#include "operations/paramsetlist.h"
#include "operations/paramsetstore.h"
#include "operations/ticktimer.h"
#include "windowrows.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

using namespace kdx;

namespace {

const QString kLoadMessage = QStringLiteral(
    "Hibás vagy nem teljes motor paraméter sor .\n\r\n\rVálassz a listából! ( Klikkelj a listából "
    "egy sorra , majd betöltés gomb . )");
const QString kDeleteQuestion = QStringLiteral("Biztos, hogy töröljem a paramétersort ?");
const QString kEmptyRow = QStringLiteral("Üres paramétersor nem betölthető.");

const QByteArray kRowA = "< A > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,P7:30<end>";
const QByteArray kRowB = "< B > P0:500,P1:5,P2:20,P3:1,P4:250,P5:10,P6:256,P7:3<end>";
const QByteArray kRowC = "< C > P0:10,P1:1,P2:1,P3:1,P4:1,P5:1,P6:1,P7:1<end>";

QByteArray lines(const QList<QByteArray> &rows)
{
    QByteArray out;
    for (const QByteArray &r : rows)
        out += r + "\r\n";
    return out;
}

} // namespace

class TestParamList : public QObject {
    Q_OBJECT
private slots:
    void loadFillsTheNewValues();
    void loadFailureEmptiesEveryNewValue_data();
    void loadFailureEmptiesEveryNewValue();
    void emptyRowCheckOnSelection();
    void doubleClickLoads();
    void deleteMiddleRow();
    void deleteOnlyRow_data();
    void deleteOnlyRow();
    void deleteWithoutSelection_data();
    void deleteWithoutSelection();
    void deleteLeavesNoSpuriousEmptyRowMessage();
    void failedRewriteKeepsFileAndRow_data();
    void failedRewriteKeepsFileAndRow();
    void frameSwitchChangesNothingElse();
    void fileOf32768Rows();
    void rowOf40000Characters();

private:
    void select(TerminalFixture &fx, int row)
    {
        fx.form().List1->setCurrentRow(row);
        fx.prompter.clear();
    }
    void load(TerminalFixture &fx)
    {
        fx.run([&] { fx.terminal().list().loadPicked(); });
    }
    void remove(TerminalFixture &fx, bool yes)
    {
        fx.prompter.answers.push_back(yes);
        fx.run([&] { fx.terminal().list().deletePicked(); });
    }
};

void TestParamList::loadFillsTheNewValues()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    listFile(fx, lines({kRowA, kRowB}));
    for (int n = 0; n < 8; ++n) {
        f.row(n).current->setText(QStringLiteral("77"));
        QPalette p = f.row(n).newValue->palette();
        p.setColor(QPalette::Base, Qt::red);
        f.row(n).newValue->setPalette(p);
    }
    select(fx, 1);
    load(fx);
    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(newValues(f), (QStringList{"500", "5", "20", "1", "250", "10", "256", "3"}));
    for (int n = 0; n < 8; ++n) {
        QCOMPARE(f.row(n).current->text(), QStringLiteral("77"));
        QCOMPARE(f.row(n).newValue->palette().color(QPalette::Base),
                 QApplication::palette(f.row(n).newValue).color(QPalette::Base));
    }
    QCOMPARE(f.List1->currentRow(), 1);
    QCOMPARE(fx.device().written(), QByteArray());
}

void TestParamList::loadFailureEmptiesEveryNewValue_data()
{
    QTest::addColumn<QByteArray>("row");
    QTest::addColumn<bool>("selected");
    QTest::newRow("no row selected") << kRowA << false;
    QTest::newRow("no <end>") << QByteArray("< a > P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8")
                              << true;
    QTest::newRow("keys out of order")
        << QByteArray("< a > P0:1,P1:2,P2:3,P4:5,P3:4,P5:6,P6:7,P7:8<end>") << true;
    QTest::newRow("comment holding P1:") << QByteArray("< P1: > P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,"
                                                       "P6:7,P7:8<end>")
                                         << true;
    QTest::newRow("not a set") << QByteArray("megjegyzés") << true;
}

void TestParamList::loadFailureEmptiesEveryNewValue()
{
    QFETCH(QByteArray, row);
    QFETCH(bool, selected);
    TerminalFixture fx;
    Form1 &f = fx.form();
    listFile(fx, lines({row}));
    if (selected)
        select(fx, 0);
    for (int n = 0; n < 8; ++n)
        f.row(n).newValue->setText(QStringLiteral("9"));
    load(fx);
    QCOMPARE(newValues(f), QStringList(8, QString()));
    QCOMPARE(fx.prompter.texts(), QStringList{kLoadMessage});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("Hibás paramétersor betöltés"));
}

void TestParamList::emptyRowCheckOnSelection()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    listFile(fx, lines({kRowA, "", kRowB}));
    f.List1->setCurrentRow(1);
    QCOMPARE(fx.prompter.texts(), QStringList{kEmptyRow});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("kdxterminal"));
    f.List1->setCurrentRow(2);
    f.List1->setCurrentRow(0);
    // Losing the selection is no empty row either.
    f.List1->setCurrentRow(-1);
    QCOMPARE(fx.prompter.texts(), QStringList{kEmptyRow});
}

void TestParamList::doubleClickLoads()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    listFile(fx, lines({kRowA, ""}));
    select(fx, 0);
    emit f.List1->itemDoubleClicked(f.List1->item(0));
    QCOMPARE(newValues(f), (QStringList{"1000", "50", "200", "10", "200", "100", "1024", "30"}));
    // On an empty row: the click's check, then the load's message.
    f.List1->setCurrentRow(1);
    emit f.List1->itemDoubleClicked(f.List1->item(1));
    QCOMPARE(fx.prompter.texts(), (QStringList{kEmptyRow, kLoadMessage}));
    QCOMPARE(newValues(f), QStringList(8, QString()));
}

void TestParamList::deleteMiddleRow()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    listFile(fx, lines({kRowA, kRowB, kRowC}));
    select(fx, 1);
    remove(fx, true);
    QCOMPARE(fx.prompter.texts(), QStringList{kDeleteQuestion});
    QCOMPARE(fx.prompter.shown.first().kind, ScriptedPrompter::Kind::Question);
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("Törlés"));
    QCOMPARE(fileBytes(paramPath(fx)), lines({kRowA, kRowC}));
    QCOMPARE(listRows(f), (QStringList{kRowA, kRowC}));
    // The row that moved up is not picked for the operator.
    QVERIFY(f.List1->selectedItems().isEmpty());
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);

    // Answered No: nothing changes.
    fx.prompter.clear();
    fx.terminal().busyPointer().set(true);
    remove(fx, false);
    QCOMPARE(fx.prompter.texts(), QStringList{kDeleteQuestion});
    QCOMPARE(fileBytes(paramPath(fx)), lines({kRowA, kRowC}));
    QCOMPARE(listRows(f).size(), 2);
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestParamList::deleteOnlyRow_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("a stored set") << lines({kRowA});
    QTest::newRow("the empty row of an empty file") << QByteArray();
}

void TestParamList::deleteOnlyRow()
{
    QFETCH(QByteArray, bytes);
    TerminalFixture fx;
    Form1 &f = fx.form();
    listFile(fx, bytes);
    select(fx, 0);
    remove(fx, true);
    // The operator confirmed it: the set is gone from the list and the file.
    QCOMPARE(fx.prompter.texts(), QStringList{kDeleteQuestion});
    QCOMPARE(f.List1->count(), 0);
    QCOMPARE(f.List1->currentRow(), -1);
    QCOMPARE(fileBytes(paramPath(fx)), QByteArray());
    fx.run([&] { fx.terminal().store().refreshList(); });
    QVERIFY(!listRows(f).contains(QString::fromLatin1(kRowA)));
}

void TestParamList::deleteWithoutSelection_data()
{
    QTest::addColumn<bool>("emptyList");
    QTest::addColumn<QString>("message");
    QTest::newRow("rows, none selected") << false << "Válassz törlendő paramétersort.";
    QTest::newRow("no rows at all") << true << "Nincs törölhető paraméterlista.";
}

void TestParamList::deleteWithoutSelection()
{
    QFETCH(bool, emptyList);
    QFETCH(QString, message);
    TerminalFixture fx;
    Form1 &f = fx.form();
    listFile(fx, lines({kRowA, kRowB}));
    if (emptyList)
        fx.terminal().store().list().setRows({});
    remove(fx, true);
    QCOMPARE(fx.prompter.texts(), (QStringList{kDeleteQuestion, message}));
    QCOMPARE(fx.prompter.shown.last().title, QStringLiteral("kdxterminal"));
    QCOMPARE(fileBytes(paramPath(fx)), lines({kRowA, kRowB}));
    QCOMPARE(f.List1->count(), emptyList ? 0 : 2);
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestParamList::deleteLeavesNoSpuriousEmptyRowMessage()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    // Removing the first row moves an empty row up, and the last row, which
    // the rewrite goes through last, is empty too.
    listFile(fx, lines({kRowA, "", kRowB, ""}));
    select(fx, 0);
    remove(fx, true);
    QCOMPARE(fx.prompter.texts(), QStringList{kDeleteQuestion});
    QCOMPARE(fileBytes(paramPath(fx)), lines({"", kRowB, ""}));
    QVERIFY(f.List1->selectedItems().isEmpty());
}

void TestParamList::failedRewriteKeepsFileAndRow_data()
{
    addFailingSteps();
}

void TestParamList::failedRewriteKeepsFileAndRow()
{
    QFETCH(FaultyWriter::Step, step);
    QFETCH(QString, reason);
    TerminalFixture fx;
    Form1 &f = fx.form();
    const QByteArray old = lines({kRowA, kRowB, kRowC, ""});
    listFile(fx, old);
    select(fx, 1);
    FaultyWriter writer(step, 2);
    fx.terminal().store().file().setWriter(&writer);
    remove(fx, true);
    QCOMPARE(fx.prompter.texts(),
             (QStringList{kDeleteQuestion, "A KDXparam.txt file újraírása nem sikerült (" + reason +
                                               "). A file változatlan maradt."}));
    QCOMPARE(fileBytes(paramPath(fx)), old);
    QCOMPARE(QDir(fx.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"KDXparam.txt"});
    // The list shows the file again, with the row still selected.
    QCOMPARE(listRows(f), (QStringList{kRowA, kRowB, kRowC, ""}));
    QCOMPARE(f.List1->currentRow(), 1);
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

void TestParamList::frameSwitchChangesNothingElse()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    QVERIFY(fx.load());
    listFile(fx, lines({kRowA, kRowB}));
    select(fx, 1);
    f.show();
    const bool pollOn = fx.pollTimer().isEnabled();
    f.Command41->click();
    QVERIFY(f.Frame3->isVisible());
    QVERIFY(!f.Frame4->isVisible());
    f.Command40->click();
    QVERIFY(!f.Frame3->isVisible());
    QVERIFY(f.Frame4->isVisible());
    f.Command41->click();
    QVERIFY(f.Frame3->isVisible());
    QCOMPARE(listRows(f).size(), 2);
    QCOMPARE(f.List1->currentRow(), 1);
    QCOMPARE(fx.pollTimer().isEnabled(), pollOn);
    QVERIFY(fx.prompter.shown.isEmpty());
}

void TestParamList::fileOf32768Rows()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    QList<QByteArray> rows;
    for (int i = 0; i < 32768; ++i)
        rows << "< " + QByteArray::number(i) + " > P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8<end>";
    listFile(fx, lines(rows));
    QCOMPARE(f.List1->count(), 32768);
    // The rows past the 16-bit range are as good as the others.
    select(fx, 32767);
    load(fx);
    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(f.row(7).newValue->text(), QStringLiteral("8"));
    select(fx, 0);
    remove(fx, true);
    QCOMPARE(fx.prompter.texts(), QStringList{kDeleteQuestion});
    rows.removeFirst();
    QCOMPARE(fileBytes(paramPath(fx)), lines(rows));
    QVERIFY(f.List1->selectedItems().isEmpty());
}

void TestParamList::rowOf40000Characters()
{
    TerminalFixture fx;
    Form1 &f = fx.form();
    const QByteArray longRow =
        "< " + QByteArray(40000, 'h') + " > P0:11,P1:12,P2:13,P3:14,P4:15,P5:16,P6:17,P7:18<end>";
    listFile(fx, lines({kRowA, longRow, kRowB}));
    select(fx, 1);
    load(fx);
    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(newValues(f), (QStringList{"11", "12", "13", "14", "15", "16", "17", "18"}));
    select(fx, 2);
    remove(fx, true);
    QCOMPARE(fileBytes(paramPath(fx)), lines({kRowA, longRow}));
}

QTEST_MAIN(TestParamList)
#include "tst_paramlist.moc"
