#include "form1.h"

#include "appicon.h"
#include "artwork.h"
#include "captionbutton.h"
#include "core/helptable.h"
#include "core/paramtable.h"
#include "core/utf8.h"
#include "statuspanel.h"
#include "tracesurface.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QValidator>

namespace kdx {

const char *const Form1::kCaption =
    QT_TRANSLATE_NOOP("kdx::Form1", "KDX terminal (ver.: 2.34_Frissítve : 2016.07.08. - Brenmoor)");
const char *const Form1::kGeneralHint = kGeneralHelpText;
const char *const Form1::kPortPanelFormat =
    QT_TRANSLATE_NOOP("kdx::Form1", "Mikrokontroller COM Port beállítás : %1,38400,N,8,1");

QString Form1::portPanelText(const QString &port)
{
    return tr(kPortPanelFormat).arg(port);
}

namespace {

// Limits what the operator types; texts set by code are not limited.
class TypedLengthLimit : public QValidator {
public:
    TypedLengthLimit(int length, QObject *parent) : QValidator(parent), m_length(length) {}
    State validate(QString &input, int &) const override
    {
        return input.size() > m_length ? Invalid : Acceptable;
    }

private:
    int m_length;
};

void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(Form1::twips(left), Form1::twips(top), Form1::twips(width),
                   Form1::twips(height));
}

template <class W> W *make(QWidget *parent, const char *name, int l, int t, int w, int h)
{
    auto *widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    place(widget, l, t, w, h);
    return widget;
}

// A control the operator never sees or reaches; it keeps its value and its
// click can still be run by code.
template <class W> W *concealed(W *widget)
{
    widget->hide();
    widget->setFocusPolicy(Qt::NoFocus);
    return widget;
}

// The window's fonts by the names its layout was drawn with; where they are
// missing, faces of the same metrics stand in.
void substituteFonts()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"),
                                QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitutions(QStringLiteral("Arial"), {QStringLiteral("Liberation Sans")});
}

QFont sansFont()
{
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPointSizeF(8.25);
    return f;
}

QFont valueFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(9.75);
    f.setBold(true);
    return f;
}

QFont boldSansFont()
{
    QFont f = sansFont();
    f.setBold(true);
    return f;
}

QFont optionFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(12);
    return f;
}

template <class L = QLabel>
L *label(QWidget *parent, const char *name, const QString &caption, int l, int t, int w, int h)
{
    auto *x = make<L>(parent, name, l, t, w, h);
    x->setText(caption);
    return x;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                    int h)
{
    auto *x = make<CaptionButton>(parent, name, l, t, w, h);
    x->setText(caption);
    x->setAutoDefault(false);
    return x;
}

QLineEdit *textBox(QWidget *parent, const char *name, const char *text, int l, int t, int w, int h)
{
    auto *x = make<QLineEdit>(parent, name, l, t, w, h);
    x->setText(utf8(text));
    return x;
}

QLineEdit *valueBox(QWidget *parent, const char *name, const char *text, int l, int t, int w, int h,
                    int maxTyped)
{
    auto *x = textBox(parent, name, text, l, t, w, h);
    x->setAlignment(Qt::AlignCenter);
    if (maxTyped > 0)
        x->setValidator(new TypedLengthLimit(maxTyped, x));
    return x;
}

QScrollBar *scrollBar(QWidget *parent, const char *name, int min, int max, int small, int large,
                      int value, int l, int t, int w, int h)
{
    auto *x = make<QScrollBar>(parent, name, l, t, w, h);
    x->setOrientation(Qt::Horizontal);
    x->setRange(min, max);
    x->setSingleStep(small);
    x->setPageStep(large);
    x->setValue(value);
    // A drag counts only where the thumb is let go.
    x->setTracking(false);
    return x;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                    int h, bool checked)
{
    auto *x = make<QCheckBox>(parent, name, l, t, w, h);
    x->setText(caption);
    x->setChecked(checked);
    return x;
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, int l, int t, int w,
                 int h)
{
    auto *x = make<QGroupBox>(parent, name, l, t, w, h);
    x->setTitle(caption);
    x->setAutoFillBackground(true); // a frame hides whatever lies under it
    return x;
}

} // namespace

