// Reading a box as a number, and the rules built on it.
#include "core/numberrules.h"
#include "core/paramtable.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (QChar separator : {QChar(u','), QChar(u'.')}) {
        const auto value = kdx::readNumber(text, separator);
        if (value && !std::isfinite(*value))
            std::abort();

        // Normalisation leaves a non-negative whole number, nothing, or the text itself.
        const QString normalised = kdx::normalisedNewValue(text, separator);
        if (normalised != text && !normalised.isEmpty()) {
            const auto whole = kdx::readNumber(normalised, separator);
            if (!whole || *whole < 0 || std::floor(*whole) != *whole)
                std::abort();
        }
        for (int n = 0; n < kdx::kParamCount; ++n) {
            const kdx::Validation v =
                kdx::validateNewValue(n, kdx::WriteKind::Test, normalised, separator);
            if (v.ok) {
                const double x = *kdx::readNumber(normalised, separator);
                if (x < kdx::param(n).testLo || x > kdx::param(n).testHi)
                    std::abort();
            }
        }
        (void)kdx::toInt16(text, separator);
        if (value)
            (void)kdx::generalNumberText(*value, separator);
    }
    return 0;
}
