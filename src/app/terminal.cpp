#include "terminal.h"

#include "core/paramtable.h"
#include "link/portopener.h"
#include "link/seriallink.h"
#include "operations/motormodes.h"
#include "operations/operationguard.h"
#include "operations/parameterreads.h"
#include "operations/parameterwrites.h"
#include "operations/paramsetlist.h"
#include "operations/paramsetstore.h"
#include "operations/positionmonitor.h"
#include "operations/prompter.h"
#include "operations/scrollbinding.h"
#include "operations/stepmode.h"
#include "operations/ticktimer.h"
#include "tuningcontroller.h"
#include "widgets/captionlabel.h"
#include "widgets/contexthelp.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
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

    m_form = std::make_unique<Form1>();
    m_help = std::make_unique<ContextHelp>(*m_form);
    m_link = std::make_unique<SerialLink>(*options.opener);
    m_link->setReplyTimeout(options.replyTimeoutMs);
    m_link->setReconnectInterval(options.reconnectIntervalMs);
    m_guard = std::make_unique<OperationGuard>(*m_form, *m_link);
    m_delay = std::make_unique<SettleDelay>(*m_form);
    m_delay->setStepDuration(options.settleStep);

    m_monitor = std::make_unique<PositionMonitor>(*m_form, *m_link, prompter);
    m_steps = std::make_unique<StepMode>(*m_form, *m_link, prompter, *m_monitor);
    m_motor = std::make_unique<MotorModes>(*m_form, *m_link, *m_delay, *m_monitor, *m_steps);
    m_reads = std::make_unique<ParameterReads>(*m_form, *m_link, *m_delay, prompter, *m_motor);
    m_store = std::make_unique<ParamSetStore>(*m_form, prompter, options.paramFolder);
    m_list = std::make_unique<ParamSetList>(*m_form, prompter, *m_store);
    m_writes = std::make_unique<ParameterWrites>(*m_form, *m_link, *m_delay, prompter, *m_reads,
                                                 *m_motor, *m_store);
    m_scrolls = std::make_unique<ScrollBinding>(*m_form);
    m_tuning = std::make_unique<TuningController>(*this, prompter, options.paramFolder);

    wire();
}

Terminal::~Terminal()
{
    // The areas refer to the window; let them go first.
    m_tuning.reset();
    m_scrolls.reset();
    m_writes.reset();
    m_list.reset();
    m_store.reset();
    m_reads.reset();
    m_motor.reset();
    m_steps.reset();
    m_monitor.reset();
    m_delay.reset();
    m_guard.reset();
    m_help.reset();
    m_form.reset();
    m_link.reset();
}

void Terminal::run(const std::function<void()> &operation)
{
    const bool outermost = m_guard->depth() == 0;
    // No poll falls due while an operation runs (see wire()); the timer
    // rests meanwhile instead of waking up every millisecond for nothing.
    if (outermost)
        m_form->Timer1->setPaused(true);
    m_guard->run(operation);
    if (!outermost)
        return;
    m_form->Timer1->setPaused(false);
    if (m_catchUpDue)
        QMetaObject::invokeMethod(this, &Terminal::catchUp, Qt::QueuedConnection);
    if (!m_stepDue)
        return;
    // A step that fell due during the operation goes out now, unless the
    // timer has been stopped or held meanwhile.
    m_stepDue = false;
    TickTimer *timer = m_form->Timer2;
    if (timer->isEnabled() && !timer->isHeld() && timer->interval() > 0)
        timer->fire();
}

