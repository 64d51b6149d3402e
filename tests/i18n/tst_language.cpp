// The window's language: Hungarian unless the operator chose English, on the
// command line for one run or in the port chooser for every run after; in
// English, no Hungarian is left in the main window, the workbench, the
// history, the port chooser or a box, and every caption still fits its
// control (run again at 150 %).

#include "core/helptable.h"
#include "core/language.h"
#include "operations/parameterwrites.h"
#include "terminalfixture.h"
#include "widgets/captionbutton.h"
#include "widgets/dialogprompter.h"
#include "widgets/form1.h"
#include "widgets/historywindow.h"
#include "widgets/portchooser.h"
#include "widgets/workbenchwindow.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

using namespace kdx;

using Operation = std::function<void(Terminal &)>;
Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(kdx::Language)

namespace {

// Accented letters, or a word that only Hungarian has among the window's texts.
bool soundsHungarian(const QString &text)
{
    static const QRegularExpression hungarian(
        QStringLiteral("[áéíóöőúüűÁÉÍÓÖŐÚÜŰ]|\\b(Mind|KIOLVAS|Kiolvas|TESZT|MENT|teszt|hiba|Hiba|"
                       "nincs|Nincs|nem|Nem|vagy|egy|az|kattintson|mikrokontroller|"
                       "Mikrokontroller|Microcontrollerben|Mozgasd|Help :)\\b"));
    return hungarian.match(text).hasMatch();
}

QStringList modelTexts(const QAbstractItemModel *model)
{
    QStringList texts;
    if (!model)
        return texts;
    for (int c = 0; c < model->columnCount(); ++c)
        texts << model->headerData(c, Qt::Horizontal).toString();
    for (int r = 0; r < model->rowCount(); ++r) {
        texts << model->headerData(r, Qt::Vertical).toString();
        for (int c = 0; c < model->columnCount(); ++c) {
            const QModelIndex i = model->index(r, c);
            texts << i.data(Qt::DisplayRole).toString() << i.data(Qt::ToolTipRole).toString();
        }
    }
    return texts;
}

QStringList chartTexts(QChart *chart)
{
    QStringList texts{chart->title()};
    for (QAbstractAxis *axis : chart->axes())
        texts << axis->titleText();
    for (QAbstractSeries *series : chart->series())
        texts << series->name();
    return texts;
}

// Every text a widget shows or tells a screen reader, each with its
// widget's name in front.
QStringList texts(QWidget *w)
{
    QStringList t{w->windowTitle(),           w->toolTip(),   w->accessibleName(),
                  w->accessibleDescription(), w->statusTip(), w->whatsThis()};
    for (const QAction *a : w->actions())
        t << a->text() << a->toolTip();
    if (auto *x = qobject_cast<QLabel *>(w))
        t << x->text();
    if (auto *x = qobject_cast<QAbstractButton *>(w))
        t << x->text();
    if (auto *x = qobject_cast<QGroupBox *>(w))
        t << x->title();
    if (auto *x = qobject_cast<QLineEdit *>(w))
        t << x->text() << x->placeholderText();
    if (auto *x = qobject_cast<QTextEdit *>(w))
        t << x->toPlainText();
    if (auto *x = qobject_cast<QComboBox *>(w)) {
        for (int i = 0; i < x->count(); ++i)
            t << x->itemText(i);
    }
    if (auto *x = qobject_cast<QAbstractSpinBox *>(w))
        t << x->specialValueText();
    if (auto *x = qobject_cast<QSpinBox *>(w))
        t << x->prefix() << x->suffix();
    if (auto *x = qobject_cast<QTabWidget *>(w)) {
        for (int i = 0; i < x->count(); ++i)
            t << x->tabText(i) << x->tabToolTip(i);
    }
    if (auto *x = qobject_cast<QAbstractItemView *>(w))
        t << modelTexts(x->model());
    if (auto *x = qobject_cast<QChartView *>(w))
        t << chartTexts(x->chart());
    t.removeAll(QString());
    for (QString &text : t)
        text.prepend(w->objectName() + QStringLiteral(" (") + w->metaObject()->className() +
                     QStringLiteral("): "));
    return t;
}

// What a window shows, every page of its tabs in turn.
QStringList shownTexts(QWidget *window)
{
    QStringList all;
    const auto collect = [&] {
        QList<QWidget *> widgets = window->findChildren<QWidget *>();
        widgets.prepend(window);
        for (QWidget *w : widgets) {
            if (w == window || w->isVisibleTo(window))
                all << texts(w);
        }
    };
    collect();
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            collect();
        }
    }
    return all;
}

