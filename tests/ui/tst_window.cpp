#include "operations/ticktimer.h"
#include "terminalfixture.h"
#include "widgets/captionbutton.h"
#include "widgets/dialogprompter.h"
#include "widgets/form1.h"
#include "widgets/statuspanel.h"
#include "widgets/tracesurface.h"
#include "widgets/workbenchwindow.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include <algorithm>
#include <cmath>

using namespace kdx;

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void captionAndSize();
    void placesInTwips_data();
    void placesInTwips();
    void parameterRows();
    void hiddenControlsAreOutOfReach_data();
    void hiddenControlsAreOutOfReach();
    void shownControls_data();
    void shownControls();
    void initialValues();
    void monitorLiesOverTheList();
    void directionButtonsOnlyShowTheDirection();
    void typedLengthIsLimitedButCodeIsNot();
    void statusBarPanels();
    void autoTuningOpensTheWorkbench();
    void messageLineBreaks_data();
    void messageLineBreaks();
    void tallButtonsWrapTheirCaptions();
    void shownCaptionsFit();
    void valueBoxesHaveTheirOwnPointer();
    void portPanelFitsItsLongestText();
    void helpPanelShortensWhatDoesNotFit();
    void graphColoursStandOut();
};

namespace {

// Relative luminance contrast of two colours (1 = none, 21 = black on white).
double contrast(const QColor &a, const QColor &b)
{
    auto luminance = [](const QColor &c) {
        auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Whether the window's fonts are the ones its captions were measured with.
bool measuredFonts(const Form1 &f)
{
    return QFontInfo(f.font()).family() == QLatin1String("Liberation Sans");
}

// The status bar after its panels have taken their new widths.
void settle(Form1 &f)
{
    QCoreApplication::sendPostedEvents();
    f.StatusBar1->layout()->activate();
    QCoreApplication::sendPostedEvents();
}

} // namespace

void TestWindow::captionAndSize()
{
    Form1 f;
    QCOMPARE(f.windowTitle(),
             QStringLiteral("KDX terminal (ver.: 2.34_Frissítve : 2016.07.08. - Brenmoor)"));
    QCOMPARE(f.size(), QSize(982, 621));
    QCOMPARE(f.minimumSize(), f.maximumSize());
}

void TestWindow::placesInTwips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Frame1") << "Frame1" << QRect(120, 120, 9975, 4095);
    QTest::newRow("Frame2") << "Frame2" << QRect(10200, 120, 4455, 4095);
    QTest::newRow("Frame3") << "Frame3" << QRect(120, 4320, 14535, 4455);
    QTest::newRow("Frame4") << "Frame4" << QRect(120, 4320, 14535, 4455);
    QTest::newRow("Command3") << "Command3" << QRect(2760, 3360, 975, 495);
    QTest::newRow("Command34") << "Command34" << QRect(120, 3360, 4215, 495);
    QTest::newRow("Text9") << "Text9" << QRect(3360, 2280, 975, 285);
    QTest::newRow("HScroll11") << "HScroll11" << QRect(3360, 2640, 975, 255);
    QTest::newRow("Picture1") << "Picture1" << QRect(720, 240, 9240, 4000);
    QTest::newRow("Combo2") << "Combo2" << QRect(13560, 720, 855, 315);
    QTest::newRow("List1") << "List1" << QRect(240, 240, 9735, 3900);
    QTest::newRow("Command40") << "Command40" << QRect(10200, 3650, 4215, 495);
    QTest::newRow("StatusBar1") << "StatusBar1" << QRect(0, 8940, 14730, 375);
    QTest::newRow("Text17, row 7") << "Text17" << QRect(6600, 480 + 360 * 7, 975, 285);
    QTest::newRow("Command26, row 7") << "Command26" << QRect(8880, 480 + 360 * 7, 975, 255);
}

void TestWindow::placesInTwips()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    Form1 f;
    auto *w = f.findChild<QWidget *>(name);
    QVERIFY(w);
    const QRect px(Form1::twips(twips.x()), Form1::twips(twips.y()), Form1::twips(twips.width()),
                   Form1::twips(twips.height()));
    QCOMPARE(w->geometry(), px);
}

