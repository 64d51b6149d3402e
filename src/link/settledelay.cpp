#include "settledelay.h"

#include "core/numberrules.h"
#include "operations/ticktimer.h"
#include "widgets/captionlabel.h"
#include "widgets/form1.h"

#include <QLabel>
#include <QScrollBar>

#include <thread>

namespace kdx {

void SettleDelay::cmdIdotAd_Click()
{
    m_form.Timer1->setEnabled(false);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    // Sleep in slices rather than after every step: the pace is the same,
    // and the processor is free while the reply comes in.
    constexpr int kStepsPerSlice = 256;
    for (int i = 1; i != 2 * m_form.HScroll12->value(); ++i) {
        m_form.Label22->setCaption(QString::number(i));
        if (m_step.count() > 0 && i % kStepsPerSlice == 0)
            std::this_thread::sleep_until(start + m_step * i);
    }
    if (m_step.count() > 0)
        std::this_thread::sleep_until(start + m_step * (2 * m_form.HScroll12->value() - 1));
}

void SettleDelay::HScroll12_Change()
{
    m_form.Label23->setText(QStringLiteral("Olvasás idő : ") +
                            generalNumberText(m_form.HScroll12->value() / 100.0));
    cmdIdotAd_Click();
}

} // namespace kdx
