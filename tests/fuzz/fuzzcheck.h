#pragma once

#include <cstdlib>

// A property of the code under fuzzing that must hold for every input: a
// broken one ends the run as a finding.
inline void check(bool holds)
{
    if (!holds)
        std::abort();
}
