#pragma once

#include <chrono>
#include <functional>

namespace kdx {

class TickTimer;

// The reply-settling delay: a fixed pause after the first byte of a reply,
// so that the rest of the reply is in before it is read. It handles no
// window events meanwhile and switches the position-error poll off, leaving
// it off.
//
// Its length follows the read time V: 2×V−1 steps of 5 µs, V/100 ms in all
// (50 ms at V = 5000).
class SettleDelay {
public:
    static constexpr std::chrono::nanoseconds kDefaultStep{5000};
    static constexpr int kDefaultReadTime = 5000;

    explicit SettleDelay(TickTimer &poll) : m_poll(poll) {}

    void setStepDuration(std::chrono::nanoseconds step) { m_step = step; }
    std::chrono::nanoseconds stepDuration() const { return m_step; }
    int readTime() const { return m_readTime; }
    void setReadTime(int v) { m_readTime = v; }
    std::chrono::nanoseconds length() const { return m_step * (2 * m_readTime - 1); }

    // The delay itself.
    void settle();
    // How the delay waits (a plain sleep unless replaced, e.g. to watch it).
    using Wait = std::function<void(std::chrono::nanoseconds)>;
    void setWait(Wait wait) { m_wait = std::move(wait); }

private:
    TickTimer &m_poll;
    std::chrono::nanoseconds m_step = kDefaultStep;
    int m_readTime = kDefaultReadTime;
    Wait m_wait;
};

} // namespace kdx
