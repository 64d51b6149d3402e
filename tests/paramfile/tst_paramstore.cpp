#include "faultywriter.h"
#include "operations/paramsetlist.h"
#include "operations/paramsetstore.h"
#include "windowrows.h"

#include <QTest>

using namespace kdx;

namespace {

const QString kInputPrompt = QStringLiteral("Adj kommentet a paraméterlista azonosításához.");
const QString kCommentNotStorable = QStringLiteral(
    "A komment olyan karaktert tartalmaz, amely nem menthető a KDXparam.txt filébe.");
const QString kCommentHoldsKey =
    QStringLiteral("A komment nem tartalmazhatja a paramétersor jelöléseit (P0: ... P7:, <end>), "
                   "mert a paramétersor így nem lenne betölthető.");

void fillBoxes(Form1 &f, const QStringList &newValues, const QStringList &currentValues)
{
    for (int n = 0; n < 8; ++n) {
        f.row(n).newValue->setText(newValues.value(n));
        f.row(n).current->setText(currentValues.value(n));
    }
}

const QStringList kValues{"1000", "50", "200", "10", "200", "100", "1024", "30"};

} // namespace

class TestParamStore : public QObject {
    Q_OBJECT
private slots:
    void startUpCreatesAMissingFile();
    void refreshListsEveryLine_data();
    void refreshListsEveryLine();
    void refreshOfAFileThatCannotBeRead();
    void refreshWhenTheFileCannotBeCreated();
    void saveWithoutComment_data();
    void saveWithoutComment();
    void saveRefusesWhatTheFileCannotHold_data();
    void saveRefusesWhatTheFileCannotHold();
    void saveNeedsEveryValue_data();
    void saveNeedsEveryValue();
    void saveTakesNewValueElseCurrent();
    void saveAppendsAndLists_data();
    void saveAppendsAndLists();
    void savedSetLoadsBack_data();
    void savedSetLoadsBack();
    void failedAppendKeepsTheFile_data();
    void failedAppendKeepsTheFile();
    void rewriteWritesTheListQuietly();

private:
    void save(TerminalFixture &fx, const QString &comment)
    {
        fx.prompter.inputs.push_back(comment);
        fx.run([&] { fx.terminal().store().storeCurrentSet(); });
    }
};

void TestParamStore::startUpCreatesAMissingFile()
{
    TerminalFixture fx;
    QVERIFY(QFile::remove(paramPath(fx)));
    QVERIFY(fx.load());
    QCOMPARE(fx.prompter.texts(),
             QStringList{paramPath(fx) + QStringLiteral(" file nem elérhető . Létrehozom .")});
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("kdxterminal"));
    QVERIFY(QFile::exists(paramPath(fx)));
    QCOMPARE(fileBytes(paramPath(fx)), QByteArray());
    QCOMPARE(fx.form().List1->count(), 0);
    // The next refresh finds the file it made: one empty row, no message.
    fx.prompter.clear();
    fx.run([&] { fx.terminal().store().refreshList(); });
    QCOMPARE(listRows(fx.form()), QStringList{""});
    QVERIFY(fx.prompter.shown.isEmpty());
}

void TestParamStore::refreshListsEveryLine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("empty file") << QByteArray() << QStringList{""};
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringList{"a\nb\n"};
    QTest::newRow("empty rows kept") << QByteArray("\r\na\r\n\r\n") << QStringList{"", "a", ""};
}

void TestParamStore::refreshListsEveryLine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, rows);
    TerminalFixture fx;
    listFile(fx, "old\r\n\r\n");
    fx.form().List1->setCurrentRow(1);
    fx.prompter.clear();
    listFile(fx, bytes);
    QCOMPARE(listRows(fx.form()), rows);
    QCOMPARE(fx.form().List1->currentRow(), -1);
    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(fileBytes(paramPath(fx)), bytes);
}

