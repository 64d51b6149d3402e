#include "core/helptable.h"
#include "terminalfixture.h"
#include "widgets/contexthelp.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <memory>
#include <set>

using namespace kdx;

namespace {

const QString kPrevious = QStringLiteral("(előző szöveg)");
const QString kGeneral =
    QStringLiteral("Help : Mozgasd az egér kurzort a gombok vagy érték mező fölé.");
const QString kUnchanged = QStringLiteral("<unchanged>");

// The window with its hover help, shown as the operator sees it.
struct Window {
    Form1 form;
    ContextHelp help{form};

    bool show()
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            return false;
        // The pointer starts on the status bar, where no control has help:
        // a move to where the last test left it would be no move at all.
        moveTo(form.StatusBar1, QPoint(1, 1));
        return true;
    }
    // The lower half shows the stored parameter sets instead of the monitor.
    void showList()
    {
        form.Frame4->hide();
        form.Frame3->show();
    }
    QString panel() const { return form.helpPanel()->text(); }
    void setPanel(const QString &text) { form.helpPanel()->setText(text); }

    // A real mouse move through the window, to a point of the given widget.
    void moveTo(QWidget *w, QPoint at)
    {
        QTest::mouseMove(form.windowHandle(), w == &form ? at : w->mapTo(&form, at));
    }
    void moveTo(QWidget *w) { moveTo(w, w->rect().center()); }
    void moveTo(const QString &name) { moveTo(control(name)); }

    QWidget *control(const QString &name)
    {
        if (name == form.objectName())
            return &form;
        return form.findChild<QWidget *>(name);
    }
};

// A point of a frame's own background: below its title, left of every control.
QPoint frameBackground(QGroupBox *frame)
{
    return {3, frame->height() / 2};
}

class LocaleScope {
public:
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_saved); }

private:
    QLocale m_saved;
};

} // namespace

class TestContextHelp : public QObject {
    Q_OBJECT
private slots:
    void tableHasEveryEntry();
    void entriesBelongToControlsOfTheWindow_data();
    void entriesBelongToControlsOfTheWindow();
    void controlsWithoutHelp_data();
    void controlsWithoutHelp();
    void computedEntries_data();
    void computedEntries();
    void fixedEntries_data();
    void fixedEntries();
    void backgroundsPutBackTheirHint_data();
    void backgroundsPutBackTheirHint();
    void controlsWithoutHelpLeaveThePanel_data();
    void controlsWithoutHelpLeaveThePanel();
    void listScrollBarLeavesThePanel();
    void zeroLineLetsTheMouseThroughToTheGraph();
    void hiddenAndUnselectableControlsNeverShowTheirs_data();
    void hiddenAndUnselectableControlsNeverShowTheirs();
    void disabledControlLetsItsFrameAnswer();
    void otherWritesToThePanelStay();
    void theTerminalsWindowHasTheHelp();
};

void TestContextHelp::tableHasEveryEntry()
{
    const auto entries = helpEntries();
    QCOMPARE(int(entries.size()), 73);
    std::set<QString> controls;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QCOMPARE(entries[i].number, int(i) + 1);
        QVERIFY(controls.insert(QString::fromLatin1(entries[i].control)).second);
        QCOMPARE(helpEntry(QString::fromLatin1(entries[i].control)), &entries[i]);
        QVERIFY(entries[i].text);
        QCOMPARE(entries[i].fallback != nullptr, entries[i].kind != HelpEntry::Kind::Text);
    }
    // The window and the frames; the frames stand for their own background only.
    QCOMPARE(QString::fromUtf8(helpEntry(u"Form1")->text), kGeneral);
    for (const char16_t *frame : {u"Frame1", u"Frame2", u"Frame4"})
        QCOMPARE(QString::fromUtf8(helpEntry(frame)->text), kGeneral);
    QCOMPARE(QString::fromUtf8(helpEntry(u"Frame3")->text), QStringLiteral("Segítség helye..."));
}

void TestContextHelp::entriesBelongToControlsOfTheWindow_data()
{
    QTest::addColumn<int>("index");
    for (const HelpEntry &e : helpEntries())
        QTest::newRow(e.control) << e.number - 1;
}

