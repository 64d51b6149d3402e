#pragma once

#include "steprecord.h"

#include <QDateTime>
#include <QString>

#include <array>

namespace kdx {

// Stand-in until the shared capture type lands.
struct Capture {
    QString label;
    QDateTime takenAt;
    QString port;
    std::array<int, 8> params{};
    bool paramsKnown = false;
    int steps = 0;
    StepRecord record;
};

} // namespace kdx