// The texts that sound Hungarian, one a line (QCOMPARE shows them).
QString hungarianAmong(const QStringList &texts)
{
    QStringList found;
    for (const QString &text : texts) {
        if (soundsHungarian(text))
            found << text;
    }
    return found.join(u'\n');
}

// Whether the window's fonts are the ones its captions were measured with.
bool measuredFonts(const Form1 &f)
{
    return QFontInfo(f.font()).family() == QLatin1String("Liberation Sans");
}

} // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void languageForTheRun_data();
    void languageForTheRun();
    void chooserRemembersTheLanguage();
    void switchesBothWays();
    void everyHelpTextInEnglish();
    void numbersFollowTheLocaleInEnglish();
    void mainWindowWorkbenchAndHistoryInEnglish();
    void portChooserInEnglish();
    void boxesInEnglish_data();
    void boxesInEnglish();
    void aMessageBoxInEnglish();
    void captionsFit_data();
    void captionsFit();
};

void TestLanguage::cleanup()
{
    QVERIFY(useLanguage(Language::Hungarian));
}

void TestLanguage::languageForTheRun_data()
{
    QTest::addColumn<QString>("stored");      // in the settings; empty: nothing
    QTest::addColumn<QString>("commandLine"); // --language; empty: not given
    QTest::addColumn<QString>("expected");
    QTest::newRow("first run") << ""
                               << ""
                               << "hu";
    QTest::newRow("chosen English") << "en"
                                    << ""
                                    << "en";
    QTest::newRow("chosen Hungarian") << "hu"
                                      << ""
                                      << "hu";
    QTest::newRow("English for one run") << "hu"
                                         << "en"
                                         << "en";
    QTest::newRow("Hungarian for one run") << "en"
                                           << "hu"
                                           << "hu";
    QTest::newRow("first run, English") << ""
                                        << "en"
                                        << "en";
    QTest::newRow("unknown in the settings") << "de"
                                             << ""
                                             << "hu";
}

void TestLanguage::languageForTheRun()
{
    QFETCH(QString, stored);
    QFETCH(QString, commandLine);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kdxterminal.conf"));
    if (!stored.isEmpty())
        QSettings(file, QSettings::IniFormat).setValue(QStringLiteral("language/choice"), stored);
    LanguageMemory memory(file);
    const Language chosen = memory.forThisRun(languageFromCode(commandLine));
    QCOMPARE(languageCode(chosen), expected);
    // The command line decides for the run only.
    QCOMPARE(QSettings(file, QSettings::IniFormat).value(QStringLiteral("language/choice")),
             stored.isEmpty() ? QVariant() : QVariant(stored));
}

void TestLanguage::chooserRemembersTheLanguage()
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("kdxterminal.conf"));
    LanguageMemory memory(file);
    FakePortCatalogue ports;
    PortChooser chooser(ports, PortChoice::simulator(), QString(), &memory);
    QComboBox *list = chooser.languageList();
    QVERIFY(list);
    QCOMPARE(list->currentText(), QStringLiteral("Magyar"));
    QVERIFY(chooser.languageNote()->isHidden());
    // Chosen, remembered at once (also if the port is not changed), in force
    // at the next start: the dialog says so.
    list->setCurrentIndex(list->findText(QStringLiteral("English")));
    QCOMPARE(LanguageMemory(file).remembered(), std::optional(Language::English));
    QVERIFY(!chooser.languageNote()->isHidden());
    QCOMPARE(chooser.languageNote()->text(),
             QStringLiteral("A választott nyelv a program következő indításakor lép életbe."));
    QCOMPARE(languageInUse(), Language::Hungarian);
    chooser.reject();
    // The next run finds it, and the chooser shows it.
    LanguageMemory next(file);
    QCOMPARE(next.forThisRun(std::nullopt), Language::English);
    PortChooser again(ports, PortChoice::simulator(), QString(), &next);
    QCOMPARE(again.languageList()->currentText(), QStringLiteral("English"));
    // Without a memory to keep it in there is no choice to make.
    PortChooser plain(ports, PortChoice::simulator(), QString());
    QVERIFY(!plain.languageList());
}

void TestLanguage::switchesBothWays()
{
    const QString hungarian = QString::fromUtf8(Form1::kCaption);
    QVERIFY(useLanguage(Language::English));
    QCOMPARE(languageInUse(), Language::English);
    QCOMPARE(Form1().windowTitle(),
             QStringLiteral("KDX terminal (ver.: 2.34_Updated : 2016.07.08. - Brenmoor)"));
    QVERIFY(useLanguage(Language::Hungarian));
    QCOMPARE(languageInUse(), Language::Hungarian);
    QCOMPARE(Form1().windowTitle(), hungarian);
}

