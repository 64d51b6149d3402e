#include "terminal.h"

#include "core/readingbuffer.h"
#include "link/portcatalogue.h"
#include "link/portopener.h"
#include "link/seriallink.h"
#include "link/simulatedopener.h"
#include "operations/capturestore.h"
#include "operations/historyrecorder.h"
#include "operations/motormodes.h"
#include "operations/parameterreads.h"
#include "operations/parameterwrites.h"
#include "operations/paramrows.h"
#include "operations/paramsetlist.h"
#include "operations/paramsetstore.h"
#include "operations/portswitch.h"
#include "operations/positionmonitor.h"
#include "operations/prompter.h"
#include "operations/scheduler.h"
#include "operations/stepcapture.h"
#include "operations/stepmode.h"
#include "operations/tuningrun.h"
#include "tuningcontroller.h"
#include "widgets/binding.h"
#include "widgets/contexthelp.h"
#include "widgets/filechooser.h"
#include "widgets/form1.h"
#include "widgets/historywindow.h"
#include "widgets/monitorview.h"
#include "widgets/portchooser.h"
#include "widgets/portpanelmenu.h"
#include "widgets/statuspanel.h"
#include "widgets/workbenchwindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>

namespace kdx {

Terminal::Terminal(const TerminalOptions &options, QObject *parent)
    : QObject(parent), m_options(options)
{
    Q_ASSERT(options.opener && options.prompter);
    Prompter &prompter = *options.prompter;
    Switch &busy = m_busyPointer;

    m_link = std::make_unique<SerialLink>(*options.opener);
    m_link->setReplyTimeout(options.replyTimeoutMs);
    m_link->setReconnectInterval(options.reconnectIntervalMs);
    m_scheduler = std::make_unique<Scheduler>(*m_link, busy);
    TickTimer &poll = m_scheduler->pollTimer();
    m_delay = std::make_unique<SettleDelay>(poll);
    m_delay->setStepDuration(options.settleStep);

    m_rows = std::make_unique<ParamRows>();
    m_monitor = std::make_unique<PositionMonitor>(*m_link, prompter, poll, busy);
    m_steps =
        std::make_unique<StepMode>(*m_link, prompter, *m_monitor, m_scheduler->stepTimer(), busy);
    m_motor = std::make_unique<MotorModes>(*m_link, *m_delay, *m_monitor, *m_steps, busy);
    m_reads = std::make_unique<ParameterReads>(ParameterReads::Parts{
        *m_link, *m_delay, prompter, *m_rows, *m_monitor, *m_steps, *m_motor, busy});
    m_store = std::make_unique<ParamSetStore>(*m_rows, prompter, busy, options.paramFolder);
    m_list = std::make_unique<ParamSetList>(*m_rows, prompter, *m_store, busy);
    m_writes = std::make_unique<ParameterWrites>(ParameterWrites::Parts{
        *m_link, *m_delay, prompter, *m_rows, *m_reads, *m_monitor, *m_motor, *m_store, busy});
    const PortCatalogue *ports = options.ports;
    if (!ports) {
        m_systemPorts = std::make_unique<SystemPortCatalogue>();
        ports = m_systemPorts.get();
    }
    m_portSwitch =
        std::make_unique<PortSwitch>(*m_link, prompter, *ports, options.portMemory, options.port);
    m_captures = std::make_unique<CaptureStore>();
    m_capture = std::make_unique<StepCapture>(*m_link);
    m_history = std::make_unique<HistoryRecorder>();
    m_reads->setEvents(m_history.get());
    m_writes->setEvents(m_history.get());
    if (options.portMemory)
        m_axisName.set(options.portMemory->axisName(options.port));
    placeChanged();

    m_form = std::make_unique<Form1>();
    m_help = std::make_unique<ContextHelp>(*m_form);
    m_tuning = std::make_unique<TuningController>(*this, prompter, options.paramFolder);
    bindWindow();
    wire();
}

Terminal::~Terminal()
{
    // The window shows the operations' values; let it go first.
    m_historyWindow.reset();
    m_workbench.reset();
    m_tuning.reset();
    m_monitorView.reset();
    m_help.reset();
    m_form.reset();
}

const ReadingBuffer &Terminal::readings()
{
    return m_monitor->model().readings();
}

void Terminal::run(const std::function<void()> &operation)
{
    // While an operation owns the line, nothing else gets between its
    // commands and their answers.
    if (m_lineOwned && m_scheduler->isBusy())
        return;
    m_scheduler->run(operation);
}

void Terminal::runAlone(const std::function<void()> &operation)
{
    m_scheduler->runAlone(operation);
}

bool Terminal::runOwningLine(const std::function<void()> &operation,
                             const std::function<void()> &done)
{
    if (m_lineOwned || m_ownerDue)
        return false;
    // The click may come while a poll waits for its answer: the capture
    // goes next, as soon as that has ended.
    if (m_scheduler->isBusy())
        m_ownerDue = std::make_unique<OwnerDue>(OwnerDue{operation, done});
    else
        runOwner(operation, done);
    return true;
}

void Terminal::runOwner(const std::function<void()> &operation, const std::function<void()> &done)
{
    m_lineOwned = true;
    m_form->setEnabled(false);
    run(operation);
    m_form->setEnabled(true);
    m_lineOwned = false;
    if (done)
        done();
}

void Terminal::bindWindow()
{
    Form1 &f = *m_form;
    connect(&m_busyPointer, &Switch::changed, &f, [&f](bool busy) {
        f.setMousePointer(busy ? Form1::Pointer::Hourglass : Form1::Pointer::Default);
    });
    for (int n = 0; n < kParamCount; ++n) {
        const ParamRow row = f.row(n);
        bind(row.current, m_rows->current(n));
        bind(row.newValue, m_rows->newValue(n));
        bind(row.scroll, m_rows->dial(n));
    }
    connect(m_rows.get(), &ParamRows::focusNewValue, &f,
            [&f](int n) { f.row(n).newValue->setFocus(); });
    connect(m_rows.get(), &ParamRows::newValuesLoaded, &f, [&f] {
        // A loaded set shows on the ordinary background.
        for (int n = 0; n < kParamCount; ++n) {
            QLineEdit *box = f.row(n).newValue;
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, QApplication::palette(box).color(QPalette::Base));
            box->setPalette(palette);
        }
    });
    bind(f.List1, m_store->list());

