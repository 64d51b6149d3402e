#pragma once

#include "link/simulatedopener.h"
#include "simulateddevice.h"

// The simulated axis behind an in-process line, caught up with the time
// that has passed.
inline const kdx::sim::ServoModel &axisOf(kdx::SimulatedOpener &opener)
{
    kdx::sim::SimulatedDevice &device = opener.simulated();
    device.firmware().advanceTo(device.simulatedTimeNs());
    return device.firmware().axis();
}
