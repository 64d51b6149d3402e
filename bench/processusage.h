#pragma once

#include <QtGlobal>

// What this process costs, from the kernel's own accounts.
namespace kdx::bench {

// Processor time used so far (user and system), in seconds.
double cpuSeconds();
// Resident memory now (VmRSS) and its peak so far (VmHWM), in KiB; -1 when
// the kernel does not say.
qint64 residentKiB();
qint64 peakResidentKiB();

} // namespace kdx::bench