void TestWindow::parameterRows()
{
    Form1 f;
    const QStringList captions = {"P0 - ( Velocity limit )", "P1 - ( Velocity feedback )",
                                  "P2 - ( P - gain )",       "P3 - ( I - gain )",
                                  "P4 - ( Torque limit )",   "P5 - ( EMF )",
                                  "P6 - ( Gear ratio )",     "P7 - ( D - gain )"};
    const int mins[] = {10, 1, 1, 1, 1, 1, 1, 1};
    const int maxs[] = {1000, 5000, 5000, 1000, 250, 5000, 4096, 1000};
    const int starts[] = {10, 1, 1, 1, 1, 1, 256, 1};
    for (int n = 0; n < 8; ++n) {
        const ParamRow r = f.row(n);
        QCOMPARE(r.label->text(), captions[n]);
        QCOMPARE(r.label->y(), Form1::twips(480 + 360 * n));
        QCOMPARE(r.read->text(), QStringLiteral("P%1 Kiolvas").arg(n));
        QCOMPARE(r.test->text(), QStringLiteral("P%1-TESZT").arg(n));
        QCOMPARE(r.save->text(), QStringLiteral("P%1-MENT").arg(n));
        QVERIFY(r.current->text().isEmpty());
        QVERIFY(r.newValue->text().isEmpty());
        QVERIFY(r.current->isReadOnly());
        QVERIFY(!r.newValue->isReadOnly());
        QCOMPARE(r.scroll->minimum(), mins[n]);
        QCOMPARE(r.scroll->maximum(), maxs[n]);
        QCOMPARE(r.scroll->value(), starts[n]);
        QCOMPARE(r.scroll->singleStep(), 1);
        QCOMPARE(r.scroll->pageStep(), 10);
        QVERIFY(!r.scroll->hasTracking());
        QCOMPARE(r.current->font().bold(), true);
        QCOMPARE(r.current->font().pointSizeF(), 9.75);
    }
}

void TestWindow::hiddenControlsAreOutOfReach_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name :
         {"Command4",  "Command5",  "Command6",  "Command7",  "Command8",  "Command9", "Command10",
          "Command11", "Check1",    "Label23",   "Command35", "Label10",   "Label28",  "txtEncoder",
          "Command33", "Command42", "Command39", "Command29", "Command37", "Command38"})
        QTest::newRow(name) << name;
}

void TestWindow::hiddenControlsAreOutOfReach()
{
    QFETCH(QString, name);
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    auto *w = f.findChild<QWidget *>(name);
    QVERIFY(w);
    QVERIFY(!w->isVisible());
    QVERIFY(w->isHidden());
    w->setFocus();
    QVERIFY(!w->hasFocus());
    QVERIFY(f.childAt(w->mapTo(&f, w->rect().center())) != w);
}

