#include "positionmonitor.h"

#include "ui/form1.h"

#include <QComboBox>

namespace kdx {

void PositionMonitor::Timer1_Timer() {}
void PositionMonitor::Check2_Click() {}
void PositionMonitor::Command28_Click() {}
void PositionMonitor::Command39_Click() {}
void PositionMonitor::Combo1_Change() {}
void PositionMonitor::Combo1_Click() {}
void PositionMonitor::Combo2_Change() {}
void PositionMonitor::Combo2_Click() {}
void PositionMonitor::Text20_Change() {}
void PositionMonitor::Text21_Change() {}
void PositionMonitor::HScrollsebesseg_Change() {}
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
