// Takes a picture of the terminal's window as the operator sees it: the real
// window on the built-in simulated controller, after the first-show actions
// (read-all, zeroing, stop-and-reset) and, on request, a PID run with a few
// seconds of position-error trace.
//
//   kdxscreenshot -o docs/window.png --pid-run --seconds 3 --hover Text7 --locale hu_HU
//   kdxscreenshot -o docs/workbench.png --workbench "P2=200,P2=400" --locale hu_HU
//   kdxscreenshot -o docs/window-en.png --language en --locale en_GB
//
//   kdxscreenshot -o docs/history.png --workbench "P2=200,P2=600" --history --axis "3. gép, X
//   tengely" kdxscreenshot --workbench "P2=200,P2=600" --report report.pdf --axis "3. gép, X
//   tengely"
//
// Runs headless with QT_QPA_PLATFORM=offscreen; QT_SCALE_FACTOR=1.5 shows the
// window at 150 %. --port-chooser pictures the port chooser instead, opened
// over the window with sample ports listed; --history the history window
// with two points compared; --report writes the commissioning report of the
// session (PDF, and HTML beside it) instead of a picture.

#include "app/terminal.h"
#include "app/tuningcontroller.h"
#include "core/language.h"
#include "link/portcatalogue.h"
#include "link/simulatedopener.h"
#include "operations/capturestore.h"
#include "operations/historyrecorder.h"
#include "operations/historytimeline.h"
#include "operations/motormodes.h"
#include "operations/parameterwrites.h"
#include "operations/paramrows.h"
#include "operations/scheduler.h"
#include "operations/ticktimer.h"
#include "operations/tuningrun.h"
#include "quietprompter.h"
#include "widgets/commissioningreport.h"
#include "widgets/form1.h"
#include "widgets/historywindow.h"
#include "widgets/portchooser.h"
#include "widgets/tuningpanel.h"
#include "widgets/workbenchwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

void warn(const QString &text)
{
    QTextStream(stderr) << "kdxscreenshot: " << text << Qt::endl;
}

