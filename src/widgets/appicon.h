#pragma once

#include <QIcon>

namespace kdx {

// The program's icon: a trace on a small scope screen above a servo dial.
// Painted here so that it needs no image plug-in; the installed SVG shows
// the same picture.
QIcon programIcon();

} // namespace kdx
