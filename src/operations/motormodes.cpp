#include "motormodes.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "link/seriallink.h"
#include "link/settledelay.h"
#include "positionmonitor.h"
#include "stepmode.h"
#include "widgets/captionlabel.h"
#include "widgets/form1.h"
#include "widgets/optiongroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

namespace kdx {

void MotorModes::sendAndWait(const QByteArray &command)
{
    m_link.send(command);
    m_link.waitForInput();
}

QByteArray MotorModes::speedCommand() const
{
    return cmd::speed(m_form.Label13->caption());
}

void MotorModes::Command34_Click()
{
    m_form.setMousePointer(Form1::Pointer::Hourglass);
    m_form.Check2->setEnabled(true);
    // Unchecking runs the repeat switch's own operation now, to its end.
    m_form.Check3->setChecked(false);
    m_form.Options->select(m_form.Option3);
    sendAndWait(cmd::stop());
    sendAndWait(cmd::stepMode());
    m_link.send(cmd::stepMode());
    m_delay.cmdIdotAd_Click();
    m_monitor.Command39_Click();
    m_form.Check2->setChecked(true);
    m_form.setMousePointer(Form1::Pointer::Default);
}

void MotorModes::Command31_Click()
{
    Command34_Click();
    m_form.Options->select(m_form.Option3);
    sendAndWait(cmd::voltageRun());
    sendAndWait(speedCommand());
    m_link.send(speedCommand());
    // The monitor keeps running; its switch stays as it is until the next stop.
    m_form.Check2->setEnabled(false);
}

void MotorModes::Command32_Click()
{
    m_link.send(cmd::pidRun());
    m_form.Check2->setEnabled(true);
    Command34_Click();
    m_form.Options->deselect(m_form.Option3);
    sendAndWait(cmd::pidRun());
    sendAndWait(speedCommand());
    m_monitor.Command28_Click();
}

void MotorModes::HScroll2_Change()
{
    const QString speed = QString::number(m_form.HScroll2->value());
    // A real change of the caption sends the speed command.
    m_form.Label13->setCaption(speed);
    m_delay.cmdIdotAd_Click();
    m_form.Label13->setCaption(speed);
}

void MotorModes::Label13_Change()
{
    // The speed display means something only in the PID run.
    if (m_form.Option3->isChecked()) {
        m_form.Label14->setText(QStringLiteral("?"));
    } else if (const auto speed = readNumber(m_form.Label13->caption())) {
        m_form.Label14->setText(wholeNumberText(*speed * 50));
    }
    sendAndWait(speedCommand());
}

void MotorModes::Command42_Click()
{
    m_form.Check2->setChecked(true);
    m_delay.cmdIdotAd_Click();
    m_form.Options->deselect(m_form.Option3);
    m_steps.Command33_Click();
    m_link.send(cmd::bareReturn());
    m_delay.cmdIdotAd_Click();
    m_link.waitForInput();
    m_link.send(cmd::bareReturn());
    if (m_form.Option1->isChecked())
        m_delay.cmdIdotAd_Click();
}

} // namespace kdx