void TestLanguage::everyHelpTextInEnglish()
{
    QVERIFY(useLanguage(Language::English));
    QCOMPARE(int(helpEntries().size()), 73);
    for (const HelpEntry &entry : helpEntries()) {
        // Fixed texts, and computed ones with and without a number in the box.
        for (const QString &box : {QString(), QStringLiteral("256")}) {
            const std::optional<QString> text = helpText(entry, box, u'.');
            QVERIFY(text);
            QVERIFY2(!text->isEmpty() && !soundsHungarian(*text), qPrintable(*text));
        }
    }
}

void TestLanguage::numbersFollowTheLocaleInEnglish()
{
    // The words are English, the numbers the operator's: 100 of 256 with
    // a decimal comma.
    QVERIFY(useLanguage(Language::English));
    const std::optional<QString> torque =
        helpText(*helpEntry(u"Text5"), QStringLiteral("100"), u',');
    QVERIFY(torque);
    QCOMPARE(*torque, QStringLiteral("Torque limit the controller uses now. (PWM : 39,0625 %)"));
}

void TestLanguage::mainWindowWorkbenchAndHistoryInEnglish()
{
    QVERIFY(useLanguage(Language::English));
    TerminalFixture fx(200, [](TerminalOptions &o) {
        o.historyFile = o.paramFolder + QStringLiteral("/kdxhistory.sqlite");
    });
    fx.answerLikeController({"1000", "50", "200", "10", "200", "100", "1024", "30"});
    QVERIFY(fx.load());
    fx.run([&] { fx.terminal().onFirstShown(); });
    Form1 &form = fx.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // The monitor and, behind it, the stored sets.
    QStringList shown = shownTexts(&form);
    emit form.Command41->clicked();
    shown << shownTexts(&form);
    QVERIFY(shown.size() > 60);
    QCOMPARE(hungarianAmong(shown), QString());
    QVERIFY(shown.join(u'\n').contains(QStringLiteral("Read all")));

    form.AutoTuning->click();
    WorkbenchWindow *workbench = fx.terminal().workbench();
    QVERIFY(workbench);
    shown = shownTexts(workbench);
    QVERIFY(shown.size() > 40);
    QCOMPARE(hungarianAmong(shown), QString());
    QVERIFY(shown.join(u'\n').contains(QStringLiteral("Step response")));
    // The auto-tuner's panel in its tab, not beside the place kept for it.
    QVERIFY(shown.join(u'\n').contains(QStringLiteral("Largest error allowed:")));
    QTabWidget *tabs = workbench->tabs();
    QStringList tabTitles;
    for (int i = 0; i < tabs->count(); ++i)
        tabTitles << tabs->tabText(i);
    QCOMPARE(tabTitles, (QStringList{"Live signal", "Step response", "Auto-tuning", "Report"}));
    QVERIFY(tabs->widget(2)->inherits("kdx::TuningPanel"));

    fx.terminal().openHistory();
    HistoryWindow *history = fx.terminal().historyWindow();
    QVERIFY(history);
    shown = shownTexts(history);
    QVERIFY(shown.join(u'\n').contains(QStringLiteral("P0..P7 read (at start)")));
    QCOMPARE(hungarianAmong(shown), QString());
    QCOMPARE(hungarianAmong(fx.prompter.texts()), QString());
}

void TestLanguage::portChooserInEnglish()
{
    QVERIFY(useLanguage(Language::English));
    QTemporaryDir dir;
    LanguageMemory memory(dir.filePath(QStringLiteral("kdxterminal.conf")));
    memory.remember(Language::English);
    FakePortCatalogue ports;
    ports.present = {{"/dev/ttyUSB0", "FT232R USB UART", "FTDI", "A50285BI", true}};
    PortChooser chooser(ports, PortChoice::simulator(), QStringLiteral("a port nem található"),
                        &memory);
    chooser.show();
    QStringList shown = shownTexts(&chooser);
    // The present port's fault comes from the link in the language in use;
    // this one was given in Hungarian on purpose, to show it is not re-worded.
    QCOMPARE(
        hungarianAmong(shown),
        QStringLiteral("PortProblem (QLabel): Fault of the present port: a port nem található"));
    QVERIFY(shown.contains(QStringLiteral("PortList (QTreeWidget): simulator")));
    // The choice is named in both languages, and the languages by their own names.
    QVERIFY(shown.contains(QStringLiteral(" (QLabel): Nyelv / Language:")));
    QVERIFY(shown.contains(QStringLiteral("LanguageList (QComboBox): Magyar")));
    QVERIFY(chooser.languageNote()->isHidden()); // English is in use and chosen
    // Hungarian chosen for the next start: the note says so, in English.
    chooser.languageList()->setCurrentIndex(0);
    QCOMPARE(chooser.languageNote()->text(),
             QStringLiteral("The chosen language takes effect the next time the program starts."));
}