void TestContextHelp::entriesBelongToControlsOfTheWindow()
{
    QFETCH(int, index);
    const HelpEntry &e = helpEntries()[std::size_t(index)];
    Window w;
    QWidget *control = w.control(QString::fromLatin1(e.control));
    QVERIFY(control);
    // The computed entries read their own box.
    if (e.kind != HelpEntry::Kind::Text)
        QVERIFY(qobject_cast<QLineEdit *>(control));
}

void TestContextHelp::controlsWithoutHelp_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"HScroll2", "HScroll3", "HScroll9", "HScroll11", "Combo1", "Combo2",
                             "Label1", "Label9", "Label15", "Label25", "Command35", "Command37",
                             "Command38", "Command42", "StatusBar1", "Line1"})
        QTest::newRow(name) << name;
}

void TestContextHelp::controlsWithoutHelp()
{
    QFETCH(QString, name);
    Form1 f;
    QVERIFY(f.findChild<QWidget *>(name));
    QCOMPARE(helpEntry(name), nullptr);
}

void TestContextHelp::computedEntries_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("shown"); // kUnchanged: the panel keeps its text

    const QString t5 = "Microcontrollerben jelenleg használt torque limit érték. ";
    const QString t14 = "Új torque limit érték. ";
    const QString t7 = "Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , "
                       "1024=1:1). Áttétel : 1:";
    const QString t16 =
        "Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1). Áttétel : 1:";
    const QString f7 =
        "Microcontrollerben jelenleg használt gear ratio érték (áttétel : 256=1:4 , 1024=1:1).";
    const QString f16 = "Új beállított gear ratio érték (áttétel : 256=1:4 , 1024=1:1).";

    const QLocale hu(QLocale::Hungarian, QLocale::Hungary);
    const QLocale c = QLocale::c();
    for (const QLocale &l : {hu, c}) {
        const QString sep = l == hu ? QStringLiteral(",") : QStringLiteral(".");
        const QString tag = l == hu ? QStringLiteral("hu: ") : QStringLiteral("C: ");
        auto row = [&](const char *name) -> QTestData & {
            return QTest::newRow(qPrintable(tag + QLatin1String(name)));
        };
        row("Text5 128 is 50 %") << l << "Text5"
                                 << "128" << t5 + "(PWM : 50 %)";
        row("Text14 256 is 100 %") << l << "Text14"
                                   << "256" << t14 + "(PWM : 100 %)";
        row("Text5 as read-all leaves it") << l << "Text5"
                                           << " 200" << t5 + "(PWM : 78" + sep + "125 %)";
        row("Text14 100 has a fraction") << l << "Text14"
                                         << "100" << t14 + "(PWM : 39" + sep + "0625 %)";
        row("Text5 empty") << l << "Text5"
                           << "" << t5;
        row("Text14 empty: no trailing blank") << l << "Text14"
                                               << ""
                                               << "Új torque limit érték.";
        row("Text14 letters") << l << "Text14"
                              << "abc"
                              << "Új torque limit érték.";
        row("Text5 negative") << l << "Text5"
                              << "-128" << t5 + "(PWM : -50 %)";
        row("Text16 512 is 1:2") << l << "Text16"
                                 << "512" << t16 + "2";
        row("Text7 256 is 1:4") << l << "Text7"
                                << "256" << t7 + "4";
        row("Text7 1024 is 1:1") << l << "Text7"
                                 << " 1024" << t7 + "1";
        row("Text7 3: 15 significant digits") << l << "Text7"
                                              << "3" << t7 + "341" + sep + "333333333333";
        row("Text16 0 keeps the panel") << l << "Text16"
                                        << "0" << kUnchanged;
        row("Text7 0 keeps the panel") << l << "Text7"
                                       << "0" << kUnchanged;
        row("Text16 empty") << l << "Text16"
                            << "" << f16;
        row("Text7 letters") << l << "Text7"
                             << "P6" << f7;
        row("Text14 too large to convert") << l << "Text14"
                                           << "1e999" << kUnchanged;
        row("Text7 quotient too large") << l << "Text7"
                                        << "1e-310" << kUnchanged;
        row("Text14 in the operator's format") << l << "Text14"
                                               << "12" + sep + "8" << t14 + "(PWM : 5 %)";
    }
    QTest::newRow("hu: a point is no separator") << hu << "Text14"
                                                 << "12.8"
                                                 << "Új torque limit érték.";
    QTest::newRow("C: a comma is no separator") << c << "Text16"
                                                << "2,5" << f16;
}