    bind(f.Check2, m_monitor->monitorSwitch());
    bind(f.Combo1, m_monitor->errorScale());
    bind(f.Combo2, m_monitor->timeScale());
    m_monitorView = std::make_unique<MonitorView>(
        m_monitor->model(), m_monitor->axisScale(),
        MonitorView::Parts{f.Text20, f.Text24, f.Label18, f.Label19, f.Picture1});

    bind(f.HScroll2, m_motor->speed());
    bind(f.Check3, m_steps->repeat());
    bind({f.Option1, f.Option2}, m_steps->options());
    bind(f.Text9, m_steps->stepCount());
    bind(f.txtEncoder, m_steps->encoder());
    bind(f.HScroll11, m_steps->pause());
}

// Every event of the window and of the timers, and the operation it runs.
// The comment names the event as the original form called it.
void Terminal::wire()
{
    Form1 &f = *m_form;
    Scheduler &sc = *m_scheduler;
    // Connects a signal to a handler that runs as one operation.
    auto on = [this](auto *sender, auto signal, std::function<void()> handler) {
        connect(sender, signal, this, [this, handler] { run(handler); });
    };

    // Form_Activate
    on(&f, &Form1::firstShown, [this] { onFirstShown(); });
    // Form_QueryUnload
    connect(&f, &Form1::closeRequested, this, &Terminal::shutDown);
    connect(m_link.get(), &SerialLink::problemChanged, this, &Terminal::showLinkProblem);
    connect(m_link.get(), &SerialLink::openChanged, this, [this](bool open) {
        if (open)
            m_monitor->model().forgetReading();
        // Before the first show the timers wait for the window anyway, and
        // the first show reads the controller itself.
        if (!m_activated)
            return;
        m_scheduler->pollTimer().setHeld(!open);
        m_catchUpDue = open;
        if (open) {
            if (m_catchUpOccasion != ReadOccasion::PortSwitch)
                m_catchUpOccasion =
                    m_openedOnce ? ReadOccasion::Reconnect : ReadOccasion::LateController;
            m_openedOnce = true;
        }
        if (open)
            QMetaObject::invokeMethod(this, &Terminal::catchUp, Qt::QueuedConnection);
    });
    connect(m_scheduler.get(), &Scheduler::idle, this, [this] {
        if (m_ownerDue) {
            const std::unique_ptr<OwnerDue> due = std::move(m_ownerDue);
            runOwner(due->operation, due->done);
        }
        if (m_catchUpDue)
            QMetaObject::invokeMethod(this, &Terminal::catchUp, Qt::QueuedConnection);
        if (std::exchange(m_portChoiceDue, false))
            QMetaObject::invokeMethod(this, &Terminal::choosePort, Qt::QueuedConnection);
    });
    if (auto *panel = qobject_cast<StatusPanel *>(f.portPanel()))
        connect(panel, &StatusPanel::clicked, this, &Terminal::choosePort);
    // AutoTuning_Click
    connect(f.AutoTuning, &QPushButton::clicked, this, &Terminal::openWorkbench);

    // Parameter rows
    ParamRows &rows = *m_rows;
    ParameterReads &r = *m_reads;
    ParameterWrites &w = *m_writes;
    for (int n = 0; n < kParamCount; ++n) {
        const ParamRow row = f.row(n);
        // Command4_Click .. Command11_Click
        on(row.read, &QPushButton::clicked, [&r, n] { r.readOne(n); });
        // Command1_Click, Command13_Click .. Command19_Click
        on(row.test, &QPushButton::clicked, [&w, n] { w.testOne(n); });
        // Command12_Click, Command2_Click, Command21_Click .. Command26_Click
        on(row.save, &QPushButton::clicked, [&w, n] { w.saveOne(n); });
        // HScroll3_Change .. HScroll10_Change
        on(&rows.dial(n), &Dial::changed, [&rows, n] { rows.dialMoved(n); });
    }
    // Command3_Click
    on(f.Command3, &QPushButton::clicked, [this, &r] {
        m_history->setNextOccasion(ReadOccasion::Operator);
        r.readAll();
    });
    // Command35_Click
    on(f.Command35, &QPushButton::clicked, [&rows] { rows.clearAll(); });
    // Command27_Click
    on(f.Command27, &QPushButton::clicked, [&w] { w.testAll(); });
    // Command20_Click
    on(f.Command20, &QPushButton::clicked, [&w] { w.saveAll(); });

    // Stored parameter sets
    ParamSetStore &st = *m_store;
    ParamSetList &l = *m_list;
    // Command29_Click
    on(f.Command29, &QPushButton::clicked, [&st] { st.refreshList(); });
    // Command37_Click
    on(f.Command37, &QPushButton::clicked, [&st] { st.storeCurrentSet(); });
    // Command38_Click
    on(f.Command38, &QPushButton::clicked, [&st] { st.rewriteList(); });
    // Command36_Click
    on(f.Command36, &QPushButton::clicked, [&l] { l.loadPicked(); });
    // Command30_Click
    on(f.Command30, &QPushButton::clicked, [&l] { l.deletePicked(); });
    // Command40_Click
    on(f.Command40, &QPushButton::clicked, [&f] { f.showMonitor(); });
    // Command41_Click
    on(f.Command41, &QPushButton::clicked, [&f] { f.showStoredSets(); });
    // List1_Click (the selection changes after the current row on a click:
    // the check looks at the row once it shows selected)
    on(f.List1, &QListWidget::itemSelectionChanged, [&l] { l.checkPickedRow(); });
    // List1_DblClick
    on(f.List1, &QListWidget::itemDoubleClicked, [&l] { l.loadPicked(); });

    // Position-error monitor
    PositionMonitor &m = *m_monitor;
    // Timer1_Timer
    sc.setPoll([&m] { m.pollOnce(); });
    // Check2_Click
    on(&m.monitorSwitch(), &Switch::changed, [&m] { m.onSwitchChanged(); });
    // Command28_Click
    on(f.Command28, &QPushButton::clicked, [&m] { m.zeroShowingBusy(); });
    // Command39_Click
    on(f.Command39, &QPushButton::clicked, [&m] { m.zero(); });
    // Combo1_Change
    on(f.Combo1->lineEdit(), &QLineEdit::textEdited, [&m] { m.errorScaleTyped(); });
    // Combo1_Click
    on(f.Combo1, &QComboBox::activated, [&m] { m.errorScalePicked(); });
    // Combo2_Change
    on(f.Combo2->lineEdit(), &QLineEdit::textEdited, [&m] { m.timeScaleTyped(); });
    // Combo2_Click
    on(f.Combo2, &QComboBox::activated, [&m] { m.timeScalePicked(); });

    // Motor test
    MotorModes &mm = *m_motor;
    // Command34_Click
    on(f.Command34, &QPushButton::clicked, [this, &mm] {
        // While a tuning owns the line, STOP / RESET stops the tuning, which
        // stops the motor and writes the snapshot back itself.
        if (m_tuning->isRunning())
            m_tuning->stop();
        else
            mm.stopAndReset();
    });
    // Command31_Click
    on(f.Command31, &QPushButton::clicked, [&mm] { mm.runVoltage(); });
    // Command32_Click
    on(f.Command32, &QPushButton::clicked, [&mm] { mm.runPid(); });
    // HScroll2_Change
    on(&mm.speed(), &Dial::changed, [&mm] { mm.speedDialled(); });
    // Label13_Change
    on(&mm.runSpeed(), &Text::changed, [&mm] { mm.sendRunSpeed(); });
    // Command42_Click
    on(f.Command42, &QPushButton::clicked, [&mm] { mm.resetController(); });

    // Step mode
    StepMode &sm = *m_steps;
    // Check3_Click
    on(&sm.repeat(), &Switch::changed, [&sm] { sm.onRepeatChanged(); });
    // Timer2_Timer
    sc.setStep([&sm] { sm.stepOnce(); });
    // Text9_Change
    on(&sm.stepCount(), &Text::changed, [&sm] { sm.checkStepCount(); });
    // txtEncoder_Change
    on(&sm.encoder(), &Text::changed, [&sm] { sm.checkEncoder(); });
    // Command33_Click
    on(f.Command33, &QPushButton::clicked, [&sm] { sm.enterStepMode(); });

    wireHistory();
}

