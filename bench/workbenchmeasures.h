#pragma once

#include "measurements.h"

// The tuning workbench's figures: capture sampling against the line's
// limit, the live scope's redraw rate, CPU and memory, and how long the
// window takes to open with eight captures overlaid.
namespace kdx::bench {

bool measureCapture(const Settings &settings, Results &results, QString *error);
bool measureScope(const Settings &settings, Results &results, QString *error);
bool measureWorkbenchOpen(Results &results, QString *error);

} // namespace kdx::bench