Form1::Form1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr(kCaption));
    setWindowIcon(programIcon());
    substituteFonts();
    setFont(sansFont());
    setFixedSize(twips(kClientWidthTwips), twips(kClientHeightTwips));

    Frame1 = frame(this, "Frame1", tr("Paraméterek módosítása"), 120, 120, 9975, 4095);
    Frame2 = frame(this, "Frame2", tr("Motor teszt"), 10200, 120, 4455, 4095);
    Frame3 = frame(this, "Frame3", tr("KDXparam.txt filében tárolt paraméterek"), 120, 4320, 14535,
                   4455);
    Frame4 = frame(this, "Frame4", tr("Pozíció hiba monitorozás"), 120, 4320, 14535, 4455);
    Frame4->raise(); // the monitor lies over the list at start

    buildParameterFrame();
    buildMotorFrame();
    buildMonitorFrame();
    buildFileFrame();
    buildStatusBar();
}

Form1::~Form1() = default;

void Form1::buildParameterFrame()
{
    QWidget *f = Frame1;
    // Row by row, from the parameter table: name, hidden read button,
    // current value, scrollbar, new value, test and save buttons.
    Label15 = label(f, "Label15", tr("Aktuális érték"), 2760, 240, 1215, 255);
    Label27 = label(f, "Label27", tr("Új érték beállítása"), 3960, 240, 1815, 255);
    Label16 = label(f, "Label16", tr("Új érték"), 6600, 240, 975, 255);

    const QCursor valueCursor = valuePointer(devicePixelRatioF());
    for (const ParamSpec &p : paramTable()) {
        const int n = int(&p - paramTable().data());
        const int top = 480 + 360 * n;
        const QString word = commandWord(n);
        ParamRow &r = m_rows.at(std::size_t(n));
        r.label = label(f, p.label, paramCaption(n), 240, top, p.labelWidth, p.labelHeight);
        r.label->setFont(valueFont());
        r.read =
            concealed(button(f, p.readButton, tr("%1 Kiolvas").arg(word), 1560, top, 975, 255));
        r.current = valueBox(f, p.currentBox, "", 2760, top, 975, 285, 0);
        r.current->setReadOnly(true);
        r.current->setFont(valueFont());
        r.current->setCursor(valueCursor);
        r.scroll = scrollBar(f, p.scrollBar, p.scrollMin, p.scrollMax, 1, 10, p.scrollStart, 3960,
                             top, 2415, 255);
        r.newValue = valueBox(f, p.newBox, "", 6600, top, 975, 285, 5);
        r.newValue->setFont(valueFont());
        r.test = button(f, p.testButton, tr("%1-TESZT").arg(word), 7800, top, 975, 255);
        r.save = button(f, p.saveButton, tr("%1-MENT").arg(word), 8880, top, 975, 255);
    }

    Command3 = button(f, "Command3", tr("Mind KIOLVAS"), 2760, 3360, 975, 495);
    Command27 = button(f, "Command27", tr("Mind TESZT"), 7800, 3360, 975, 495);
    Command20 = button(f, "Command20", tr("Mind MENT"), 8880, 3360, 975, 495);
    for (QPushButton *b : {Command3, Command27, Command20})
        b->setFont(boldSansFont());

    Check1 = concealed(
        checkBox(f, "Check1", tr("Új értéket azonnal elküld."), 3960, 3360, 2415, 255, false));
    AutoTuning = button(f, "AutoTuning", tr("Auto TUNING"), 6600, 3360, 975, 495);
    Label23 = concealed(label(f, "Label23", tr("Olvasás idő : 50"), 240, 3360, 1575, 255));
    Command35 = concealed(button(f, "Command35", tr("Töröl"), 2400, 4200, 1695, 375));
    Label10 = concealed(label(f, "Label10", QStringLiteral("?"), 2280, 120, 1095, 255));
}

