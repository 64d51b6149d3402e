#include "countrules.h"

#include "core/numberrules.h"

namespace kdx::count {

bool isNumber(const QString &text)
{
    return readNumber(text).has_value();
}

bool isOutOfRange(const QString &text)
{
    const auto value = readNumber(text);
    return value && (*value < kMin || *value > kMax);
}

QString floored(const QString &text)
{
    const auto value = readNumber(text);
    return value ? wholeNumberText(*value) : text;
}

} // namespace kdx::count