void TestContextHelp::computedEntries()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, control);
    QFETCH(QString, box);
    QFETCH(QString, shown);
    LocaleScope scope(locale);
    Window w;
    QVERIFY(w.show());
    auto *edit = qobject_cast<QLineEdit *>(w.control(control));
    QVERIFY(edit);
    edit->setText(box);
    w.setPanel(kPrevious);
    w.moveTo(edit);
    QCOMPARE(w.panel(), shown == kUnchanged ? kPrevious : shown);
    QCOMPARE(edit->text(), box); // only read
}

void TestContextHelp::fixedEntries_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("list"); // in the stored-sets frame
    QTest::addColumn<QString>("shown");

    QTest::newRow("Command3") << "Command3" << false
                              << "Microcontrollerben jelenleg használt összes érték kiolvasása";
    QTest::newRow("AutoTuning, shown now")
        << "AutoTuning" << false << "Automata motor paraméter beállítás .";
    QTest::newRow("Text1, trailing blank")
        << "Text1" << false
        << "Microcontrollerben jelenleg használt velocity limit (sebesség határ) érték. ";
    QTest::newRow("Text2, no full stop")
        << "Text2" << false
        << "Microcontrollerben jelenleg használt velocity feedback (sebesség visszajelzés) érték";
    QTest::newRow("Text10, two blanks") << "Text10" << false
                                        << "Új velocity limit értéket itt adhatsz meg .  Scroll "
                                           "bar értéke ide kerül.";
    QTest::newRow("Text15, EMS") << "Text15" << false
                                 << "Új EMS feedback értéket itt adhatsz meg . Scroll bar értéke "
                                    "ide kerül.";
    QTest::newRow("Command1, microconroller")
        << "Command1" << false
        << "Új velocity limit értéket elküldöd a microconrollerbe mentés nélkül (teszt érték).";
    QTest::newRow("Command26") << "Command26" << false
                               << "Új D gain értéket elküldöd a microconrollerbe , új érték "
                                  "mentéssel.";
    QTest::newRow("Command20") << "Command20" << false
                               << "Minden új értéket elküldöd a microconrollerbe , új értékek "
                                  "mentéssel.";
    QTest::newRow("Command32") << "Command32" << false
                               << "Motor futás PID szabályozott módban a fordulatszám scroll "
                                  "baron beállított sebességen.";
    QTest::newRow("Command34") << "Command34" << false << "Motor futás leállítása + RESET .";
    QTest::newRow("Check3") << "Check3" << false
                            << "Ismétlődve lépteti a motort a kiválasztott irányba a megadott "
                               "(NEM encoder impulzus)lépésjel számmal P0 sebességen.";
    QTest::newRow("Text9") << "Text9" << false
                           << "Léptetés P0 sebességen . 1 motor fordulat = encoder felbontása × 4";
    QTest::newRow("Check2") << "Check2" << false
                            << "Pozíció hiba mérés be-kikapcsolható . Nem minden KDX "
                               "mikrokontroller programban elérhető funkció !";
    QTest::newRow("Picture1") << "Picture1" << false
                              << "Pillanatnyi pozíció hiba grafikus megjelenítése.";
    QTest::newRow("Text20") << "Text20" << false << "Pillanatnyi pozíció hiba . ";
    QTest::newRow("Text24") << "Text24" << false << "Legnagyobb pozíció hiba . ";
    QTest::newRow("Command28") << "Command28" << false
                               << "Legnagyobb és pillanatnyi pozíció hiba érték nullázása .";
    QTest::newRow("Command41") << "Command41" << false
                               << "Monitorozás bezárása . KDXparam.txt file-ben tárolt paraméter "
                                  "listák megjelenítése .";
    QTest::newRow("List1") << "List1" << true << "Filében tárolt paraméterlista. ";
    QTest::newRow("Command36") << "Command36" << true
                               << "A filében tárolt paraméterlista betöltése , megnyitása.";
    QTest::newRow("Command30") << "Command30" << true
                               << "KDXparam.txt filéből kiválasztott paramétersor törlése.";
    QTest::newRow("Command40") << "Command40" << true
                               << "KDXparam.txt file bezárás , monitorozás megnyitása .";
}

