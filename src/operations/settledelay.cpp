#include "settledelay.h"

#include "ticktimer.h"

#include <thread>

namespace kdx {

void SettleDelay::settle()
{
    m_poll.setEnabled(false);
    if (m_wait)
        m_wait(length());
    else if (m_step.count() > 0)
        std::this_thread::sleep_for(length());
}

} // namespace kdx