void TestLanguage::boxesInEnglish_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::newRow("Test all, nothing to send")
        << Operation([](Terminal &t) { t.writes().testAll(); }) << "No new parameter value to send."
        << "kdxterminal";
    QTest::newRow("Save all, nothing to send")
        << Operation([](Terminal &t) { t.writes().saveAll(); })
        << "Not a single new parameter value. Nothing saved."
        << "kdxterminal";
    QTest::newRow("value out of range") << Operation([](Terminal &t) {
        t.form().row(3).newValue->setText(QStringLiteral("5000"));
        t.writes().testOne(3);
    }) << "Only a positive whole number is allowed! (from 1 to 1000)"
                                        << "Invalid input";
    QTest::newRow("time scale not a number") << Operation([](Terminal &t) {
        t.form().Combo2->lineEdit()->clear();
        QTest::keyClicks(t.form().Combo2->lineEdit(), QStringLiteral("-"));
    }) << "Enter a whole number only!"
                                             << "kdxterminal";
}

void TestLanguage::boxesInEnglish()
{
    QFETCH(Operation, operation);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QVERIFY(useLanguage(Language::English));
    TerminalFixture fx;
    fx.answerLikeController();
    QVERIFY(fx.load());
    fx.run([&] { operation(fx.terminal()); });
    QCOMPARE(fx.prompter.shown.size(), 1);
    QCOMPARE(fx.prompter.shown.front().text, text);
    QCOMPARE(fx.prompter.shown.front().title, title);
}

void TestLanguage::aMessageBoxInEnglish()
{
    // A real box, buttons and all, as the operator gets it.
    QVERIFY(useLanguage(Language::English));
    QStringList shown;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = shownTexts(box);
        box->button(QMessageBox::No)->click();
    });
    DialogPrompter prompter;
    const bool yes = prompter.question(
        ParameterWrites::tr("Microcontrollerbe az új paraméterek mentése megtörtént , szeretnéd "
                            "KDXparam.txt filébe is menteni a beállításokat ?"),
        ParameterWrites::tr("Paraméterek mentése"));
    QVERIFY(!yes);
    QVERIFY(shown.join(u'\n').contains(QStringLiteral("Save the settings in KDXparam.txt too?")));
    QVERIFY(shown.join(u'\n').contains(QStringLiteral("Save parameters")));
    QCOMPARE(hungarianAmong(shown), QString());
}

void TestLanguage::captionsFit_data()
{
    QTest::addColumn<Language>("language");
    QTest::newRow("Hungarian") << Language::Hungarian;
    QTest::newRow("English") << Language::English;
}

void TestLanguage::captionsFit()
{
    // The window keeps its fixed places in every language: each caption
    // fits the control it was given (at the scale this run has).
    QFETCH(Language, language);
    QVERIFY(useLanguage(language));
    Form1 f;
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    if (!measuredFonts(f))
        QSKIP("captions are measured with Liberation Sans (fonts-liberation2)");
    emit f.Command41->clicked(); // the stored sets' frame, with its buttons, on top
    QStringList misfits;
    int checked = 0;
    for (QWidget *w : f.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&f) || w->objectName().startsWith(QLatin1String("StatusPanel")))
            continue;
        bool fits = true;
        if (auto *b = qobject_cast<CaptionButton *>(w)) {
            const QRect laidOut = b->fontMetrics().boundingRect(
                b->captionRect(), CaptionButton::kCaptionFlags, b->text());
            fits = b->captionRect().contains(laidOut);
        } else if (auto *c = qobject_cast<QCheckBox *>(w)) {
            fits = c->sizeHint().width() <= c->width();
        } else if (auto *l = qobject_cast<QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            fits = l->sizeHint().width() <= l->width() && l->fontMetrics().height() <= l->height();
        } else if (auto *g = qobject_cast<QGroupBox *>(w)) {
            fits = g->fontMetrics().horizontalAdvance(g->title()) + 16 <= g->width();
        } else {
            continue;
        }
        if (!fits)
            misfits << w->objectName();
        ++checked;
    }
    QCOMPARE(misfits.join(QStringLiteral(", ")), QString());
    QVERIFY(checked > 50);
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