void TestWindow::shownControls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Command3") << "Command3"
                              << "Mind KIOLVAS";
    QTest::newRow("Command27") << "Command27"
                               << "Mind TESZT";
    QTest::newRow("Command20") << "Command20"
                               << "Mind MENT";
    QTest::newRow("Command31") << "Command31"
                               << "Feszültség - vezérelt motor futás";
    QTest::newRow("Command32 keeps its leading blank") << "Command32"
                                                       << " PID - szabályozott motor futás";
    QTest::newRow("Label9 keeps two blanks") << "Label9"
                                             << "Sebesség : (PID -  fesz.vezérelt módban):";
    QTest::newRow("Label26") << "Label26"
                             << "Lépés ismétlése P0 értéken ( + - ) :";
    QTest::newRow("Label11") << "Label11"
                             << "Lépés száma :";
    QTest::newRow("Label24") << "Label24"
                             << "Lépések közötti ismétlődés idő :";
    QTest::newRow("Command34") << "Command34"
                               << "STOP / RESET";
    QTest::newRow("Label18") << "Label18"
                             << "+500";
    QTest::newRow("Label17") << "Label17"
                             << "0.";
    QTest::newRow("Label19") << "Label19"
                             << "-500";
    QTest::newRow("Label20") << "Label20"
                             << "Hibajel skála (+ -) :";
    QTest::newRow("Label21 keeps two blanks") << "Label21"
                                              << "Idő skála  :";
    QTest::newRow("Check2") << "Check2"
                            << "Pillanatnyi pozíció hiba :";
    QTest::newRow("Label25") << "Label25"
                             << "Legnagyobb pozíció hiba :";
    QTest::newRow("Command28") << "Command28"
                               << "Nulláz";
    QTest::newRow("Command41") << "Command41"
                               << " KDXparam.txt filében tárolt paraméterek listája";
    QTest::newRow("Command36") << "Command36"
                               << "Kiválasztott paramétersor betöltés teszt sorba";
    QTest::newRow("Command30") << "Command30"
                               << "Kiválasztott paramétersor törlés";
    QTest::newRow("Command40") << "Command40"
                               << "Pozíció hiba monitorozás";
    QTest::newRow("Label15") << "Label15"
                             << "Aktuális érték";
    QTest::newRow("Label27") << "Label27"
                             << "Új érték beállítása";
    QTest::newRow("Label16") << "Label16"
                             << "Új érték";
}

void TestWindow::shownControls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    Form1 f;
    f.show();
    auto *w = f.findChild<QWidget *>(name);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        QCOMPARE(b->text(), caption);
    else if (auto *l = qobject_cast<QLabel *>(w))
        QCOMPARE(l->text(), caption);
    else
        QFAIL("unexpected kind");
}

void TestWindow::initialValues()
{
    Form1 f;
    QCOMPARE(f.Text9->text(), QStringLiteral("2000"));
    QCOMPARE(f.txtEncoder->text(), QStringLiteral("500"));
    for (QLineEdit *box : {f.Text20, f.Text24})
        QCOMPARE(box->text(), QStringLiteral("0"));
    QVERIFY(f.Text20->isReadOnly());
    QVERIFY(f.Check2->isChecked());
    QVERIFY(!f.Check1->isChecked());
    QVERIFY(!f.Check3->isChecked());
    QVERIFY(f.Option1->isChecked());
    QVERIFY(!f.Option2->isChecked());
    QCOMPARE(f.HScroll2->value(), 20);
    QCOMPARE(f.HScroll2->singleStep(), 2);
    QCOMPARE(f.HScroll11->value(), 2000);
    QCOMPARE(f.Label23->text(), QStringLiteral("Olvasás idő : 50"));
    QCOMPARE(f.Combo1->currentText(), QStringLiteral("500"));
    QCOMPARE(f.Combo2->currentText(), QStringLiteral("30"));
    QCOMPARE(f.Combo1->count(), 0);
    QCOMPARE(f.List1->count(), 0);
    QCOMPARE(f.Frame1->title(), QStringLiteral("Paraméterek módosítása"));
    QCOMPARE(f.Frame2->title(), QStringLiteral("Motor teszt"));
    QCOMPARE(f.Frame3->title(), QStringLiteral("KDXparam.txt filében tárolt paraméterek"));
    QCOMPARE(f.Frame4->title(), QStringLiteral("Pozíció hiba monitorozás"));
}

void TestWindow::monitorLiesOverTheList()
{
    Form1 f;
    f.show();
    QVERIFY(f.Frame3->isVisible());
    QVERIFY(f.Frame4->isVisible());
    QCOMPARE(f.childAt(f.Frame4->geometry().center()) == f.Frame4 ||
                 f.Frame4->isAncestorOf(f.childAt(f.Frame4->geometry().center())),
             true);
    // Line1 marks zero error across the graph.
    QCOMPARE(f.Line1->parentWidget(), f.Picture1);
    QCOMPARE(f.Line1->y(), Form1::twips(2010));
    QCOMPARE(f.Line1->width(), f.Picture1->width());
}

