#pragma once

#include "core/autotuner.h"

#include <QByteArray>

namespace kdx {

// The tuner's log, one row per set of gains tried: UTF-8, '.' as the decimal
// point, a header row first.
QByteArray tuningLogToCsv(const std::vector<CandidateEntry> &log);

} // namespace kdx