void TestContextHelp::fixedEntries()
{
    QFETCH(QString, control);
    QFETCH(bool, list);
    QFETCH(QString, shown);
    Window w;
    if (list)
        w.showList();
    QVERIFY(w.show());
    w.setPanel(kPrevious);
    w.moveTo(control);
    QCOMPARE(w.panel(), shown);
}

void TestContextHelp::backgroundsPutBackTheirHint_data()
{
    QTest::addColumn<QString>("background");
    QTest::addColumn<bool>("list");
    QTest::addColumn<QString>("shown");
    QTest::newRow("window") << "Form1" << false << kGeneral;
    QTest::newRow("Frame1") << "Frame1" << false << kGeneral;
    QTest::newRow("Frame2") << "Frame2" << false << kGeneral;
    QTest::newRow("Frame4") << "Frame4" << false << kGeneral;
    QTest::newRow("Frame3") << "Frame3" << true << "Segítség helye...";
}

void TestContextHelp::backgroundsPutBackTheirHint()
{
    QFETCH(QString, background);
    QFETCH(bool, list);
    QFETCH(QString, shown);
    Window w;
    if (list)
        w.showList();
    QVERIFY(w.show());
    QPushButton *button = list ? w.form.Command30 : w.form.Command34;
    w.moveTo(button);
    QVERIFY(w.panel() != shown);

    QWidget *target = w.control(background);
    if (auto *frame = qobject_cast<QGroupBox *>(target)) {
        w.moveTo(frame, frameBackground(frame));
    } else {
        // Between the two upper frames.
        const QPoint gap((w.form.Frame1->geometry().right() + w.form.Frame2->x()) / 2,
                         w.form.Frame1->geometry().center().y());
        QCOMPARE(w.form.childAt(gap), nullptr);
        w.moveTo(&w.form, gap);
    }
    QCOMPARE(w.panel(), shown);
}

void TestContextHelp::controlsWithoutHelpLeaveThePanel_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("part"); // a part of the control, or empty
    for (const char *name :
         {"HScroll3", "HScroll10",  "HScroll2",     "HScroll11",    "Label1",
          "Label6",   "Label15",    "Label27",      "Label16",      "Label9",
          "Label26",  "Label11",    "Label24",      "Label18",      "Label17",
          "Label19",  "Label20",    "Label21",      "Label25",      "Combo1",
          "Combo2",   "StatusBar1", "StatusPanel1", "StatusPanel2", "StatusPicture"})
        QTest::newRow(name) << name << "";
    QTest::newRow("Combo1 edit field") << "Combo1"
                                       << "edit";
    QTest::newRow("Combo2 arrow") << "Combo2"
                                  << "arrow";
}

void TestContextHelp::controlsWithoutHelpLeaveThePanel()
{
    QFETCH(QString, control);
    QFETCH(QString, part);
    Window w;
    QVERIFY(w.show());
    const QString buttonHelp = QString::fromUtf8(helpEntry(u"Command28")->text);
    w.moveTo(w.form.Command28);
    QCOMPARE(w.panel(), buttonHelp);

    QWidget *target = w.control(control);
    QVERIFY(target && target->isVisible());
    if (part == "edit") {
        target = static_cast<QComboBox *>(target)->lineEdit();
        w.moveTo(target);
    } else if (part == "arrow") {
        w.moveTo(target, QPoint(target->width() - 4, target->height() / 2));
    } else {
        w.moveTo(target);
    }
    QCOMPARE(w.panel(), buttonHelp);
}

void TestContextHelp::listScrollBarLeavesThePanel()
{
    Window w;
    w.showList();
    for (int i = 0; i < 60; ++i)
        w.form.List1->addItem(QStringLiteral("< sor %1 > P0:100,P1:1,P2:1,P3:1,P4:1,P5:1,P6:256,"
                                             "P7:1<end>")
                                  .arg(i));
    QVERIFY(w.show());
    QScrollBar *bar = w.form.List1->verticalScrollBar();
    QVERIFY(bar->isVisible());

    w.moveTo(w.form.List1);
    QCOMPARE(w.panel(), QStringLiteral("Filében tárolt paraméterlista. "));
    w.moveTo(w.form.Command30);
    w.moveTo(bar);
    QCOMPARE(w.panel(), QStringLiteral("KDXparam.txt filéből kiválasztott paramétersor törlése."));
}