// What the terminal reads and sends goes into the history; the history's
// own window, the axis name and where a problem is said.
void Terminal::wireHistory()
{
    HistoryRecorder &h = *m_history;
    connect(&h, &HistoryRecorder::problem, this, [this](const QString &text) {
        // Said once, in the help panel; the history window says it again.
        m_historyProblem = text;
        m_form->helpPanel()->setText(text);
    });
    connect(&h, &HistoryRecorder::recorded, this, [this](const HistoryEvent &e) {
        if (m_historyWindow)
            m_historyWindow->eventRecorded(e);
    });
    connect(&h, &HistoryRecorder::axisNamed, this, [this] {
        if (m_historyWindow)
            m_historyWindow->refresh();
    });
    connect(&m_axisName, &Text::changed, this, [this](const QString &name) {
        if (m_options.portMemory)
            m_options.portMemory->rememberAxisName(m_portSwitch->current(), name.trimmed());
        placeChanged();
    });
    TuningRun &run = m_tuning->tuning();
    connect(&run, &TuningRun::snapshotRead, &h, &HistoryRecorder::snapshotRead);
    connect(&run, &TuningRun::restored, &h, &HistoryRecorder::restored);
    connect(&run, &TuningRun::finished, this, [this](const TuningResult &result) {
        m_history->tuned(m_tuning->lastOptions(), result);
    });
    connect(m_captures.get(), &CaptureStore::added, this, [this](int index) {
        const CaptureStore::Entry &entry = m_captures->at(index);
        if (!entry.imported)
            m_history->captured(entry.capture);
    });

    // The first panel's menu: the port, the axis name, the history.
    const PortPanelMenu menu = addPortPanelMenu(m_form->portPanel());
    connect(menu.choosePort, &QAction::triggered, this, &Terminal::choosePort);
    connect(menu.axisName, &QAction::triggered, this, &Terminal::askAxisName);
    connect(menu.history, &QAction::triggered, this, &Terminal::openHistory);
}

