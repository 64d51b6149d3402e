#include "parameterwrites.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "core/paramtable.h"
#include "link/seriallink.h"
#include "link/settledelay.h"
#include "operations/motormodes.h"
#include "operations/parameterreads.h"
#include "operations/paramsetstore.h"
#include "operations/prompter.h"
#include "operations/ticktimer.h"
#include "widgets/form1.h"

#include <QCheckBox>
#include <QLineEdit>

namespace kdx {

namespace {

const char *const kNoValue = "Nincs érték megadva.";
const char *const kNoValueTitle = "Hiba";

} // namespace

bool ParameterWrites::checkNewValue(int n, WriteKind kind)
{
    QLineEdit *box = m_form.row(n).newValue;
    box->setText(normalisedNewValue(box->text()));
    const Validation v = validateNewValue(n, kind, box->text());
    if (v.ok)
        return true;
    m_prompter.message(v.message, QString::fromUtf8(kRangeMessageTitle));
    box->clear();
    box->setFocus();
    return false;
}

bool ParameterWrites::valueStillSendable(int n, WriteKind kind)
{
    QLineEdit *box = m_form.row(n).newValue;
    if (box->text().isEmpty()) {
        m_prompter.message(QString::fromUtf8(kNoValue), QString::fromUtf8(kNoValueTitle));
        return false;
    }
    // The box may have been typed into while the reads waited: only a value
    // that passes the same check as before goes to the controller.
    return checkNewValue(n, kind);
}

void ParameterWrites::testWrite(int n)
{
    if (!checkNewValue(n, WriteKind::Test))
        return;
    QLineEdit *box = m_form.row(n).newValue;

    if (n == 0) {
        m_delay.cmdIdotAd_Click();
        m_reads.singleRead(n);
    } else {
        m_reads.singleRead(n);
        m_delay.cmdIdotAd_Click();
    }
    m_link.send(cmd::bareReturn());
    m_reads.singleRead(n);

    if (valueStillSendable(n, WriteKind::Test)) {
        m_form.setMousePointer(Form1::Pointer::Hourglass);
        m_link.send(cmd::newValue(box->text()));
        m_link.waitForInput();
        m_link.send(cmd::bareReturn());
        for (int i = 0; i < 4; ++i)
            m_reads.singleRead(n);
    }

    m_form.setMousePointer(Form1::Pointer::Default);
    m_link.send(cmd::bareReturn());
    m_form.Check2->setChecked(true);
    m_motor.Command34_Click();
}

void ParameterWrites::saveWrite(int n)
{
    if (!checkNewValue(n, WriteKind::Save))
        return;
    QLineEdit *box = m_form.row(n).newValue;

    m_reads.singleRead(n);
    m_link.send(cmd::bareReturn());
    m_reads.singleRead(n);

    if (valueStillSendable(n, WriteKind::Save)) {
        m_link.send(cmd::saveValue(box->text()));
        m_link.waitForInput();
        for (int i = 0; i < 5; ++i)
            m_reads.singleRead(n);
        m_link.send(cmd::bareReturn());
        m_form.Check2->setChecked(true);
    }

    m_motor.Command34_Click();
}

int ParameterWrites::writeEachFilled(void (ParameterWrites::*write)(int))
{
    int empty = 0;
    for (int n = 0; n < kParamCount; ++n) {
        if (m_form.row(n).newValue->text().isEmpty())
            ++empty;
        else
            (this->*write)(n);
    }
    return empty;
}

void ParameterWrites::Command27_Click()
{
    m_form.setMousePointer(Form1::Pointer::Hourglass);
    m_form.Timer1->setEnabled(false);
    if (writeEachFilled(&ParameterWrites::testWrite) == kParamCount)
        m_prompter.message(QStringLiteral("Nincs megadva új letölthető paraméter."));
    if (m_form.Check2->isChecked())
        m_form.Timer1->setEnabled(true);
    m_form.setMousePointer(Form1::Pointer::Default);
    m_motor.Command34_Click();
}

void ParameterWrites::Command20_Click()
{
    m_form.setMousePointer(Form1::Pointer::Hourglass);
    m_form.Timer1->setEnabled(false);
    const int empty = writeEachFilled(&ParameterWrites::saveWrite);
    m_form.setMousePointer(Form1::Pointer::Default);

    if (empty == kParamCount) {
        m_prompter.message(QStringLiteral("Nincs legalább egy új paraméter. Nincs mentés."));
    } else {
        if (m_form.Check2->isChecked())
            m_form.Timer1->setEnabled(true);
        const bool toFile = m_prompter.question(
            QStringLiteral("Microcontrollerbe az új paraméterek mentése megtörtént , szeretnéd "
                           "KDXparam.txt filébe is menteni a beállításokat ?"),
            QStringLiteral("Paraméterek mentése"));
        if (toFile) {
            m_form.setMousePointer(Form1::Pointer::Hourglass);
            m_store.Command37_Click();
        }
        m_form.setMousePointer(Form1::Pointer::Default);
    }

    m_form.setMousePointer(Form1::Pointer::Default);
    m_motor.Command34_Click();
}

} // namespace kdx