void Terminal::wire()
{
    Form1 &f = *m_form;
    // Connects a signal to a handler that runs as one guarded operation.
    auto on = [this](auto *sender, auto signal, std::function<void()> handler) {
        connect(sender, signal, this, [this, handler] { run(handler); });
    };

    on(&f, &Form1::firstShown, [this] { Form_Activate(); });
    connect(&f, &Form1::closeRequested, this, &Terminal::Form_QueryUnload);
    connect(m_link.get(), &SerialLink::problemChanged, this, &Terminal::showLinkProblem);
    connect(m_link.get(), &SerialLink::openChanged, this, [this](bool open) {
        if (open)
            m_monitor->forgetReading();
        // Before the first show the timers wait for the window anyway, and
        // the first show reads the controller itself.
        if (!m_activated)
            return;
        m_form->Timer1->setHeld(!open);
        m_catchUpDue = open;
        if (open)
            QMetaObject::invokeMethod(this, &Terminal::catchUp, Qt::QueuedConnection);
    });

    on(f.AutoTuning, &QPushButton::clicked, [this] { AutoTuning_Click(); });

    // Controller link
    SettleDelay &d = *m_delay;
    on(f.cmdIdotAd, &QPushButton::clicked, [&d] { d.cmdIdotAd_Click(); });
    on(f.HScroll12, &QScrollBar::valueChanged, [&d] { d.HScroll12_Change(); });

    // Parameter rows
    ParameterReads &r = *m_reads;
    ParameterWrites &w = *m_writes;
    ScrollBinding &s = *m_scrolls;
    for (int n = 0; n < 8; ++n) {
        const ParamRow row = f.row(n);
        on(row.read, &QPushButton::clicked, [&r, n] { r.singleRead(n); });
        on(row.test, &QPushButton::clicked, [&w, n] { w.testWrite(n); });
        on(row.save, &QPushButton::clicked, [&w, n] { w.saveWrite(n); });
        on(row.scroll, &QScrollBar::valueChanged, [&s, n] { s.scrollChanged(n); });
    }
    on(f.Command3, &QPushButton::clicked, [&r] { r.Command3_Click(); });
    on(f.Command35, &QPushButton::clicked, [&r] { r.Command35_Click(); });
    on(f.Command27, &QPushButton::clicked, [&w] { w.Command27_Click(); });
    on(f.Command20, &QPushButton::clicked, [&w] { w.Command20_Click(); });

    // Stored parameter sets
    ParamSetStore &st = *m_store;
    ParamSetList &l = *m_list;
    on(f.Command29, &QPushButton::clicked, [&st] { st.Command29_Click(); });
    on(f.Command37, &QPushButton::clicked, [&st] { st.Command37_Click(); });
    on(f.Command38, &QPushButton::clicked, [&st] { st.Command38_Click(); });
    on(f.Command36, &QPushButton::clicked, [&l] { l.Command36_Click(); });
    on(f.Command30, &QPushButton::clicked, [&l] { l.Command30_Click(); });
    on(f.Command40, &QPushButton::clicked, [&l] { l.Command40_Click(); });
    on(f.Command41, &QPushButton::clicked, [&l] { l.Command41_Click(); });
    // The selection changes after the current row on a click: the check
    // looks at the row once it shows selected.
    on(f.List1, &QListWidget::itemSelectionChanged, [&l] { l.List1_Click(); });
    on(f.List1, &QListWidget::itemDoubleClicked, [&l] { l.List1_DblClick(); });

    // Position-error monitor
    PositionMonitor &m = *m_monitor;
    // The timers tick only between operations. Inside another operation's
    // wait a poll would take that operation's reply for its own, and a step
    // would land in the middle of its exchange, where the controller may
    // take the step count for a parameter's new value. A poll that falls
    // due meanwhile is left out (the next one follows a millisecond later);
    // a step is kept and runs as soon as the operation has ended.
    connect(f.Timer1, &TickTimer::tick, this, [this, &m] {
        if (m_guard->depth() == 0)
            run([&m] { m.Timer1_Timer(); });
    });
    on(f.Check2, &QCheckBox::toggled, [&m] { m.Check2_Click(); });
    on(f.Command28, &QPushButton::clicked, [&m] { m.Command28_Click(); });
    on(f.Command39, &QPushButton::clicked, [&m] { m.Command39_Click(); });
    on(f.Combo1->lineEdit(), &QLineEdit::textEdited, [&m] { m.Combo1_Change(); });
    on(f.Combo1, &QComboBox::activated, [&m] { m.Combo1_Click(); });
    on(f.Combo2->lineEdit(), &QLineEdit::textEdited, [&m] { m.Combo2_Change(); });
    on(f.Combo2, &QComboBox::activated, [&m] { m.Combo2_Click(); });
    on(f.Text20, &QLineEdit::textChanged, [&m] { m.Text20_Change(); });
    on(f.Text21, &QLineEdit::textChanged, [&m] { m.Text21_Change(); });
    on(f.HScrollsebesseg, &QScrollBar::valueChanged, [&m] { m.HScrollsebesseg_Change(); });

    // Motor test
    MotorModes &mm = *m_motor;
    on(f.Command34, &QPushButton::clicked, [this, &mm] {
        // While a tuning owns the line, STOP / RESET stops the tuning, which
        // stops the motor and writes the snapshot back itself.
        if (m_tuning->isRunning())
            m_tuning->stop();
        else
            mm.Command34_Click();
    });
    on(f.Command31, &QPushButton::clicked, [&mm] { mm.Command31_Click(); });
    on(f.Command32, &QPushButton::clicked, [&mm] { mm.Command32_Click(); });
    on(f.HScroll2, &QScrollBar::valueChanged, [&mm] { mm.HScroll2_Change(); });
    on(f.Label13, &CaptionLabel::captionChanged, [&mm] { mm.Label13_Change(); });
    on(f.Command42, &QPushButton::clicked, [&mm] { mm.Command42_Click(); });

    // Step mode
    StepMode &sm = *m_steps;
    on(f.Check3, &QCheckBox::toggled, [&sm] { sm.Check3_Click(); });
    connect(f.Timer2, &TickTimer::tick, this, [this, &sm] {
        if (m_guard->depth() > 0)
            m_stepDue = true;
        else
            run([&sm] { sm.Timer2_Timer(); });
    });
    on(f.Text9, &QLineEdit::textChanged, [&sm] { sm.Text9_Change(); });
    on(f.txtEncoder, &QLineEdit::textChanged, [&sm] { sm.txtEncoder_Change(); });
    on(f.HScroll11, &QScrollBar::valueChanged, [&sm] { sm.HScroll11_Change(); });
    on(f.Command33, &QPushButton::clicked, [&sm] { sm.Command33_Click(); });
}

