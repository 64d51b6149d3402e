#pragma once

namespace kdx {

class Form1;

// Each parameter scrollbar writes its position into the row's new-value box.
// One way only: typing into the box leaves the scrollbar alone.
class ScrollBinding {
public:
    explicit ScrollBinding(Form1 &form) : m_form(form) {}

    void scrollChanged(int n);
    void HScroll3_Change() { scrollChanged(0); }
    void HScroll4_Change() { scrollChanged(1); }
    void HScroll5_Change() { scrollChanged(2); }
    void HScroll6_Change() { scrollChanged(3); }
    void HScroll7_Change() { scrollChanged(4); }
    void HScroll8_Change() { scrollChanged(5); }
    void HScroll9_Change() { scrollChanged(6); }
    void HScroll10_Change() { scrollChanged(7); }

private:
    Form1 &m_form;
};

} // namespace kdx
