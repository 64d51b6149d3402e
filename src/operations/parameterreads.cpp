#include "parameterreads.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "core/paramtable.h"
#include "core/replycut.h"
#include "link/seriallink.h"
#include "link/settledelay.h"
#include "operations/motormodes.h"
#include "operations/prompter.h"
#include "operations/ticktimer.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScrollBar>

#include <exception>

namespace kdx {

void ParameterReads::singleRead(int n)
{
    QLineEdit *box = m_form.row(n).current;
    box->clear();
    for (int attempt = 1;; ++attempt) {
        m_link.send(cmd::readParameter(n));
        m_link.waitForInput();
        m_delay.cmdIdotAd_Click();
        const ParameterCut cut = cutParameterReply(replyText(m_link.takeAll()));
        if (!cut.resend) {
            m_link.understood();
            box->setText(cut.value);
            return;
        }
        // A controller that keeps answering without a space or a colon is
        // not one this program can talk to.
        if (attempt >= SerialLink::kMaxReadAttempts)
            m_link.fail(LinkError::Kind::Unintelligible);
    }
}

void ParameterReads::Command3_Click()
{
    Form1 &f = m_form;
    f.setMousePointer(Form1::Pointer::Hourglass);
    // Should the controller fall silent half-way, the monitor is not left
    // switched off behind the operator's back.
    auto restoreMonitor = qScopeGuard([&f] {
        if (std::uncaught_exceptions() > 0) {
            f.setMousePointer(Form1::Pointer::Default);
            f.Check2->setChecked(true);
        }
    });

    f.Check2->setChecked(false);
    f.Check3->setChecked(false);
    f.Timer1->setEnabled(false);
    Command35_Click();

    for (int n = 0; n < kParamCount; ++n) {
        singleRead(n);
        f.row(n).current->setText(QStringLiteral("Kiolvas"));
    }
    for (int n = 0; n < kParamCount; ++n)
        singleRead(n);
    f.setMousePointer(Form1::Pointer::Default);

    if (synchroniseScrollBars()) {
        for (int n = 0; n < kParamCount; ++n)
            f.row(n).newValue->clear();
    }

    restoreMonitor.dismiss();
    f.setMousePointer(Form1::Pointer::Default);
    f.Check2->setChecked(true);
    m_motor.Command34_Click();
}

bool ParameterReads::synchroniseScrollBars()
{
    for (int n = 0; n < kParamCount; ++n) {
        const ParamRow row = m_form.row(n);
        const auto position = toInt16(row.current->text());
        if (!position)
            continue;
        if (*position < row.scroll->minimum() || *position > row.scroll->maximum()) {
            m_prompter.message(QString::fromUtf8(param(n).readAllMessage));
            return false;
        }
        row.scroll->setValue(*position);
    }
    return true;
}

void ParameterReads::Command35_Click()
{
    for (int n = 0; n < kParamCount; ++n)
        m_form.row(n).current->clear();
    for (int n = 0; n < kParamCount; ++n)
        m_form.row(n).newValue->clear();
}

} // namespace kdx