bool Terminal::Form_Load()
{
    Form1 &f = *m_form;
    // The timers wait for the window: nothing may reach the line before the
    // first actions of the shown window.
    f.Timer1->setHeld(true);
    f.Timer2->setHeld(true);

    const OpenResult opened = m_link->openAtStartup();
    if (opened.status == OpenResult::Status::InUse) {
        m_options.prompter->message(m_link->portName() + QStringLiteral(" Port használatban van."));
        return false;
    }
    showLinkProblem(m_link->problem());

    f.Timer1->setInterval(f.HScrollsebesseg->value());
    f.Timer2->setInterval(f.HScroll11->value());
    run([this] { m_store->Command29_Click(); });
    m_monitor->fillScaleLists();
    return true;
}

void Terminal::Form_Activate()
{
    if (m_activated)
        return;
    m_activated = true;
    Form1 &f = *m_form;
    f.Timer1->setHeld(!m_link->isOpen());
    f.Timer2->setHeld(false);

    f.Command3->setFocus();
    firstActions();
}

void Terminal::firstActions()
{
    m_reads->Command3_Click();
    m_monitor->Command39_Click();
    m_motor->Command34_Click();
    m_tuning->offerPendingRestore();
}

void Terminal::catchUp()
{
    // Inside another operation (a message box open, say) it waits for that
    // one to end.
    if (!m_catchUpDue || m_guard->depth() > 0 || !m_link->isOpen())
        return;
    m_catchUpDue = false;
    run([this] {
        // The read-all empties the new-value boxes; what the operator has
        // typed there meanwhile is kept, to be sent when they choose.
        QStringList typed;
        for (int n = 0; n < kParamCount; ++n)
            typed << m_form->row(n).newValue->text();
        const auto restore = qScopeGuard([this, typed] {
            for (int n = 0; n < kParamCount; ++n)
                m_form->row(n).newValue->setText(typed[n]);
        });
        firstActions();
    });
}

void Terminal::Form_QueryUnload()
{
    // A running tuning stops and writes back what it found first; the
    // program ends once it has (it calls this again).
    if (m_tuning->holdQuit())
        return;
    m_link->shutDown();
    m_form->Timer1->setHeld(true);
    m_form->Timer2->setHeld(true);
    QCoreApplication::quit();
}

void Terminal::AutoTuning_Click()
{
    m_options.prompter->message(QStringLiteral(
        "Automata motor paraméter beállításra lesz itt lehetőség . De nem ebben a verzióban ! "
        "Idővel ..."));
}

void Terminal::showLinkProblem(const QString &problem)
{
    QString text = QString::fromUtf8(Form1::kPortPanelFormat).arg(m_link->portName());
    if (!problem.isEmpty())
        text += QStringLiteral(" - ") + problem;
    m_form->portPanel()->setText(text);
}

} // namespace kdx