void TestParamStore::refreshOfAFileThatCannotBeRead()
{
    TerminalFixture fx;
    listFile(fx, "a\r\n");
    QVERIFY(QFile::remove(paramPath(fx)));
    QVERIFY(QDir(fx.folder()).mkdir(QStringLiteral("KDXparam.txt")));
    fx.run([&] { fx.terminal().store().refreshList(); });
    QCOMPARE(fx.form().List1->count(), 0);
    QCOMPARE(fx.prompter.shown.size(), 1);
    const QString text = fx.prompter.shown.first().text;
    QVERIFY2(text.startsWith(QStringLiteral("A KDXparam.txt file nem olvasható (")),
             qPrintable(text));
    QVERIFY(text.endsWith(QStringLiteral("). A paraméterlista üres marad.")));
    // Nothing was created in its place.
    QVERIFY(QFileInfo(paramPath(fx)).isDir());
}

void TestParamStore::refreshWhenTheFileCannotBeCreated()
{
    TerminalFixture fx;
    QVERIFY(QFile::remove(paramPath(fx)));
    FaultyWriter writer(FaultyWriter::Step::Create);
    fx.terminal().store().file().setWriter(&writer);
    fx.run([&] { fx.terminal().store().refreshList(); });
    QCOMPARE(fx.prompter.texts(),
             (QStringList{paramPath(fx) + QStringLiteral(" file nem elérhető . Létrehozom ."),
                          "A KDXparam.txt file nem hozható létre (Read-only file system)."}));
    QCOMPARE(fx.form().List1->count(), 0);
}

void TestParamStore::saveWithoutComment_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::newRow("cancelled") << std::optional<QString>();
    QTest::newRow("empty") << std::optional<QString>(QString());
}

void TestParamStore::saveWithoutComment()
{
    QFETCH(std::optional<QString>, answer);
    TerminalFixture fx;
    listFile(fx, "a\r\n");
    fillBoxes(fx.form(), kValues, kValues);
    fx.prompter.inputs.push_back(answer);
    fx.run([&] { fx.terminal().store().storeCurrentSet(); });
    QCOMPARE(fx.prompter.texts(),
             (QStringList{kInputPrompt, "Nincs komment vagy paramétersor mentés elvetés."}));
    QCOMPARE(fx.prompter.shown.first().title, QStringLiteral("kdxterminal"));
    QCOMPARE(fx.terminal().store().composedLine(), QString());
    QCOMPARE(fileBytes(paramPath(fx)), QByteArray("a\r\n"));
}

void TestParamStore::saveRefusesWhatTheFileCannotHold_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<int>("badParameter"); // -1: all values fine
    QTest::addColumn<QString>("badValue");
    QTest::addColumn<QString>("message");
    const QString valueMessage =
        "A %1 paraméter értéke nem menthető a KDXparam.txt filébe, mert sorvéget, nem tárolható "
        "karaktert vagy a paramétersor jelölését (P0: ... P7:, <end>) tartalmazza.";
    QTest::newRow("comment beyond windows-1250")
        << "kész ✓" << -1 << QString() << kCommentNotStorable;
    QTest::newRow("comment with a line end")
        << "első\rmásodik" << -1 << QString() << kCommentNotStorable;
    QTest::newRow("comment holding P1:")
        << "régi P1: beállítás" << -1 << QString() << kCommentHoldsKey;
    QTest::newRow("comment holding <end>") << "a<end>" << -1 << QString() << kCommentHoldsKey;
    QTest::newRow("value holding a key")
        << "jó" << 2 << "P3:5" << valueMessage.arg(QStringLiteral("P2 (P gain)"));
    QTest::newRow("value beyond windows-1250")
        << "jó" << 5 << "100€✓" << valueMessage.arg(QStringLiteral("P5 (EMF)"));
}

