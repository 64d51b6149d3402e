// The simulated controller's line handling: any bytes, at any pace.
#include "simulatedline.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    kdx::sim::SimulatedLine line;
    qint64 now = 0;
    size_t i = 0;
    // The first byte of each chunk says how long to wait before it and how
    // many bytes follow, so that timing varies with the input.
    while (i < size) {
        const uint8_t head = data[i++];
        now += qint64(head & 0x0f) * 1'000'000;
        const size_t chunk = std::min<size_t>(size - i, (head >> 4) + 1);
        line.receive(now,
                     QByteArrayView(reinterpret_cast<const char *>(data + i), qsizetype(chunk)));
        i += chunk;
        const QByteArray answer = line.takeDue(now + 5'000'000);
        if (answer.size() > kdx::sim::SimulatedLine::MaxPendingBytes)
            std::abort();
    }
    line.takeDue(now + 1'000'000'000);
    return 0;
}