void Terminal::placeChanged()
{
    const QString name = m_axisName.text().trimmed();
    m_history->setPlace({name, m_link->portName()});
    m_captures->setAxisName(name);
}

void Terminal::askAxisName()
{
    const std::optional<QString> name = m_options.prompter->input(
        tr("A tengely neve, amelyen dolgozol (például „3. gép, X tengely”). Az előzmények, a "
           "felvételek és a jegyzőkönyv ezzel a névvel jelölik; a program portonként "
           "megjegyzi."),
        tr("Tengely neve"), m_axisName.text());
    if (name)
        m_axisName.set(name->trimmed());
}

FileChooser &Terminal::files()
{
    if (m_options.files)
        return *m_options.files;
    if (!m_ownFiles)
        m_ownFiles = std::make_unique<DialogFileChooser>();
    return *m_ownFiles;
}

void Terminal::openHistory()
{
    if (!m_historyWindow) {
        HistoryServices s;
        s.store = m_history->store();
        s.problem = [this] { return m_historyProblem; };
        s.currentAxis = [this] { return m_history->place(); };
        s.restore = [this](const ParamTexts &set) { return restoreSet(set); };
        s.files = &files();
        s.folder = [this] { return m_options.paramFolder; };
        m_historyWindow = std::make_unique<HistoryWindow>(s);
    }
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
}

