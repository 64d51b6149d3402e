#pragma once

#include <chrono>

namespace kdx {

class Form1;

// The reply-settling delay: a fixed pause after the first byte of a reply,
// so that the rest of the reply is in before it is read. It counts 2×V−1
// steps on its counter label, handles no window events meanwhile, and
// switches the position-error poll off, leaving it off.
class SettleDelay {
public:
    // One step lasts 5 µs, so one delay lasts V/100 ms (50 ms at V = 5000).
    static constexpr std::chrono::nanoseconds kDefaultStep{5000};

    explicit SettleDelay(Form1 &form) : m_form(form) {}

    void setStepDuration(std::chrono::nanoseconds step) { m_step = step; }
    std::chrono::nanoseconds stepDuration() const { return m_step; }

    // The delay itself.
    void cmdIdotAd_Click();
    // The read time V changed: show it and run the delay once.
    void HScroll12_Change();

private:
    Form1 &m_form;
    std::chrono::nanoseconds m_step = kDefaultStep;
};

} // namespace kdx