void TestContextHelp::zeroLineLetsTheMouseThroughToTheGraph()
{
    Window w;
    QVERIFY(w.show());
    w.moveTo(w.form.Command28);
    w.moveTo(w.form.Line1, QPoint(40, 0));
    QCOMPARE(w.panel(), QStringLiteral("Pillanatnyi pozíció hiba grafikus megjelenítése."));
}

void TestContextHelp::hiddenAndUnselectableControlsNeverShowTheirs_data()
{
    QTest::addColumn<QString>("control");
    for (const HelpEntry &e : helpEntries()) {
        const int n = e.number;
        if ((n >= 7 && n <= 9) || (n >= 11 && n <= 18) || n == 55 || n == 58 || n == 59 ||
            n == 61 || n == 67 || n == 70)
            QTest::newRow(e.control) << e.control;
    }
}

void TestContextHelp::hiddenAndUnselectableControlsNeverShowTheirs()
{
    QFETCH(QString, control);
    Window w;
    QVERIFY(w.show());
    QWidget *target = w.control(control);
    const QString own = QString::fromUtf8(helpEntry(control)->text);
    QVERIFY(target);
    const QRect r = target->rect();
    for (const QPoint at :
         {r.center(), r.topLeft() + QPoint(2, 2), r.bottomRight() - QPoint(2, 2)}) {
        w.setPanel(kPrevious);
        w.moveTo(target, at);
        QVERIFY2(w.panel() != own, qPrintable(w.panel()));
    }
    // The direction buttons let the mouse through to their frame.
    if (control.startsWith("Option")) {
        w.setPanel(kPrevious);
        w.moveTo(target, r.center() + QPoint(1, 0));
        QCOMPARE(w.panel(), kGeneral);
    }
}

void TestContextHelp::disabledControlLetsItsFrameAnswer()
{
    Window w;
    QVERIFY(w.show());
    const QString own = QString::fromUtf8(helpEntry(u"Check2")->text);
    w.moveTo(w.form.Check2);
    QCOMPARE(w.panel(), own);

    // As after a voltage run: the switch takes no mouse moves.
    w.form.Check2->setEnabled(false);
    w.moveTo(w.form.Command28);
    w.moveTo(w.form.Check2, w.form.Check2->rect().center() + QPoint(2, 0));
    QCOMPARE(w.panel(), kGeneral);

    w.form.Check2->setEnabled(true);
    w.moveTo(w.form.Check2, w.form.Check2->rect().center() + QPoint(4, 0));
    QCOMPARE(w.panel(), own);
}

void TestContextHelp::otherWritesToThePanelStay()
{
    Window w;
    QVERIFY(w.show());
    w.moveTo(w.form.Command34);
    const QString sampling = QStringLiteral("Mintavételi sebesség (ms) : 5");
    w.setPanel(sampling);
    w.moveTo(w.form.HScroll2);
    QCOMPARE(w.panel(), sampling);
}

void TestContextHelp::theTerminalsWindowHasTheHelp()
{
    TerminalFixture fx;
    fx.answerLikeController({"1000", "50", "200", "10", "128", "100", "512", "30"});
    QVERIFY(fx.load());
    Form1 &f = fx.form();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCoreApplication::sendPostedEvents(); // the first actions, if they have not run yet
    QCOMPARE(f.row(6).current->text(), QStringLiteral(" 512"));

    QTest::mouseMove(f.windowHandle(),
                     f.row(4).current->mapTo(&f, f.row(4).current->rect().center()));
    QCOMPARE(
        f.helpPanel()->text(),
        QStringLiteral("Microcontrollerben jelenleg használt torque limit érték. (PWM : 50 %)"));
    QTest::mouseMove(f.windowHandle(),
                     f.row(6).current->mapTo(&f, f.row(6).current->rect().center()));
    QCOMPARE(f.helpPanel()->text(),
             QStringLiteral("Microcontrollerben jelenleg használt gear ratio érték (áttétel : "
                            "256=1:4 , 1024=1:1). Áttétel : 1:2"));
    QTest::mouseMove(f.windowHandle(), QPoint(f.width() / 2, f.Frame1->geometry().bottom() + 3));
    QCOMPARE(f.helpPanel()->text(), kGeneral);
}

QTEST_MAIN(TestContextHelp)
#include "tst_contexthelp.moc"