QString Terminal::restoreSet(const ParamTexts &set)
{
    // The boxes belong to the capture or the tuning that owns the line now.
    if (m_lineOwned || m_tuning->isRunning())
        return tr("a vonalat egy felvétel vagy egy hangolás használja");
    for (int n = 0; n < kParamCount; ++n)
        m_rows->newValue(n).set(set[std::size_t(n)].trimmed());
    m_rows->announceLoaded();
    return QString();
}

bool Terminal::start()
{
    TickTimer &poll = m_scheduler->pollTimer();
    TickTimer &step = m_scheduler->stepTimer();
    // The timers wait for the window: nothing may reach the line before the
    // first actions of the shown window.
    poll.setHeld(true);
    step.setHeld(true);

    const OpenResult opened = m_link->openAtStartup();
    if (opened.status == OpenResult::Status::InUse) {
        m_options.prompter->message(PortSwitch::inUseMessage(m_link->portName()));
        return false;
    }
    m_portSwitch->openedWith(opened);
    showLinkProblem(m_link->problem());
    m_history->open(m_options.historyFile);
    placeChanged();

    poll.setInterval(PositionMonitor::kPollIntervalMs);
    step.setInterval(m_steps->pause().value());
    run([this] { m_store->refreshList(); });
    m_form->fillScaleLists();
    return true;
}

void Terminal::onFirstShown()
{
    if (m_activated)
        return;
    m_activated = true;
    m_scheduler->pollTimer().setHeld(!m_link->isOpen());
    m_scheduler->stepTimer().setHeld(false);

    m_form->Command3->setFocus();
    m_openedOnce = m_link->isOpen();
    firstActions(ReadOccasion::Startup);
}

void Terminal::firstActions(ReadOccasion occasion)
{
    m_history->setNextOccasion(occasion);
    m_reads->readAll();
    m_monitor->zero();
    m_motor->stopAndReset();
    m_tuning->offerPendingRestore();
}

