#pragma once

#include <QCursor>
#include <QPixmap>

namespace kdx {

// The window's small pictures, painted in code so that they need no image
// files or plug-ins. ratio is the device pixel ratio to paint for.

// The mouse pointer over the current-value boxes: the arrow with a small
// padlock, for values that only the controller sets.
QCursor valuePointer(qreal ratio);

// The picture of the help panel: a "?" in a blue disc, size × size pixels.
QPixmap helpBadge(int size, qreal ratio);

} // namespace kdx
