#include "positionmonitor.h"

#include "core/commands.h"
#include "core/numberrules.h"
#include "core/replycut.h"
#include "core/tracemath.h"
#include "link/seriallink.h"
#include "operations/prompter.h"
#include "operations/ticktimer.h"
#include "widgets/form1.h"
#include "widgets/tracesurface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <cmath>

namespace kdx {

namespace {

const char *const kNumericOnly = "Csak numerikus egész értéket adj meg !";
const char *const kIntervalHelp = "Mintavételi sebesség (ms) : ";
const char *const kErrorScaleFallback = "2000";
const char *const kTimeScaleFallback = "1";

std::optional<double> boxNumber(const QLineEdit *box)
{
    return readNumber(box->text());
}

} // namespace

void PositionMonitor::Timer1_Timer()
{
    showAxisCaptions();
    // No settling here: whatever has come in with the first byte is the
    // reply, and the rest is the front of the next tick's reply.
    m_link.send(cmd::positionPoll());
    m_link.waitForInput();
    const std::optional<qint16> value = cutPositionReply(replyText(m_link.takeAll()));
    if (value)
        m_link.understood();
    // A reading of exactly 0 counts as no reading.
    if (value && *value != 0)
        takeReading(*value);
    m_form.setMousePointer(Form1::Pointer::Default);
}

void PositionMonitor::showAxisCaptions()
{
    const QString scale = m_form.Combo1->currentText();
    if (!trace::isListedErrorScale(scale))
        return;
    m_form.Label18->setText(u'+' + scale);
    m_form.Label19->setText(u'-' + scale);
}

void PositionMonitor::takeReading(qint16 value)
{
    // A box that does not hold a number leaves its step out; the tick goes on.
    m_latestRaw = value;
    m_form.Text18->setText(QString::number(value));
    if (const auto zero = boxNumber(m_form.Text19))
        m_form.Text20->setText(generalNumberText(value - *zero));
    // Time advances by one interval per accepted reading; this may wrap the trace.
    if (const auto elapsed = boxNumber(m_form.Text21))
        m_form.Text21->setText(generalNumberText(*elapsed + m_form.Timer1->interval()));
    drawNextSegment();
}

void PositionMonitor::drawNextSegment()
{
    const int factor = trace::scaleFactor(m_form.Combo1->currentText());
    const auto error = boxNumber(m_form.Text20);
    const auto timeScale = readNumber(m_form.Combo2->currentText());
    const auto elapsed = boxNumber(m_form.Text21);
    if (!error || !timeScale || !elapsed)
        return;
    const float x = trace::pointX(*timeScale, *elapsed);
    const float y = trace::pointY(*error, factor);
    const auto fromX = boxNumber(m_form.Text22);
    const auto fromY = boxNumber(m_form.Text23);
    if (fromX && fromY)
        m_form.Picture1->drawLine(float(*fromX), float(*fromY), x, y);
    m_form.Text22->setText(generalNumberText(x));
    m_form.Text23->setText(generalNumberText(y));
}

void PositionMonitor::Text20_Change()
{
    const auto current = boxNumber(m_form.Text20);
    const auto largest = boxNumber(m_form.Text24);
    if (current && largest && std::fabs(*current) > std::fabs(*largest))
        m_form.Text24->setText(m_form.Text20->text());
}

void PositionMonitor::Text21_Change()
{
    const auto elapsed = boxNumber(m_form.Text21);
    const auto timeScale = readNumber(m_form.Combo2->currentText());
    if (!elapsed || !timeScale || !trace::wraps(*elapsed, *timeScale))
        return;
    clearTrace();
}

void PositionMonitor::clearTrace()
{
    m_form.Text21->setText(QStringLiteral("0"));
    m_form.Text22->setText(QStringLiteral("0"));
    m_form.Text23->setText(QStringLiteral("0"));
    m_form.Picture1->clear();
}

void PositionMonitor::Check2_Click()
{
    if (m_form.Check2->isChecked()) {
        m_form.Timer1->setEnabled(true);
        m_form.Timer1->setInterval(m_form.HScrollsebesseg->value());
        m_form.Text19->setText(QStringLiteral("0"));
    } else {
        m_form.Timer1->setEnabled(false);
        m_form.Text18->setText(QString());
        m_form.Text19->setText(QStringLiteral("0"));
        m_form.Text20->setText(QStringLiteral("0"));
    }
}

void PositionMonitor::Command28_Click()
{
    m_form.setMousePointer(Form1::Pointer::Hourglass);
    Command39_Click();
    m_form.setMousePointer(Form1::Pointer::Default);
}

void PositionMonitor::Command39_Click()
{
    m_form.Timer1->setEnabled(false);
    // The last raw reading becomes the zero reference. Taken from the box,
    // a zeroing after a read-all (which switches the monitor off and on and
    // so empties the box) would leave no number there, and every later
    // reading would be skipped: the monitor would stand still.
    m_form.Text19->setText(QString::number(m_latestRaw));
    m_form.Text18->setText(QStringLiteral("0"));
    m_form.Text20->setText(QStringLiteral("0"));
    m_form.Text24->setText(QStringLiteral("0"));
    resumePoll();
}

void PositionMonitor::resumePoll()
{
    // With the switch off the operator has stopped the poll (not every
    // controller answers "P9"); only the switch starts it again.
    if (m_form.Check2->isChecked())
        m_form.Timer1->setEnabled(true);
}

void PositionMonitor::checkErrorScale()
{
    if (trace::isScaleText(m_form.Combo1->currentText()))
        return;
    m_prompter.message(QString::fromUtf8(kNumericOnly));
    m_form.Combo1->setEditText(QLatin1String(kErrorScaleFallback));
    // Typing and code alike change the text: the change runs its handler.
    Combo1_Change();
}

void PositionMonitor::Combo1_Change()
{
    Command28_Click();
    Command39_Click();
    checkErrorScale();
    Command28_Click();
    Command39_Click();
}

void PositionMonitor::Combo1_Click()
{
    Command39_Click();
    checkErrorScale();
    clearTrace();
    resumePoll();
}

void PositionMonitor::Combo2_Change()
{
    Command39_Click();
    m_form.Timer1->setEnabled(false);
    // A time scale below 1 would stretch the trace backwards or never let it
    // fit a screen: refused like any other text that is no whole number.
    if (!trace::isScaleText(m_form.Combo2->currentText())) {
        m_prompter.message(QString::fromUtf8(kNumericOnly));
        m_form.Combo2->setEditText(QLatin1String(kTimeScaleFallback));
        Combo2_Change();
    }
    Command39_Click();
}

void PositionMonitor::Combo2_Click()
{
    Command39_Click();
    clearTrace();
    resumePoll();
}

void PositionMonitor::HScrollsebesseg_Change()
{
    const int ms = m_form.HScrollsebesseg->value();
    m_form.Timer1->setInterval(ms);
    m_form.helpPanel()->setText(QString::fromUtf8(kIntervalHelp) + QString::number(ms));
}

void PositionMonitor::fillScaleLists()
{
    // Filling a list leaves the text the operator sees as it was.
    const auto fill = [](QComboBox *combo, std::initializer_list<const char *> scales) {
        const QString text = combo->currentText();
        for (const char *scale : scales)
            combo->addItem(QLatin1String(scale));
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    };
    fill(m_form.Combo1, {"50", "100", "200", "500", "1000", "2000"});
    fill(m_form.Combo2, {"20", "30", "40", "50", "75", "100", "200"});
}

} // namespace kdx