void Terminal::catchUp()
{
    // Inside another operation (a message box open, say) it waits for that
    // one to end.
    if (!m_catchUpDue || m_scheduler->isBusy() || !m_link->isOpen())
        return;
    m_catchUpDue = false;
    const ReadOccasion occasion = std::exchange(m_catchUpOccasion, ReadOccasion::Reconnect);
    run([this, occasion] {
        // The read-all empties the new values; what the operator has typed
        // there meanwhile is kept, to be sent when they choose.
        QStringList typed;
        for (int n = 0; n < kParamCount; ++n)
            typed << m_rows->newValue(n).text();
        const auto restore = qScopeGuard([this, typed] {
            for (int n = 0; n < kParamCount; ++n)
                m_rows->newValue(n).set(typed[n]);
        });
        firstActions(occasion);
    });
}

void Terminal::shutDown()
{
    // A running tuning stops and writes back what it found first; the
    // program ends once it has (it calls this again).
    if (m_tuning->holdQuit())
        return;
    m_link->shutDown();
    m_scheduler->pollTimer().setHeld(true);
    m_scheduler->stepTimer().setHeld(true);
    QCoreApplication::quit();
}

void Terminal::openWorkbench()
{
    if (!m_workbench) {
        WorkbenchServices s;
        s.link = m_link.get();
        s.capture = m_capture.get();
        s.store = m_captures.get();
        s.readings = &m_monitor->model().readings();
        s.files = &files();
        s.axisName = &m_axisName;
        s.openHistory = [this] { openHistory(); };
        s.reportInput = [this] {
            ReportInput input;
            input.axis = m_history->place();
            input.date = QDateTime::currentDateTime();
            input.events = m_history->journalOf(input.axis);
            return input;
        };
        s.tell = [this](const QString &text) { m_options.prompter->message(text); };
        s.runOwningLine = [this](const std::function<void()> &op,
                                 const std::function<void()> &done) {
            return runOwningLine(op, done);
        };
        s.stopAndReset = [this] {
            // A tuning owns the line: it stops the motor and writes its
            // snapshot back itself.
            if (m_tuning->isRunning())
                m_tuning->stop();
            else
                run([this] { m_motor->stopAndReset(); });
        };
        s.stepCount = [this] { return m_steps->stepCount().text().trimmed().toInt(); };
        s.folder = [this] { return m_options.paramFolder; };
        m_workbench = std::make_unique<WorkbenchWindow>(s);
        m_tuning->hostIn(m_workbench->tabs());
    }
    m_workbench->show();
    m_workbench->raise();
    m_workbench->activateWindow();
}

void Terminal::choosePort()
{
    // An operation waiting for its reply keeps the line until it has ended.
    if (m_scheduler->isBusy()) {
        m_portChoiceDue = true;
        return;
    }
    const PortChoice current = m_portSwitch->current();
    const std::optional<PortChoice> choice =
        m_options.choosePort
            ? m_options.choosePort(current, m_link->problem())
            : PortChooser::ask(m_portSwitch->catalogue(), current, m_link->problem(),
                               m_options.languageMemory, m_form.get());
    if (choice)
        switchPort(*choice);
}

void Terminal::switchPort(const PortChoice &choice)
{
    Q_ASSERT(!m_scheduler->isBusy());
    m_catchUpOccasion = ReadOccasion::PortSwitch;
    m_portSwitch->switchTo(choice);
    showLinkProblem(m_link->problem());
    // The axis on the new line is the one named there last time.
    if (m_options.portMemory)
        m_axisName.set(m_options.portMemory->axisName(choice));
    placeChanged();
    // What is on show belongs to the old controller.
    m_monitor->model().forgetReading();
    for (int n = 0; n < kParamCount; ++n)
        m_rows->current(n).clear();
    // The new line starts as a fresh start's would, now or once it opens;
    // before the first show, the first show does it.
    m_catchUpDue = m_activated && m_link->isOpen();
    catchUp();
}

void Terminal::showLinkProblem(const QString &problem)
{
    QString text = Form1::portPanelText(SimulatedOpener::shownPortName(m_link->portName()));
    if (!problem.isEmpty()) {
        text += QStringLiteral(" - ") + problem;
        if (m_portSwitch->missingWhileOthersExist())
            text += tr("; kattintson ide másik port választásához");
    }
    m_form->portPanel()->setText(text);
}

} // namespace kdx
