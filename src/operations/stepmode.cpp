#include "stepmode.h"

#include "core/commands.h"
#include "core/countrules.h"
#include "link/seriallink.h"
#include "positionmonitor.h"
#include "prompter.h"
#include "ticktimer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace kdx {

namespace {

const char *const kNumericOnly =
    QT_TRANSLATE_NOOP("StepMode", "Csak numerikus egész értéket adj meg !");
const char *const kCountRange =
    QT_TRANSLATE_NOOP("StepMode", "Csak egész számérték a megengedett! 1-9999 között.");
const char *const kInputErrorTitle = QT_TRANSLATE_NOOP("StepMode", "Hibás adatbevitel");

} // namespace

void StepMode::onRepeatChanged()
{
    letPendingReplyArrive();
    m_link.send(cmd::stepMode());
    m_timer.setInterval(m_pause.value());
    m_monitor.zeroShowingBusy();
    m_monitor.resumePoll();
    m_timer.setEnabled(true);
}

void StepMode::letPendingReplyArrive()
{
    // The switch lets the answer to the command sent last come in before it
    // sends its own. Bytes already waiting end the wait at once; an empty
    // input gets a short while, and then the switch goes on: with nothing
    // outstanding no byte would ever come, and the stop that unchecks the
    // switch must not stall on it.
    if (m_link.waiting() > 0)
        return;
    const QDeadlineTimer deadline(kPendingReplyGraceMs, Qt::PreciseTimer);
    QTimer wake; // makes sure the last pass does not sleep past the deadline
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (m_link.waiting() == 0 && !deadline.hasExpired()) {
        wake.start(std::max<qint64>(1, deadline.remainingTime()));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void StepMode::stepOnce()
{
    if (m_repeat.isOn()) {
        m_timer.setInterval(m_pause.value());
        m_timer.setEnabled(true);
        // Each step goes opposite to the one before; the options show the last.
        const char sign = m_options.isSelected(UpShown) ? '-' : '+';
        m_link.send(cmd::step(sign, m_count.text()));
        m_link.waitForInput();
        m_link.send(cmd::bareReturn());
        m_options.select(sign == '+' ? UpShown : DownShown);
    }
    m_busy.set(false);
}

void StepMode::checkCount(Text &value, const QString &notNumberText, const QString &notNumberTitle,
                          const QString &fallback)
{
    // Every change of the value runs this again, also the ones made here.
    if (!count::isNumber(value.text())) {
        m_prompter.message(notNumberText, notNumberTitle);
        value.set(fallback);
    }
    if (count::isOutOfRange(value.text())) {
        value.clear();
        m_prompter.message(tr(kCountRange), tr(kInputErrorTitle));
    }
    value.set(count::floored(value.text()));
}

void StepMode::checkStepCount()
{
    checkCount(m_count, tr(kNumericOnly), QString::fromUtf8(kProgramTitle), QStringLiteral("2000"));
}

void StepMode::checkEncoder()
{
    checkCount(m_encoder, tr(kCountRange), tr(kInputErrorTitle), QStringLiteral("500"));
}

void StepMode::enterStepMode()
{
    m_link.send(cmd::stepMode());
    m_link.waitForInput();
}

} // namespace kdx
