// The stored-set list in the shown window, worked with the mouse and the
// keyboard: only a row the operator has picked is loaded or deleted. Focus
// entering the list, a refresh or a delete never picks one by itself.

#include "../paramfile/filebytes.h"
#include "terminalfixture.h"
#include "widgets/form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

using namespace kdx;

namespace {

const QString kLoadMessage = QStringLiteral(
    "Hibás vagy nem teljes motor paraméter sor .\n\r\n\rVálassz a listából! ( Klikkelj a listából "
    "egy sorra , majd betöltés gomb . )");
const QString kDeleteQuestion = QStringLiteral("Biztos, hogy töröljem a paramétersort ?");
const QString kPickToDelete = QStringLiteral("Válassz törlendő paramétersort.");
const QString kEmptyRow = QStringLiteral("Üres paramétersor nem betölthető.");

const QByteArray kRowA = "< A > P0:1000,P1:50,P2:200,P3:10,P4:200,P5:100,P6:1024,P7:30<end>";
const QByteArray kRowB = "< B > P0:500,P1:5,P2:20,P3:1,P4:250,P5:10,P6:256,P7:3<end>";
const QByteArray kRowC = "< C > P0:10,P1:1,P2:1,P3:1,P4:1,P5:1,P6:1,P7:1<end>";
const QStringList kValuesB{"500", "5", "20", "1", "250", "10", "256", "3"};
const QStringList kValuesC{"10", "1", "1", "1", "1", "1", "1", "1"};

QByteArray lines(const QList<QByteArray> &rows)
{
    QByteArray out;
    for (const QByteArray &r : rows)
        out += r + "\r\n";
    return out;
}

// The running terminal, its window shown and active, the list frame in front.
struct Window {
    explicit Window(const QByteArray &file)
    {
        QFile out(path());
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(file);
        out.close();
        fx.answerLikeController();
    }
    bool open()
    {
        if (!fx.load())
            return false;
        form().show();
        if (!QTest::qWaitForWindowActive(&form()))
            return false;
        // The first actions have read the controller.
        if (!QTest::qWaitFor([this] { return !form().row(7).current->text().isEmpty(); }))
            return false;
        QTest::mouseClick(form().Command41, Qt::LeftButton);
        return form().Frame3->isVisible() && !form().Frame4->isVisible();
    }
    Form1 &form() { return fx.form(); }
    QString path() const { return QDir(fx.folder()).filePath(QStringLiteral("KDXparam.txt")); }

    // Moves the keyboard focus on with Tab until it reaches the list.
    bool tabIntoList()
    {
        for (int i = 0; i < 200 && QApplication::focusWidget() != form().List1; ++i) {
            QWidget *focus = QApplication::focusWidget();
            if (!focus)
                return false;
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        return QApplication::focusWidget() == form().List1;
    }
    void clickRow(int row)
    {
        QListWidget *list = form().List1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void clickBelowRows()
    {
        QListWidget *list = form().List1;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(20, list->viewport()->height() - 5));
    }
    void deleteAnsweringYes()
    {
        fx.prompter.answers.push_back(true);
        QTest::mouseClick(form().Command30, Qt::LeftButton);
    }
    QStringList newValues()
    {
        QStringList values;
        for (int n = 0; n < 8; ++n)
            values << form().row(n).newValue->text();
        return values;
    }

    TerminalFixture fx;
};

using Operator = std::function<bool(Window &)>;

} // namespace

Q_DECLARE_METATYPE(Operator)

class TestE2eParamSets : public QObject {
    Q_OBJECT
private slots:
    void onlyTheOperatorsPickCounts_data();
    void onlyTheOperatorsPickCounts();
};

void TestE2eParamSets::onlyTheOperatorsPickCounts_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Operator>("does");
    QTest::addColumn<QByteArray>("fileAfter"); // what the operator's own steps left in the file
    QTest::addColumn<QStringList>("loads");    // empty: no row picked
    QTest::addColumn<QByteArray>("deleteLeaves");

    const QByteArray three = lines({kRowA, kRowB, kRowC});
    const Operator nothing = [](Window &) { return true; };
    QTest::newRow("frame shown") << three << nothing << three << QStringList() << three;
    QTest::newRow("Tab into the list")
        << three << Operator([](Window &w) { return w.tabIntoList(); }) << three << QStringList()
        << three;
    QTest::newRow("Tab into a list that starts with an empty row")
        << lines({"", kRowB}) << Operator([](Window &w) { return w.tabIntoList(); })
        << lines({"", kRowB}) << QStringList() << lines({"", kRowB});
    QTest::newRow("click below the rows") << three << Operator([](Window &w) {
        w.clickBelowRows();
        return w.form().List1->hasFocus();
    }) << three << QStringList() << three;
    QTest::newRow("refresh after a pick") << three << Operator([](Window &w) {
        w.clickRow(1);
        emit w.form().Command29->clicked();
        return w.tabIntoList();
    }) << three << QStringList() << three;
    QTest::newRow("delete moves the rows up") << three << Operator([](Window &w) {
        w.clickRow(0);
        w.deleteAnsweringYes();
        return w.tabIntoList();
    }) << lines({kRowB, kRowC}) << QStringList()
                                              << lines({kRowB, kRowC});
    // The operator's own picks still count.
    QTest::newRow("row clicked") << three << Operator([](Window &w) {
        w.clickRow(2);
        return true;
    }) << three << kValuesC << lines({kRowA, kRowB});
    QTest::newRow("Tab in, then down a row") << three << Operator([](Window &w) {
        if (!w.tabIntoList())
            return false;
        QTest::keyClick(w.form().List1, Qt::Key_Down);
        return true;
    }) << three << kValuesB << lines({kRowA, kRowC});
}

void TestE2eParamSets::onlyTheOperatorsPickCounts()
{
    QFETCH(QByteArray, file);
    QFETCH(Operator, does);
    QFETCH(QByteArray, fileAfter);
    QFETCH(QStringList, loads);
    QFETCH(QByteArray, deleteLeaves);

    Window w(file);
    QVERIFY(w.open());
    QVERIFY(does(w));
    QCOMPARE(fileBytes(w.path()), fileAfter);
    // Nothing the operator did here is a pick of an empty row.
    QVERIFY2(!w.fx.prompter.texts().contains(kEmptyRow),
             qPrintable(w.fx.prompter.texts().join(u'|')));
    w.fx.prompter.clear();

    for (int n = 0; n < 8; ++n)
        w.form().row(n).newValue->setText(QStringLiteral("9"));
    QTest::mouseClick(w.form().Command36, Qt::LeftButton);
    if (loads.isEmpty()) {
        QCOMPARE(w.fx.prompter.texts(), QStringList{kLoadMessage});
        QCOMPARE(w.newValues(), QStringList(8, QString()));
    } else {
        QVERIFY2(w.fx.prompter.shown.isEmpty(), qPrintable(w.fx.prompter.texts().join(u'|')));
        QCOMPARE(w.newValues(), loads);
    }

    w.fx.prompter.clear();
    w.deleteAnsweringYes();
    if (loads.isEmpty())
        QCOMPARE(w.fx.prompter.texts(), (QStringList{kDeleteQuestion, kPickToDelete}));
    else
        QCOMPARE(w.fx.prompter.texts(), QStringList{kDeleteQuestion});
    QCOMPARE(fileBytes(w.path()), deleteLeaves);
}

QTEST_MAIN(TestE2eParamSets)
#include "tst_e2e_paramsets.moc"