void TestWindow::directionButtonsOnlyShowTheDirection()
{
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    // A click where the button is goes past it, as if it were not there.
    QTest::mouseClick(f.windowHandle(), Qt::LeftButton, {},
                      f.Option2->mapTo(&f, f.Option2->rect().center()));
    QVERIFY(!f.Option2->isChecked());
    QVERIFY(f.Option1->isChecked());
    QCOMPARE(f.Option1->focusPolicy(), Qt::NoFocus);
    QCOMPARE(f.Option1->font().pointSizeF(), 12.0);
}

void TestWindow::typedLengthIsLimitedButCodeIsNot()
{
    Form1 f;
    f.show();
    f.row(0).newValue->setFocus();
    QTest::keyClicks(f.row(0).newValue, "1234567");
    QCOMPARE(f.row(0).newValue->text(), QStringLiteral("12345"));
    f.row(0).newValue->setText(QStringLiteral(" 12345,"));
    QCOMPARE(f.row(0).newValue->text(), QStringLiteral(" 12345,"));

    f.Text9->clear();
    QTest::keyClicks(f.Text9, "123456");
    QCOMPARE(f.Text9->text(), QStringLiteral("1234"));
}

void TestWindow::statusBarPanels()
{
    Form1 f;
    QCOMPARE(f.portPanel()->text(),
             QStringLiteral("Mikrokontroller COM Port beállítás : COM1,38400,N,8,1"));
    QCOMPARE(f.portPanel()->toolTip(),
             QStringLiteral("COM port beállítása - kattintson ide másik port választásához"));
    QCOMPARE(f.helpPanel()->text(),
             QStringLiteral("Help : Mozgasd az egér kurzort a gombok vagy érték mező fölé."));
    QCOMPARE(f.helpPanel()->toolTip(), QStringLiteral("Online segítség"));
}

void TestWindow::autoTuningOpensTheWorkbench()
{
    // The button opens the workbench beside the window; nothing goes on the line.
    TerminalFixture fx;
    fx.load();
    QVERIFY(fx.form().AutoTuning->isVisibleTo(&fx.form()));
    fx.form().AutoTuning->click();
    QVERIFY(fx.terminal().workbench());
    QVERIFY(fx.terminal().workbench()->isVisible());
    QVERIFY(fx.prompter.texts().isEmpty());
    QCOMPARE(fx.device().written(), QByteArray());
}

void TestWindow::tallButtonsWrapTheirCaptions()
{
    Form1 f;
    f.show();
    if (!measuredFonts(f))
        QSKIP("captions are measured with Liberation Sans (fonts-liberation2)");
    for (QPushButton *button : {f.Command3, f.Command27, f.Command20}) {
        auto *b = qobject_cast<CaptionButton *>(button);
        QVERIFY(b);
        const QString caption = b->text();
        // One line is too narrow; on two lines the caption fits the button.
        const QRect room = b->captionRect();
        const QFontMetrics fm(b->font());
        QVERIFY(fm.horizontalAdvance(caption) > room.width());
        const QRect laidOut = fm.boundingRect(room, CaptionButton::kCaptionFlags, caption);
        QVERIFY(laidOut.height() >= 2 * fm.height());
        QVERIFY(room.contains(laidOut));
        // What the button says is still the caption itself.
        QVERIFY(!caption.contains(u'\n'));
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(b);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), caption);
    }
}

void TestWindow::shownCaptionsFit()
{
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    if (!measuredFonts(f))
        QSKIP("captions are measured with Liberation Sans (fonts-liberation2)");
    int checked = 0;
    for (QWidget *w : f.findChildren<QWidget *>()) {
        if (!w->isVisible() || w->objectName().startsWith(QLatin1String("StatusPanel")))
            continue;
        const QString what = w->objectName();
        if (auto *b = qobject_cast<CaptionButton *>(w)) {
            const QRect laidOut = b->fontMetrics().boundingRect(
                b->captionRect(), CaptionButton::kCaptionFlags, b->text());
            QVERIFY2(b->captionRect().contains(laidOut), qPrintable(what));
        } else if (auto *c = qobject_cast<QCheckBox *>(w)) {
            QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(what));
        } else if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            QVERIFY2(l->sizeHint().width() <= l->width(), qPrintable(what));
            QVERIFY2(l->fontMetrics().height() <= l->height(), qPrintable(what));
        } else {
            continue;
        }
        ++checked;
    }
    QCOMPARE(checked, 51); // 21 labels, 28 buttons, 2 check boxes
}

