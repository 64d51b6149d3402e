#include "runcolours.h"

#include <array>

namespace kdx {

QColor runColour(int slot)
{
    static const std::array<QRgb, 8> colours = {
        0x0072B2, // blue
        0xE69F00, // orange
        0x009E73, // bluish green
        0xD55E00, // vermillion
        0xCC79A7, // reddish purple
        0x56B4E9, // sky blue
        0x000000, // black
        0xF0E442, // yellow
    };
    return QColor(colours[std::size_t(slot) % colours.size()]);
}

} // namespace kdx
