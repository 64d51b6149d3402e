#include "parameterreads.h"

#include "link/commands.h"
#include "link/replycut.h"
#include "link/seriallink.h"
#include "link/settledelay.h"
#include "ui/form1.h"

#include <QLineEdit>

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
    // Read-all follows with the parameter reads.
}

void ParameterReads::Command35_Click()
{
    for (int n = 0; n < 8; ++n)
        m_form.row(n).current->clear();
    for (int n = 0; n < 8; ++n)
        m_form.row(n).newValue->clear();
}

} // namespace kdx
