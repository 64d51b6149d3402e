#include "parameterreads.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "core/paramtable.h"
#include "core/replycut.h"
#include "link/seriallink.h"
#include "motormodes.h"
#include "parameterevents.h"
#include "paramrows.h"
#include "positionmonitor.h"
#include "prompter.h"
#include "settledelay.h"
#include "stepmode.h"

#include <QScopeGuard>

#include <exception>

namespace kdx {

void ParameterReads::readOne(int n)
{
    Text &value = m.rows.current(n);
    value.clear();
    int foreign = 0;
    for (int attempt = 1;; ++attempt) {
        m.link.send(cmd::readParameter(n));
        m.link.waitForInput();
        m.delay.settle();
        const ParameterAnswer answer = cutParameterAnswer(replyText(m.link.takeAll()), n);
        if (answer.kind == ParameterAnswer::Kind::Value) {
            m.link.understood();
            value.set(answer.value);
            return;
        }
        m.link.noteUncut();
        // A controller that keeps answering without a space or a colon is
        // not one this program can talk to; nor is one that answers "Pn"
        // twice running with something that is no answer to it. Such a
        // reply never becomes a value.
        if (attempt >= SerialLink::kMaxReadAttempts ||
            (answer.kind == ParameterAnswer::Kind::Foreign && ++foreign >= kForeignAnswers))
            m.link.fail(LinkError::Kind::Unintelligible);
        m.link.noteResend();
    }
}

void ParameterReads::readAll()
{
    Switch &busy = m.busyPointer;
    Switch &monitorOn = m.monitor.monitorSwitch();
    busy.set(true);
    // Should the controller fall silent half-way, the monitor is not left
    // switched off behind the operator's back.
    auto restoreMonitor = qScopeGuard([&busy, &monitorOn] {
        if (std::uncaught_exceptions() > 0) {
            busy.set(false);
            monitorOn.set(true);
        }
    });

    monitorOn.set(false);
    m.steps.repeat().set(false);
    m.monitor.stopPoll();
    m.rows.clearAll();

    for (int n = 0; n < kParamCount; ++n) {
        readOne(n);
        m.rows.current(n).set(tr("Kiolvas"));
    }
    for (int n = 0; n < kParamCount; ++n)
        readOne(n);
    if (m_events) {
        std::array<QString, kParamCount> values;
        for (int n = 0; n < kParamCount; ++n)
            values[std::size_t(n)] = m.rows.current(n).text();
        m_events->setRead(values);
    }
    busy.set(false);

    if (moveDialsToCurrent())
        m.rows.clearNewValues();

    restoreMonitor.dismiss();
    busy.set(false);
    monitorOn.set(true);
    m.motor.stopAndReset();
}

bool ParameterReads::moveDialsToCurrent()
{
    for (int n = 0; n < kParamCount; ++n) {
        Dial &dial = m.rows.dial(n);
        const auto position = toInt16(m.rows.current(n).text());
        if (!position)
            continue;
        if (*position < dial.minimum() || *position > dial.maximum()) {
            m.prompter.message(readAllMessage(n));
            return false;
        }
        dial.set(*position);
    }
    return true;
}

} // namespace kdx