void Form1::buildMotorFrame()
{
    QWidget *f = Frame2;
    Command31 =
        button(f, "Command31", tr("Feszültség - vezérelt motor futás"), 120, 480, 4215, 255);
    Command32 = button(f, "Command32", tr(" PID - szabályozott motor futás"), 120, 840, 4215, 255);
    Label9 =
        label(f, "Label9", tr("Sebesség : (PID -  fesz.vezérelt módban):"), 120, 1200, 3135, 255);
    HScroll2 = scrollBar(f, "HScroll2", 0, 600, 2, 10, 20, 3360, 1200, 975, 255);
    Label26 = label(f, "Label26", tr("Lépés ismétlése P0 értéken ( + - ) :"), 120, 1920, 3135, 255);

    Option2 = make<QRadioButton>(f, "Option2", 3360, 1920, 255, 270);
    Option1 = make<QRadioButton>(f, "Option1", 3720, 1920, 255, 270);
    for (QRadioButton *o : {Option1, Option2}) {
        // Shown, but only the operations set them.
        o->setFont(optionFont());
        o->setAttribute(Qt::WA_TransparentForMouseEvents);
        o->setFocusPolicy(Qt::NoFocus);
    }
    Option1->setAutoExclusive(false);
    Option2->setAutoExclusive(false);
    Option1->setChecked(true);

    Check3 = checkBox(f, "Check3", QString(), 3960, 1920, 345, 255, false);
    Label11 = label(f, "Label11", tr("Lépés száma :"), 120, 2280, 2535, 255);
    Text9 = valueBox(f, "Text9", "2000", 3360, 2280, 975, 285, 4);
    Text9->setFont(valueFont());
    Label24 = label(f, "Label24", tr("Lépések közötti ismétlődés idő :"), 120, 2640, 2535, 255);
    HScroll11 = scrollBar(f, "HScroll11", 2000, 5000, 20, 100, 2000, 3360, 2640, 975, 255);
    Label28 = concealed(label(f, "Label28", tr("Encoder felbontása :"), 120, 3000, 2295, 255));
    txtEncoder = concealed(valueBox(f, "txtEncoder", "500", 3360, 3000, 975, 285, 4));
    Command33 = concealed(button(f, "Command33", tr("Léptetés mód"), 1200, 120, 1455, 255));
    Command34 = button(f, "Command34", tr("STOP / RESET"), 120, 3360, 4215, 495);
    Command34->setFont(boldSansFont());
}

void Form1::buildMonitorFrame()
{
    QWidget *f = Frame4;
    Picture1 = make<TraceSurface>(f, "Picture1", 720, 240, 9240, 4000);
    Line1 = make<QFrame>(Picture1, "Line1", 0, 2010, 9240, 15);
    Line1->setFixedHeight(1);
    Line1->setAutoFillBackground(true);
    Line1->setAttribute(Qt::WA_TransparentForMouseEvents);
    {
        QPalette pal = Line1->palette();
        pal.setColor(QPalette::Window, QColor(0xd0, 0x40, 0x40));
        Line1->setPalette(pal);
    }
    Label18 = label(f, "Label18", QStringLiteral("+500"), 120, 240, 495, 255);
    Label17 = label(f, "Label17", QStringLiteral("0."), 120, 2160, 495, 255);
    Label19 = label(f, "Label19", QStringLiteral("-500"), 120, 4080, 495, 255);
    Label20 = label(f, "Label20", tr("Hibajel skála (+ -) :"), 10080, 360, 1695, 255);
    Combo1 = make<QComboBox>(f, "Combo1", 13560, 240, 855, 315);
    Label21 = label(f, "Label21", tr("Idő skála  :"), 10080, 825, 2655, 255);
    Combo2 = make<QComboBox>(f, "Combo2", 13560, 720, 855, 315);
    for (auto [combo, text] : {std::pair{Combo1, "500"}, std::pair{Combo2, "30"}}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr); // what the operator types stays as typed
        combo->setFont(boldSansFont());
        combo->setEditText(QLatin1String(text));
    }
    Check2 = checkBox(f, "Check2", tr("Pillanatnyi pozíció hiba :"), 10080, 1250, 2655, 255, true);
    Text20 = valueBox(f, "Text20", "0", 13560, 1200, 855, 285, 0);
    Text20->setReadOnly(true);
    Text20->setFont(valueFont());
    Label25 = label(f, "Label25", tr("Legnagyobb pozíció hiba :"), 10080, 1700, 2775, 255);
    Text24 = valueBox(f, "Text24", "0", 13560, 1680, 855, 285, 0);
    Text24->setFont(valueFont());
    // The two error boxes change while the monitor runs: they fill their own
    // background (the frame's colour) so that the frame need not repaint
    // under them each time.
    for (QLineEdit *box : {Text20, Text24})
        box->setAutoFillBackground(true);
    Command28 = button(f, "Command28", tr("Nulláz"), 13560, 2040, 855, 255);
    Command41 = button(f, "Command41", tr(" KDXparam.txt filében tárolt paraméterek listája"),
                       10080, 3720, 4335, 495);
    Command42 = concealed(button(f, "Command42", QStringLiteral("RESET"), 10080, 3360, 735, 255));
    Command39 = concealed(button(f, "Command39", tr("Nulláz_old"), 10800, 3360, 1095, 255));
}

