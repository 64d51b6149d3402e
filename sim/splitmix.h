#pragma once

#include <QtGlobal>

namespace kdx::sim {

// splitmix64: a small random sequence that gives the same numbers with every
// compiler and library. Advances the state and returns the next number.
inline quint64 splitmix64(quint64 &state)
{
    quint64 z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// A number from the sequence as 0 <= u < 1.
inline double unitInterval(quint64 &state)
{
    return double(splitmix64(state) >> 11) * 0x1.0p-53;
}

} // namespace kdx::sim
