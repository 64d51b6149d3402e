#pragma once

#include <QtGlobal>

// What the serial line allows: 38400 baud, 10 bits a byte (start bit,
// 8 data bits, stop bit), nothing else.
namespace kdx::bench {

// Seconds the given number of bytes take on the line.
double lineSeconds(qint64 bytes);

// The least one poll can take: "P9" CR out, the reply of replyBytes back,
// and the poll timer's interval before the next one.
double pollLimitSeconds(qint64 replyBytes, int intervalMs);

} // namespace kdx::bench
