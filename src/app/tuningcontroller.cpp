#include "tuningcontroller.h"

#include "core/numberrules.h"
#include "link/seriallink.h"
#include "operations/historyrecorder.h"
#include "operations/motormodes.h"
#include "operations/parameterreads.h"
#include "operations/parameterwrites.h"
#include "operations/paramrows.h"
#include "operations/prompter.h"
#include "operations/stepmode.h"
#include "operations/tuningrun.h"
#include "terminal.h"
#include "widgets/form1.h"
#include "widgets/tuningpanel.h"

#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QScopeGuard>
#include <QTabWidget>

namespace kdx {

namespace {
const char *const kTitle = QT_TRANSLATE_NOOP("kdx::TuningController", "Automata hangolás");
}

TuningController::TuningController(Terminal &terminal, Prompter &prompter,
                                   const QString &paramFolder)
    : m_terminal(terminal), m_prompter(prompter), m_folder(paramFolder),
      m_run(std::make_unique<TuningRun>(terminal.link(), paramFolder)), m_panel(new TuningPanel)
{
    TuningPanel *p = m_panel;
    connect(m_run.get(), &TuningRun::progress, p, &TuningPanel::showProgress);
    connect(m_run.get(), &TuningRun::candidate, p, &TuningPanel::addCandidate);
    connect(p, &TuningPanel::startRequested, this, &TuningController::start);
    connect(p, &TuningPanel::stopRequested, this, &TuningController::stop);
    connect(p, &TuningPanel::acceptRequested, this, &TuningController::accept);
    connect(p, &TuningPanel::discardRequested, this, &TuningController::discard);
    connect(p, &TuningPanel::exportRequested, this, &TuningController::exportLog);
}

TuningController::~TuningController()
{
    if (m_panel && !m_panel->parent())
        delete m_panel;
}

TuningPanel &TuningController::panel()
{
    return *m_panel;
}

void TuningController::hostIn(QTabWidget *tabs)
{
    if (m_panel->parent())
        return;
    int index = tabs->count();
    for (int i = 0; i < tabs->count(); ++i) {
        // The place kept for it: the workbench's, or a tab of the panel's title.
        if (tabs->widget(i)->objectName() == QLatin1String("AutoTuningPanel") ||
            tabs->tabText(i) == tr(kTitle))
            index = i;
    }
    if (index < tabs->count()) {
        QWidget *placeholder = tabs->widget(index);
        tabs->removeTab(index);
        placeholder->deleteLater();
    }
    tabs->insertTab(index, m_panel, tr(kTitle));
}

void TuningController::show()
{
    bool ok = false;
    const int steps = m_terminal.steps().stepCount().text().toInt(&ok);
    if (ok && steps > 0 && !isRunning())
        m_panel->setStepSteps(steps);
    if (!m_panel->parent())
        m_terminal.openWorkbench();
    QWidget *window = m_panel->window();
    for (QWidget *w = m_panel->parentWidget(); w; w = w->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
            tabs->setCurrentWidget(m_panel);
            break;
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
}

bool TuningController::isRunning() const
{
    return m_run->isRunning();
}

void TuningController::stop()
{
    m_run->cancel();
}

bool TuningController::holdQuit()
{
    if (!isRunning())
        return false;
    m_quitPending = true;
    m_run->cancel();
    return true;
}

void TuningController::holdMainWindow(bool hold)
{
    Form1 &f = m_terminal.form();
    if (hold) {
        // STOP / RESET stays: it stops the tuning.
        for (QWidget *w : f.Frame2->findChildren<QWidget *>()) {
            if (w != f.Command34 && w->isEnabled() && w->parentWidget() == f.Frame2) {
                w->setEnabled(false);
                m_held.emplace_back(w);
            }
        }
        for (QWidget *w : {static_cast<QWidget *>(f.Frame1), static_cast<QWidget *>(f.Frame4),
                           static_cast<QWidget *>(f.AutoTuning)}) {
            if (w->isEnabled()) {
                w->setEnabled(false);
                m_held.emplace_back(w);
            }
        }
        return;
    }
    for (const QPointer<QWidget> &w : m_held) {
        if (w)
            w->setEnabled(true);
    }
    m_held.clear();
}

std::optional<ParamNumbers> TuningController::shownValues() const
{
    ParamNumbers shown{};
    for (int n = 0; n < 8; ++n) {
        const auto value = toInt16(m_terminal.rows().current(n).text());
        if (!value)
            return std::nullopt;
        shown[n] = *value;
    }
    return shown;
}

void TuningController::start(TuningOptions options)
{
    if (isRunning() || m_startDue)
        return;
    // The snapshot is checked against what the window shows: without a
    // read there is nothing to check it against.
    options.shown = shownValues();
    if (!options.shown) {
        m_prompter.message(tr("A paraméterek aktuális értéke nem ismert. Olvassa ki "
                              "őket (Mind KIOLVAS), aztán indítsa a hangolást."),
                           tr(kTitle));
        return;
    }
    m_lastOptions = options;
    m_startDue = true;
    m_terminal.runAlone([this, options] {
        m_startDue = false;
        holdMainWindow(true);
        auto release = qScopeGuard([this] { holdMainWindow(false); });
        m_panel->tuningStarted();
        const TuningResult result = m_run->run(options);
        m_panel->tuningFinished(result);
        release.dismiss();
        holdMainWindow(false);
        if (m_quitPending) {
            m_terminal.shutDown();
            return;
        }
        // The terminal's own stop-and-reset: motor stopped, step mode, the
        // monitor zeroed and running.
        m_terminal.motor().stopAndReset();
    });
}

void TuningController::accept(const ParamNumbers &tuned)
{
    if (!m_run->decisionDue())
        return;
    m_terminal.runAlone([this, tuned] {
        std::vector<int> which;
        if (m_lastOptions.tuneP)
            which.push_back(2);
        if (m_lastOptions.tuneI)
            which.push_back(3);
        if (m_lastOptions.tuneD)
            which.push_back(7);
        for (int n : which)
            m_terminal.rows().newValue(n).set(QString::number(tuned[n]));
        for (int n : which)
            m_terminal.writes().testOne(n);
        m_run->accept();
        m_panel->decisionTaken(
            tr("Elfogadva: az értékek az Új érték mezőkben, próbaként érvényesek. "
               "Tárolás: P-MENT / Mind MENT."));
    });
}

void TuningController::discard()
{
    m_terminal.runAlone([this] {
        const bool pending = !m_run->decisionDue() && m_run->pendingSnapshot().has_value();
        const bool ok = pending ? m_run->restorePending() : m_run->discard();
        m_panel->decisionTaken(ok ? tr("Elvetve: a hangolás előtti értékek vissza "
                                       "vannak írva.")
                                  : tr("A hangolás előtti értékeket nem sikerült "
                                       "visszaírni (%1).")
                                        .arg(m_run->snapshotPath()));
        m_terminal.motor().stopAndReset();
    });
}

void TuningController::exportLog()
{
    const QString path =
        QFileDialog::getSaveFileName(m_panel, tr("Hangolási napló mentése"),
                                     QDir(m_folder).filePath(QStringLiteral("KDXtuning-log.csv")),
                                     QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        writeLog(path);
}

bool TuningController::writeLog(const QString &path)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(m_panel->logCsv()) >= 0 && file.commit())
        return true;
    m_prompter.message(tr("A naplót nem sikerült menteni: %1").arg(path), tr(kTitle));
    return false;
}

void TuningController::offerPendingRestore()
{
    const auto snapshot = m_run->pendingSnapshot();
    if (!snapshot)
        return;
    QStringList values;
    for (int n = 0; n < 8; ++n)
        values << QStringLiteral("P%1=%2").arg(n).arg((*snapshot)[n]);
    // A value out of its range is not offered as it stands: the operator
    // hears which one, and only the others would go back.
    const QString wrong = m_run->pendingProblems();
    const QString question =
        wrong.isEmpty() ? tr("Egy korábbi automata hangolás nem fejeződött be, és a vezérlőben "
                             "próbaértékek maradhattak. Visszaírjam a hangolás előtti "
                             "értékeket?\n%1")
                              .arg(values.join(u' '))
                        : tr("Egy korábbi automata hangolás nem fejeződött be, és a vezérlőben "
                             "próbaértékek maradhattak. A hangolás előtti értékek között hibás "
                             "is van: %1. Ezt nem írom vissza, a vezérlő mostani értéke marad. "
                             "Visszaírjam a többi hangolás előtti értéket?\n%2")
                              .arg(wrong, values.join(u' '));
    const bool restore = m_prompter.question(question, tr(kTitle));
    if (!restore) {
        m_run->forgetPending();
        return;
    }
    m_terminal.runAlone([this] {
        if (!m_run->restorePending())
            m_prompter.message(tr("A visszaírás nem sikerült; a pillanatkép megmarad: "
                                  "%1")
                                   .arg(m_run->snapshotPath()),
                               tr(kTitle));
        m_terminal.history().setNextOccasion(ReadOccasion::AfterRestore);
        m_terminal.reads().readAll();
    });
}

} // namespace kdx
