#include "stepmode.h"

#include "core/commands.h"
#include "core/countrules.h"
#include "link/seriallink.h"
#include "operations/prompter.h"
#include "operations/ticktimer.h"
#include "positionmonitor.h"
#include "widgets/form1.h"
#include "widgets/optiongroup.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>

namespace kdx {

namespace {

const char *const kNumericOnly = "Csak numerikus egész értéket adj meg !";
const char *const kCountRange = "Csak egész számérték a megengedett! 1-9999 között.";
const char *const kInputErrorTitle = "Hibás adatbevitel";

} // namespace

void StepMode::Check3_Click()
{
    letPendingReplyArrive();
    m_link.send(cmd::stepMode());
    m_form.Timer2->setInterval(m_form.HScroll11->value());
    m_monitor.Command28_Click();
    m_monitor.resumePoll();
    m_form.Timer2->setEnabled(true);
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

void StepMode::Timer2_Timer()
{
    if (m_form.Check3->isChecked()) {
        m_form.Timer2->setInterval(m_form.HScroll11->value());
        m_form.Timer2->setEnabled(true);
        // Each step goes opposite to the one before; the buttons show the last.
        const char sign = m_form.Option1->isChecked() ? '-' : '+';
        m_link.send(cmd::step(sign, m_form.Text9->text()));
        m_link.waitForInput();
        m_link.send(cmd::bareReturn());
        if (sign == '+') {
            m_form.Options->deselect(m_form.Option2);
            m_form.Options->select(m_form.Option1);
        } else {
            m_form.Options->deselect(m_form.Option1);
            m_form.Options->select(m_form.Option2);
        }
    }
    m_form.setMousePointer(Form1::Pointer::Default);
}

void StepMode::checkCount(QLineEdit *box, const QString &notNumberText,
                          const QString &notNumberTitle, const QString &fallback)
{
    // Every change of the box runs this again, also the ones made here.
    if (!count::isNumber(box->text())) {
        m_prompter.message(notNumberText, notNumberTitle);
        box->setText(fallback);
    }
    if (count::isOutOfRange(box->text())) {
        box->setText(QString());
        m_prompter.message(QString::fromUtf8(kCountRange), QString::fromUtf8(kInputErrorTitle));
    }
    box->setText(count::floored(box->text()));
}

void StepMode::Text9_Change()
{
    checkCount(m_form.Text9, QString::fromUtf8(kNumericOnly), QString::fromUtf8(kProgramTitle),
               QStringLiteral("2000"));
}

void StepMode::txtEncoder_Change()
{
    checkCount(m_form.txtEncoder, QString::fromUtf8(kCountRange),
               QString::fromUtf8(kInputErrorTitle), QStringLiteral("500"));
}

void StepMode::HScroll11_Change()
{
    // The new pause takes effect with the next tick or the next switch change.
}

void StepMode::Command33_Click()
{
    m_link.send(cmd::stepMode());
    m_link.waitForInput();
}

} // namespace kdx
