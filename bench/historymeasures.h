#pragma once

#include "measurements.h"

namespace kdx::bench {

// The history file: an hour of the operator's work kept through the
// terminal's own recorder (the file's size, the time each event takes to be
// on the disk), and a file of 100 000 events (10 000 in a short run) under
// the history window's queries.
bool measureHistoryFile(const Settings &settings, Results &results, QString *error);

} // namespace kdx::bench