void Form1::buildFileFrame()
{
    QWidget *f = Frame3;
    List1 = make<QListWidget>(f, "List1", 240, 240, 9735, 3900);
    List1->setFont(valueFont());
    Command36 = button(f, "Command36", tr("Kiválasztott paramétersor betöltés teszt sorba"), 10200,
                       240, 4215, 495);
    Command30 =
        button(f, "Command30", tr("Kiválasztott paramétersor törlés"), 10200, 840, 4215, 495);
    Command29 =
        concealed(button(f, "Command29", tr("Paraméterlista frissítés"), 10200, 1440, 4215, 495));
    Command40 = button(f, "Command40", tr("Pozíció hiba monitorozás"), 10200, 3650, 4215, 495);
    Command37 = concealed(
        button(f, "Command37", tr("Paraméterlista mentése filébe"), 8760, 1320, 1215, 495));
    Command38 =
        concealed(button(f, "Command38", QStringLiteral("Command38"), 8760, 1080, 1215, 255));
}

void Form1::buildStatusBar()
{
    StatusBar1 = make<QStatusBar>(this, "StatusBar1", 0, 8940, 14730, 375);
    StatusBar1->setSizeGripEnabled(false);

    // Panel 1 is as wide as its text, link problems included, up to two
    // thirds of the bar; the help panel takes the rest.
    StatusPanel1 = new StatusPanel(portPanelText(QStringLiteral("COM1")),
                                   StatusPanel::Width::KeepsText, StatusBar1);
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    StatusPanel1->setToolTip(tr("COM port beállítása - kattintson ide másik port választásához"));
    StatusPanel1->setCursor(Qt::PointingHandCursor);
    StatusPanel1->setMaximumWidth(StatusBar1->width() * 2 / 3);
    StatusBar1->addWidget(StatusPanel1);

    // Panel 2: the picture and the help text in one sunken panel.
    auto *helpFrame = new QFrame(StatusBar1);
    helpFrame->setObjectName(QStringLiteral("HelpPanelFrame"));
    helpFrame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto *row = new QHBoxLayout(helpFrame);
    row->setContentsMargins(3, 0, 0, 0);
    row->setSpacing(4);

    constexpr int kBadge = 14;
    StatusPicture = new QLabel(helpFrame);
    StatusPicture->setObjectName(QStringLiteral("StatusPicture"));
    StatusPicture->setPixmap(helpBadge(kBadge, devicePixelRatioF()));
    StatusPicture->setFixedSize(kBadge, kBadge);
    row->addWidget(StatusPicture);

    auto *help =
        new StatusPanel(helpText(*helpEntry(u"Form1"), QString(), u'.').value_or(QString()),
                        StatusPanel::Width::TakesTheRest, helpFrame);
    help->setFrameStyle(QFrame::NoFrame);
    help->setContentsMargins(0, 0, 3, 0);
    StatusPanel2 = help;
    StatusPanel2->setObjectName(QStringLiteral("StatusPanel2"));
    StatusPanel2->setToolTip(tr("Online segítség"));
    row->addWidget(StatusPanel2, 1);
    StatusBar1->addWidget(helpFrame, 1);
}

void Form1::showStoredSets()
{
    Frame4->hide();
    Frame3->show();
}

void Form1::showMonitor()
{
    Frame3->hide();
    Frame4->show();
}

void Form1::fillScaleLists()
{
    // Filling a list leaves the text the operator sees as it was.
    const auto fill = [](QComboBox *combo, std::initializer_list<const char *> scales) {
        const QString text = combo->currentText();
        for (const char *scale : scales)
            combo->addItem(QLatin1String(scale));
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    };
    fill(Combo1, {"50", "100", "200", "500", "1000", "2000"});
    fill(Combo2, {"20", "30", "40", "50", "75", "100", "200"});
}

void Form1::setMousePointer(Pointer pointer)
{
    if (pointer == Pointer::Hourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

Form1::Pointer Form1::mousePointer() const
{
    return testAttribute(Qt::WA_SetCursor) && cursor().shape() == Qt::WaitCursor
               ? Pointer::Hourglass
               : Pointer::Default;
}

void Form1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    if (QScreen *s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->availableGeometry().center());
        move(frame.topLeft());
    }
    // Let the window paint itself before the first actions talk to the controller.
    QTimer::singleShot(0, this, &Form1::firstShown);
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closeRequested();
}

} // namespace kdx
