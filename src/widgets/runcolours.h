#pragma once

#include <QColor>

namespace kdx {

// Eight colours that stay apart for colour-blind eyes too (Okabe and Ito),
// the run colour slots of the workbench.
QColor runColour(int slot);

} // namespace kdx