void TestParamStore::saveRefusesWhatTheFileCannotHold()
{
    QFETCH(QString, comment);
    QFETCH(int, badParameter);
    QFETCH(QString, badValue);
    QFETCH(QString, message);
    TerminalFixture fx;
    listFile(fx, "a\r\n");
    fillBoxes(fx.form(), kValues, {});
    if (badParameter >= 0)
        fx.form().row(badParameter).newValue->setText(badValue);
    save(fx, comment);
    QCOMPARE(fx.prompter.texts(), (QStringList{kInputPrompt, message}));
    QCOMPARE(fileBytes(paramPath(fx)), QByteArray("a\r\n"));
    QCOMPARE(listRows(fx.form()), QStringList{"a"});
}

void TestParamStore::saveNeedsEveryValue_data()
{
    QTest::addColumn<int>("missing");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("composed");
    const QString front = "< c > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,";
    const char *names[] = {"velocity limit", "velocity feedback",
                           "P gain",         "I gain",
                           "torque limit",   "EMF",
                           "gear ratio",     "D gain"};
    for (int n = 0; n < 8; ++n) {
        QTest::addRow("P%d", n) << n
                                << QStringLiteral(
                                       "Nincs se új se kiolvasott %1 paraméter , mentés így nem "
                                       "lehetséges. Adj meg értéket.")
                                       .arg(QString::fromUtf8(names[n]))
                                << front.left(front.indexOf(QStringLiteral("P%1:").arg(n)));
    }
}

void TestParamStore::saveNeedsEveryValue()
{
    QFETCH(int, missing);
    QFETCH(QString, message);
    QFETCH(QString, composed);
    TerminalFixture fx;
    listFile(fx, "a\r\n");
    fillBoxes(fx.form(), kValues, {});
    fx.form().row(missing).newValue->clear();
    save(fx, QStringLiteral("c"));
    QCOMPARE(fx.prompter.texts(), (QStringList{kInputPrompt, message}));
    QCOMPARE(fx.terminal().store().composedLine(), composed);
    QCOMPARE(fileBytes(paramPath(fx)), QByteArray("a\r\n"));
}

void TestParamStore::saveTakesNewValueElseCurrent()
{
    TerminalFixture fx;
    listFile(fx, "");
    fillBoxes(fx.form(), {"", "55", "", "  ", "abc", "", "1024", ""},
              {" 1000", "50", " 200", "10", "200", " 100", "1", " 30"});
    save(fx, QStringLiteral(" Teszt 1 "));
    const QString line = "<  Teszt 1  > P0: 1000,P1:55,P2: 200,P3:  ,P4:abc,P5: 100,P6:1024,"
                         "P7: 30<end>";
    QCOMPARE(fx.prompter.texts(), QStringList{kInputPrompt});
    QCOMPARE(fileBytes(paramPath(fx)), line.toLatin1() + "\r\n");
    QCOMPARE(fx.terminal().store().composedLine(), line);
    // The refresh ends the save: the new set is the list's one row.
    QCOMPARE(listRows(fx.form()), QStringList{line});
    QCOMPARE(fx.form().List1->currentRow(), -1);
}

void TestParamStore::saveAppendsAndLists_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray line = "< T\xE9szt > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,"
                            "P7:30<end>\r\n";
    QTest::newRow("missing file") << false << QByteArray() << line;
    QTest::newRow("after CR LF") << true << QByteArray("a\r\n") << "a\r\n" + line;
    QTest::newRow("after a last line without end") << true << QByteArray("a") << "a\r\n" + line;
    QTest::newRow("UTF-8 file")
        << true << QByteArray("\xC3\xA9\r\n")
        << QByteArray(
               "\xC3\xA9\r\n< T\xC3\xA9szt > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,"
               "P7:30<end>\r\n");
}

void TestParamStore::saveAppendsAndLists()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TerminalFixture fx;
    if (exists)
        putFile(paramPath(fx), before);
    else
        QVERIFY(QFile::remove(paramPath(fx)));
    fillBoxes(fx.form(), kValues, {});
    save(fx, QStringLiteral("Tészt"));
    QCOMPARE(fx.prompter.texts(), QStringList{kInputPrompt});
    QCOMPARE(fileBytes(paramPath(fx)), after);
    QCOMPARE(listRows(fx.form()).last(),
             QStringLiteral("< Tészt > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,"
                            "P7:30<end>"));
}