// A mouse move over the middle of the named control, delivered to whatever
// lies on top at that point, as the window system would.
bool hover(kdx::Form1 &form, const QString &name)
{
    auto *control = form.findChild<QWidget *>(name);
    if (name == form.objectName())
        control = &form;
    if (!control) {
        warn(QStringLiteral("no control named %1").arg(name));
        return false;
    }
    const QPoint atForm = control->mapTo(&form, control->rect().center());
    QWidget *target = form.childAt(atForm);
    if (!target)
        target = &form;
    QMouseEvent move(QEvent::MouseMove, target->mapFrom(&form, atForm), form.mapToGlobal(atForm),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    return true;
}

// Ports as a bench machine with two USB adapters might list them.
class SamplePorts : public kdx::PortCatalogue {
protected:
    std::vector<kdx::PortInfo> scan() const override
    {
        return {{QStringLiteral("/dev/ttyS0"), QString(), QString(), QString(), false},
                {QStringLiteral("/dev/ttyUSB1"), QStringLiteral("USB2.0-Serial"),
                 QStringLiteral("1a86"), QString(), true},
                {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART"),
                 QStringLiteral("FTDI"), QStringLiteral("A50285BI"), true}};
    }
};

// The workbench with one capture per setting ("P2=200,P2=400": P2 test-written
// to 200, a step captured, then 400 and another), every step forwards.
bool captureRuns(kdx::Terminal &terminal, const QString &settings)
{
    emit terminal.form().AutoTuning->clicked();
    kdx::WorkbenchWindow *window = terminal.workbench();
    if (!window)
        return false;
    window->resize(1600, 760);
    // Shown and painted before the first step goes out.
    const QDeadlineTimer painted(300);
    while (!painted.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    window->stepBox()->setValue(1000);
    window->captureButton()->setFocus();
    window->windowBox()->setValue(400);
    for (const QString &setting : settings.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = setting.split(QLatin1Char('='));
        bool ok = false;
        const int n = parts.value(0).mid(1).toInt(&ok);
        if (parts.size() != 2 || !parts[0].startsWith(QLatin1Char('P')) || !ok || n < 0 || n > 7) {
            warn(QStringLiteral("--workbench wants settings such as P2=200,P2=400"));
            return false;
        }
        terminal.rows().newValue(n).set(parts[1]);
        terminal.run([&] { terminal.writes().testOne(n); });
        // Every step forwards, so the runs lie on top of each other.
        if (terminal.captures().size() % 2 == 1)
            terminal.captures().nextDirection();
        window->captureButton()->click();
        // The capture may wait for a poll under way.
        const QDeadlineTimer deadline(30000);
        while (window->cancelButton()->isEnabled() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return terminal.captures().size() > 0;
}

// The workbench during a tuning from the gains as found; once it ends,
// `done` runs with the panel on its tab of how the model fitted the
// measured steps.
bool startTuning(kdx::Terminal &terminal, int aim, const std::function<void(bool)> &done)
{
    emit terminal.form().AutoTuning->clicked();
    kdx::WorkbenchWindow *window = terminal.workbench();
    if (!window)
        return false;
    window->resize(1600, 820);
    kdx::TuningOptions options;
    options.aim = static_cast<kdx::TuningAim>(std::clamp(aim, 0, 2));
    kdx::TuningController &tuning = terminal.tuning();
    QObject::connect(
        &tuning.tuning(), &kdx::TuningRun::finished, window,
        [&tuning, done](const kdx::TuningResult &result) {
            for (QTabWidget *tabs : tuning.panel().findChildren<QTabWidget *>()) {
                for (int k = 0; k < tabs->count(); ++k)
                    if (tabs->tabText(k) ==
                        QCoreApplication::translate("kdx::TuningPanel", "Modell illesztése"))
                        tabs->setCurrentIndex(k);
            }
            done(result.outcome != kdx::TuningResult::Outcome::Aborted);
        });
    tuning.show();
    tuning.start(options);
    return true;
}

// The history window after the session's work: a test write and a save
// write more, and the first read compared with the last point.
QWidget *historyPicture(kdx::Terminal &terminal)
{
    kdx::Form1 &form = terminal.form();
    form.row(7).newValue->setText(QStringLiteral("45"));
    emit form.row(7).test->clicked();
    form.row(3).newValue->setText(QStringLiteral("12"));
    emit form.row(3).save->clicked();
    terminal.openHistory();
    kdx::HistoryWindow *window = terminal.historyWindow();
    window->resize(1150, 520);
    const int rows = window->timeline()->rowCount();
    if (rows > 1)
        window->selectRows({0, rows - 1});
    return window;
}

// The session's report as the workbench writes it.
bool writeReport(kdx::Terminal &terminal, const QString &pdf, const QString &note)
{
    kdx::ReportInput input;
    input.axis = terminal.history().place();
    input.date = QDateTime::currentDateTime();
    input.note = note;
    input.events = terminal.history().journalOf(input.axis);
    QString html = pdf;
    if (html.endsWith(QLatin1String(".pdf")))
        html.chop(4);
    const QString failed = kdx::writeReport(input, pdf, html + QStringLiteral(".html"));
    if (!failed.isEmpty())
        warn(failed);
    return failed.isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kdxscreenshot"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Saves a picture of the kdxterminal window running on the built-in "
                       "simulated controller."));
    parser.addHelpOption();
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("PNG file to write (default: window.png)."), QStringLiteral("FILE"),
        QStringLiteral("window.png"));
    const QCommandLineOption pidOption(
        QStringLiteral("pid-run"),
        QStringLiteral("Start a PID run (\" PID - szabályozott motor futás\") after the first "
                       "actions, so the monitor draws a trace."));
    const QCommandLineOption speedOption(QStringLiteral("speed"),
                                         QStringLiteral("Speed scrollbar value for the run."),
                                         QStringLiteral("N"));
    const QCommandLineOption secondsOption(
        QStringLiteral("seconds"),
        QStringLiteral("Seconds to let the window run before the picture (default: 1)."),
        QStringLiteral("S"), QStringLiteral("1"));
    const QCommandLineOption hoverOption(
        QStringLiteral("hover"),
        QStringLiteral("Move the mouse over this control last, so the help panel shows its text."),
        QStringLiteral("NAME"));
    const QCommandLineOption localeOption(
        QStringLiteral("locale"),
        QStringLiteral("The operator's locale, e.g. hu_HU (default: the system's)."),
        QStringLiteral("NAME"));
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("The language of the window: hu (default) or en."), QStringLiteral("hu|en"),
        QStringLiteral("hu"));
    const QCommandLineOption folderOption(
        QStringLiteral("param-folder"),
        QStringLiteral("Folder of KDXparam.txt (default: a fresh temporary folder)."),
        QStringLiteral("DIR"));
    const QCommandLineOption chooserOption(
        QStringLiteral("port-chooser"),
        QStringLiteral("Picture the port chooser, with sample ports, instead of the window."));
    const QCommandLineOption workbenchOption(
        QStringLiteral("workbench"),
        QStringLiteral("Picture the tuning workbench instead, with one step capture per "
                       "setting, e.g. \"P2=200,P2=400\"."),
        QStringLiteral("SETTINGS"));
    const QCommandLineOption tuningOption(
        QStringLiteral("tuning"),
        QStringLiteral("Picture the workbench after an auto-tuning with the aim given "
                       "(0: none, 1: balanced, 2: fast), on its tab of the model's fit."),
        QStringLiteral("AIM"));
    const QCommandLineOption plantOption(
        QStringLiteral("plant"),
        QStringLiteral("The simulated axis: a name or random:SEED (default nominal)."),
        QStringLiteral("NAME"), QStringLiteral("nominal"));
    const QCommandLineOption axisOption(QStringLiteral("axis"),
                                        QStringLiteral("The name of the axis worked on."),
                                        QStringLiteral("NAME"));
    const QCommandLineOption historyOption(
        QStringLiteral("history"),
        QStringLiteral("Picture the history window after the work, two points compared."));
    const QCommandLineOption reportOption(
        QStringLiteral("report"),
        QStringLiteral("Write the session's commissioning report to this PDF file (and the "
                       "same as HTML beside it) instead of a picture."),
        QStringLiteral("FILE"));
    const QCommandLineOption noteOption(QStringLiteral("note"),
                                        QStringLiteral("The operator's note in the report."),
                                        QStringLiteral("TEXT"));
    parser.addOptions({outputOption, pidOption, speedOption, secondsOption, hoverOption,
                       localeOption, languageOption, folderOption, chooserOption, workbenchOption,
                       tuningOption, plantOption, axisOption, historyOption, reportOption,
                       noteOption});
    parser.process(app);
    if (parser.isSet(localeOption))
        QLocale::setDefault(QLocale(parser.value(localeOption)));
    const std::optional<kdx::Language> language =
        kdx::languageFromCode(parser.value(languageOption));
    if (!language) {
        warn(QStringLiteral("--language wants hu or en"));
        return 2;
    }
    if (!kdx::useLanguage(*language)) {
        warn(QStringLiteral("the English texts could not be loaded"));
        return 1;
    }

    bool ok = false;
    const double seconds = parser.value(secondsOption).toDouble(&ok);
    if (!ok || seconds < 0) {
        warn(QStringLiteral("--seconds wants a number of seconds"));
        return 2;
    }
    int speed = -1;
    if (parser.isSet(speedOption)) {
        speed = parser.value(speedOption).toInt(&ok);
        if (!ok) {
            warn(QStringLiteral("--speed wants a whole number"));
            return 2;
        }
    }

    QTemporaryDir scratch;
    const std::optional<kdx::sim::Plant> plant = kdx::sim::plantFor(parser.value(plantOption));
    if (!plant) {
        warn(QStringLiteral("--plant wants %1").arg(kdx::sim::plantChoices()));
        return 2;
    }
    kdx::SimulatedOpener opener(*plant);
    QuietPrompter prompter;
    kdx::TerminalOptions options;
    options.opener = &opener;
    options.prompter = &prompter;
    options.paramFolder = parser.isSet(folderOption) ? parser.value(folderOption) : scratch.path();
    options.historyFile = scratch.filePath(QStringLiteral("kdxhistory.sqlite"));

    kdx::Terminal terminal(options);
    kdx::Form1 &form = terminal.form();
    if (!terminal.start()) {
        warn(QStringLiteral("the simulator did not start"));
        return 1;
    }
    if (parser.isSet(axisOption))
        terminal.axisName().set(parser.value(axisOption));

    int status = 0;
    auto takePicture = [&] {
        if (parser.isSet(hoverOption) && !hover(form, parser.value(hoverOption)))
            status = 2;
        if (parser.isSet(reportOption)) {
            if (!writeReport(terminal, parser.value(reportOption), parser.value(noteOption)))
                status = 1;
            app.quit();
            return;
        }
        QWidget *subject = &form;
        if (terminal.workbench())
            subject = terminal.workbench();
        if (parser.isSet(historyOption)) {
            subject = historyPicture(terminal);
            QApplication::processEvents();
        }
        QPixmap picture = subject->grab();
        if (parser.isSet(chooserOption)) {
            const SamplePorts ports;
            // The language choice as the operator finds it: the one in use.
            kdx::LanguageMemory languages(scratch.filePath(QStringLiteral("choice.ini")));
            languages.remember(*language);
            kdx::PortChooser chooser(ports, kdx::PortChoice::simulator(), QString(), &languages,
                                     &form);
            chooser.show();
            QApplication::processEvents();
            picture = chooser.grab();
        }
        if (!picture.save(parser.value(outputOption), "PNG")) {
            warn(QStringLiteral("cannot write %1").arg(parser.value(outputOption)));
            status = 1;
        }
        for (const QString &box : prompter.noted())
            warn(QStringLiteral("a box would have shown: %1").arg(box));
        app.quit();
    };
    // Connected after the terminal's own wiring, so this runs once the
    // first-show actions are over.
    QObject::connect(&form, &kdx::Form1::firstShown, &app, [&] {
        if (speed >= 0)
            form.HScroll2->setValue(speed);
        if (parser.isSet(pidOption))
            terminal.run([&] { terminal.motor().runPid(); });
        if (parser.isSet(tuningOption)) {
            // The tuning starts once no poll waits for its answer.
            terminal.scheduler().pollTimer().setHeld(true);
            QTimer::singleShot(100, &app, [&] {
                const auto done = [&](bool ran) {
                    if (!ran)
                        status = 2;
                    QTimer::singleShot(int(seconds * 1000), &app, takePicture);
                };
                if (!startTuning(terminal, parser.value(tuningOption).toInt(), done)) {
                    status = 2;
                    takePicture();
                }
            });
            return;
        }
        if (!parser.isSet(workbenchOption)) {
            QTimer::singleShot(int(seconds * 1000), &app, takePicture);
            return;
        }
        // The captures start once no poll waits for its answer.
        terminal.scheduler().pollTimer().setHeld(true);
        QTimer::singleShot(100, &app, [&] {
            if (!captureRuns(terminal, parser.value(workbenchOption)))
                status = 2;
            terminal.scheduler().pollTimer().setHeld(false);
            QTimer::singleShot(int(seconds * 1000), &app, takePicture);
        });
    });

    form.show();
    const int result = app.exec();
    return status ? status : result;
}
