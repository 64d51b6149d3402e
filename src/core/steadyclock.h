#pragma once

#include <QtGlobal>

#include <chrono>

namespace kdx {

// Now on the steady clock, in ns: the time base of every reading.
inline qint64 steadyNowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace kdx