void TestParamStore::savedSetLoadsBack_data()
{
    QTest::addColumn<QString>("comment");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("whole numbers") << "Teszt 1" << kValues;
    QTest::newRow("leading blanks from reads")
        << "olvasott" << QStringList{" 1234", "50", " 7", "10", "200", "100", "1024", " 30"};
    QTest::newRow("trailing comma")
        << "betöltött" << QStringList{"100,", "50", "200", "10,", "200", "100", "1024", "30,"};
    QTest::newRow("40 000-character comment") << QString(40000, u'k') << kValues;
}

void TestParamStore::savedSetLoadsBack()
{
    QFETCH(QString, comment);
    QFETCH(QStringList, values);
    TerminalFixture fx;
    listFile(fx, "< régi > P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8<end>\r\n");
    fillBoxes(fx.form(), values, {});
    save(fx, comment);
    QCOMPARE(fx.prompter.texts(), QStringList{kInputPrompt});
    fillBoxes(fx.form(), {}, {});
    Form1 &f = fx.form();
    f.List1->setCurrentRow(f.List1->count() - 1);
    fx.run([&] { fx.terminal().list().loadPicked(); });
    QCOMPARE(fx.prompter.texts(), QStringList{kInputPrompt});
    QCOMPARE(newValues(f), values);
    QVERIFY(listRows(f).last().startsWith(QStringLiteral("< ") + comment + QStringLiteral(" > ")));
}

void TestParamStore::failedAppendKeepsTheFile_data()
{
    addFailingSteps();
}

void TestParamStore::failedAppendKeepsTheFile()
{
    QFETCH(FaultyWriter::Step, step);
    QFETCH(QString, reason);
    TerminalFixture fx;
    const QByteArray old = "< a > P0:1,P1:2,P2:3,P3:4,P4:5,P5:6,P6:7,P7:8<end>\r\nb";
    listFile(fx, old);
    fx.form().List1->setCurrentRow(0);
    FaultyWriter writer(step, 2);
    fx.terminal().store().file().setWriter(&writer);
    fillBoxes(fx.form(), kValues, {});
    save(fx, QStringLiteral("c"));
    QCOMPARE(fx.prompter.texts(),
             (QStringList{kInputPrompt, "A paramétersor mentése a KDXparam.txt filébe nem "
                                        "sikerült (" +
                                            reason + "). A file változatlan maradt."}));
    QCOMPARE(fileBytes(paramPath(fx)), old);
    QCOMPARE(QDir(fx.folder()).entryList(QDir::Files | QDir::Hidden), QStringList{"KDXparam.txt"});
    // The list still shows the file as it is.
    QCOMPARE(listRows(fx.form()).size(), 2);
    QCOMPARE(fx.form().List1->currentRow(), 0);
}

void TestParamStore::rewriteWritesTheListQuietly()
{
    TerminalFixture fx;
    listFile(fx, "a\r\n\rb\n\r\n");
    Form1 &f = fx.form();
    SetList &list = fx.terminal().store().list();
    list.insert(list.count(), QString());
    fx.terminal().busyPointer().set(true);
    fx.run([&] { fx.terminal().store().rewriteList(); });
    // Empty rows are written without a message, each line ends in CR LF.
    QVERIFY(fx.prompter.shown.isEmpty());
    QCOMPARE(fileBytes(paramPath(fx)), QByteArray("a\r\n\r\nb\n\r\n\r\n"));
    QCOMPARE(f.List1->currentRow(), 3);
    QCOMPARE(f.mousePointer(), Form1::Pointer::Default);
}

QTEST_MAIN(TestParamStore)
#include "tst_paramstore.moc"
