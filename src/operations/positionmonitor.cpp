#include "positionmonitor.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "core/replycut.h"
#include "core/steadyclock.h"
#include "core/tracemath.h"
#include "link/seriallink.h"
#include "prompter.h"
#include "ticktimer.h"

namespace kdx {

namespace {

const char *const kNumericOnly =
    QT_TRANSLATE_NOOP("PositionMonitor", "Csak numerikus egész értéket adj meg !");
const char *const kErrorScaleFallback = "2000";
const char *const kTimeScaleFallback = "1";

} // namespace

PositionMonitor::PositionMonitor(SerialLink &link, Prompter &prompter, TickTimer &poll,
                                 Switch &busyPointer)
    : m_link(link), m_prompter(prompter), m_poll(poll), m_busy(busyPointer)
{
    readScales();
    QObject::connect(&m_errorScale, &Text::changed, &m_errorScale, [this] { readScales(); });
    QObject::connect(&m_timeScale, &Text::changed, &m_timeScale, [this] { readScales(); });
}

void PositionMonitor::readScales()
{
    m_scales = {trace::scaleFactor(m_errorScale.text()), readNumber(m_timeScale.text())};
    m_listedErrorScale = trace::isListedErrorScale(m_errorScale.text());
}

void PositionMonitor::pollOnce()
{
    // The axis captions follow a listed error scale when the poll runs.
    if (m_listedErrorScale)
        m_axisScale.set(m_errorScale.text());
    // No settling here: whatever has come in with the first byte is the
    // reply, and the rest is the front of the next tick's reply.
    m_link.send(cmd::positionPoll());
    m_link.waitForInput();
    const std::optional<qint16> value = cutPositionAnswer(replyText(m_link.takeAll()));
    if (value)
        m_link.understood();
    else
        m_link.noteUncut();
    // A reading of exactly 0 counts as no reading for the boxes and the
    // trace; the readings over time keep it.
    if (value && *value != 0)
        m_model.take(*value, m_poll.interval(), m_scales, steadyNowNs());
    else if (value)
        m_model.keep(*value, steadyNowNs());
    m_busy.set(false);
}

void PositionMonitor::clearTrace()
{
    m_model.clearTrace();
}

void PositionMonitor::onSwitchChanged()
{
    if (m_switch.isOn()) {
        m_poll.setEnabled(true);
        m_poll.setInterval(kPollIntervalMs);
        m_model.switchOn();
    } else {
        m_poll.setEnabled(false);
        m_model.switchOff();
    }
}

void PositionMonitor::zeroShowingBusy()
{
    m_busy.set(true);
    zero();
    m_busy.set(false);
}

void PositionMonitor::zero()
{
    m_poll.setEnabled(false);
    m_model.zero();
    resumePoll();
}

void PositionMonitor::stopPoll()
{
    m_poll.setEnabled(false);
}

void PositionMonitor::resumePoll()
{
    // With the switch off the operator has stopped the poll (not every
    // controller answers "P9"); only the switch starts it again.
    if (m_switch.isOn())
        m_poll.setEnabled(true);
}

void PositionMonitor::checkErrorScale()
{
    if (trace::isScaleText(m_errorScale.text()))
        return;
    m_prompter.message(tr(kNumericOnly));
    m_errorScale.set(QLatin1String(kErrorScaleFallback));
    // Typing and code alike change the text: the change runs its handler.
    errorScaleTyped();
}

void PositionMonitor::errorScaleTyped()
{
    zeroShowingBusy();
    zero();
    checkErrorScale();
    zeroShowingBusy();
    zero();
}

void PositionMonitor::errorScalePicked()
{
    zero();
    checkErrorScale();
    clearTrace();
    resumePoll();
}

void PositionMonitor::timeScaleTyped()
{
    zero();
    m_poll.setEnabled(false);
    // A time scale below 1 would stretch the trace backwards or never let it
    // fit a screen: refused like any other text that is no whole number.
    if (!trace::isScaleText(m_timeScale.text())) {
        m_prompter.message(tr(kNumericOnly));
        m_timeScale.set(QLatin1String(kTimeScaleFallback));
        timeScaleTyped();
    }
    zero();
}

void PositionMonitor::timeScalePicked()
{
    zero();
    clearTrace();
    resumePoll();
}

} // namespace kdx
