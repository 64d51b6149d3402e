#include "linetime.h"

#include "linetiming.h"
#include "link/commands.h"

namespace kdx::bench {

double lineSeconds(qint64 bytes)
{
    return double(sim::LineTiming(sim::LineTiming::DefaultBaudRate, 0).transferNs(bytes)) / 1e9;
}

double pollLimitSeconds(qint64 replyBytes, int intervalMs)
{
    return lineSeconds(cmd::positionPoll().size() + replyBytes) + double(intervalMs) / 1e3;
}

} // namespace kdx::bench
