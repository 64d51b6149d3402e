#include "linetime.h"

#include "core/commands.h"
#include "linetiming.h"

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
