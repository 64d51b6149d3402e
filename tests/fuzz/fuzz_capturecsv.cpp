// Loading captures from a CSV file, whatever it holds, and describing what
// was loaded.
#include "core/capturecsv.h"
#include "core/stepfigures.h"
#include "fuzzcheck.h"

#include <cmath>
#include <cstdint>

using namespace kdx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const CsvResult read = capturesFromCsv(bytes);

    // Either captures or an error naming a line of the input, never both.
    check(read.error.isEmpty() == !read.captures.empty());
    check(read.errorLine >= 0 && read.errorLine <= bytes.count('\n') + 1);
    if (!read.error.isEmpty())
        return 0;

    for (const Capture &c : read.captures) {
        const StepRecord &r = c.record;
        check(r.tMs.size() == r.error.size());
        for (size_t i = 0; i < r.tMs.size(); ++i) {
            check(std::isfinite(r.tMs[i]) && r.tMs[i] >= 0 && std::isfinite(r.error[i]));
            check(i == 0 || r.tMs[i] >= r.tMs[i - 1]);
        }
        // Whatever was loaded can be described without a fault.
        const StepFigures f = stepFigures(r);
        check(!f.valid || (std::isfinite(f.peakError) && std::isfinite(f.iae) &&
                           std::isfinite(f.bandCounts) && f.oscillations >= 0));
        check(f.valid || !f.note.isEmpty());
    }

    // What was loaded is written and loaded again unchanged: the second
    // writing gives the same bytes as the first.
    const QByteArray written = capturesToCsv(read.captures);
    const CsvResult again = capturesFromCsv(written);
    check(again.error.isEmpty() && again.captures.size() == read.captures.size());
    check(capturesToCsv(again.captures) == written);
    return 0;
}
