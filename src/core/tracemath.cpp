#include "tracemath.h"

#include "core/numberrules.h"

#include <array>
#include <cmath>

namespace kdx::trace {

namespace {

struct ErrorScale {
    const char16_t *text;
    int factor;
};

constexpr std::array<ErrorScale, 6> kErrorScales{{
    {u"50", 40},
    {u"100", 20},
    {u"200", 10},
    {u"500", 4},
    {u"1000", 2},
    {u"2000", 1},
}};

} // namespace

bool isListedErrorScale(const QString &errorScale)
{
    return scaleFactor(errorScale) != 0;
}

int scaleFactor(const QString &errorScale)
{
    for (const ErrorScale &s : kErrorScales) {
        if (errorScale == QStringView(s.text))
            return s.factor;
    }
    return 0;
}

bool isScaleText(const QString &text)
{
    const auto value = readNumber(text);
    return value && *value >= 1 && std::floor(*value) == *value;
}

float pointX(double timeScale, double elapsedMs)
{
    return float(timeScale * elapsedMs);
}

float pointY(double error, int factor)
{
    return float(kCentreY - error * factor);
}

bool wraps(double elapsedMs, double timeScale)
{
    return timeScale >= 1 && elapsedMs >= kScreenWidth / timeScale;
}

} // namespace kdx::trace