void TestWindow::valueBoxesHaveTheirOwnPointer()
{
    Form1 f;
    for (int n = 0; n < 8; ++n) {
        QLineEdit *box = f.row(n).current;
        QVERIFY(box->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(box->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(!box->cursor().pixmap().isNull());
        QCOMPARE(box->cursor().hotSpot(), QPoint(0, 0));
        QVERIFY(f.row(n).newValue->cursor().shape() != Qt::BitmapCursor);
    }
    QVERIFY(!f.StatusPicture->pixmap().isNull());
}

void TestWindow::portPanelFitsItsLongestText()
{
    Form1 f;
    f.show();
    auto *panel = qobject_cast<StatusPanel *>(f.portPanel());
    QVERIFY(panel);
    for (const char *problem :
         {"", " - a mikrokontroller nem válaszol", " - a mikrokontroller válasza értelmezhetetlen",
          " - nincs jogosultság a port használatához", " - a kapcsolat megszakadt",
          " - nincs jogosultság a port használatához (dialout csoporttagság kell)",
          " - a port nem található; kattintson ide másik port választásához",
          " - a portot egy másik program használja"}) {
        for (const char *port : {"COM1", "/dev/ttyUSB0"}) {
            panel->setText(QString::fromUtf8(Form1::kPortPanelFormat).arg(QLatin1String(port)) +
                           QString::fromUtf8(problem));
            settle(f);
            QCOMPARE(panel->shownText(), panel->text());
            QVERIFY(f.StatusBar1->rect().contains(panel->geometry()));
        }
    }
}

void TestWindow::helpPanelShortensWhatDoesNotFit()
{
    Form1 f;
    f.show();
    auto *help = qobject_cast<StatusPanel *>(f.helpPanel());
    QVERIFY(help);
    const QString longest =
        QStringLiteral("Ismétlődve lépteti a motort a kiválasztott irányba a megadott (NEM encoder "
                       "impulzus)lépésjel számmal P0 sebességen.");
    help->setText(longest);
    settle(f);
    // With the port panel at its usual width the longest help text fits.
    if (measuredFonts(f))
        QCOMPARE(help->shownText(), longest);

    // A long link problem narrows the help panel: the text is cut on show only.
    f.portPanel()->setText(QString::fromUtf8(Form1::kPortPanelFormat).arg("/dev/ttyUSB0") +
                           QStringLiteral(" - a mikrokontroller válasza értelmezhetetlen"));
    settle(f);
    QCOMPARE(qobject_cast<StatusPanel *>(f.portPanel())->shownText(), f.portPanel()->text());
    QVERIFY(help->shownText().endsWith(QChar(0x2026)));
    QCOMPARE(help->text(), longest);
    QVERIFY(help->mapTo(f.StatusBar1, help->rect().bottomRight()).x() <= f.StatusBar1->width());
}

void TestWindow::graphColoursStandOut()
{
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    const QColor surface = f.Picture1->grab().toImage().pixelColor(4, 4);
    QVERIFY(contrast(surface, f.Picture1->traceColor()) >= 4.5);
    QVERIFY(contrast(surface, f.Line1->palette().color(QPalette::Window)) >= 3.0);
    // The zero line and the trace are told apart as well.
    QVERIFY(contrast(f.Picture1->traceColor(), f.Line1->palette().color(QPalette::Window)) >= 1.5);
}

void TestWindow::messageLineBreaks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("LF CR LF CR between sentences") << "a .\n\r\n\rB"
                                                   << "a .\n\nB";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\nb";
    QTest::newRow("lone CR") << "a\rb"
                             << "a\nb";
    QTest::newRow("plain") << "a b"
                           << "a b";
}

void TestWindow::messageLineBreaks()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(DialogPrompter::shownText(text), shown);
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
