#pragma once

#include <QString>

// Rules for a count typed into one of the four-character boxes of step mode
// (the step count and the encoder resolution): a whole number from 1 to 9999.
namespace kdx::count {

inline constexpr int kMin = 1;
inline constexpr int kMax = 9999;

// Whether the text reads as a number at all (an empty text does not).
bool isNumber(const QString &text);
// A number that cannot be a count: below 1, or above 9999 (which only an
// exponent such as "1e5" can reach in four characters).
bool isOutOfRange(const QString &text);
// The greatest whole number not above the value, as plain digits; a text that
// is not a number comes back unchanged.
QString floored(const QString &text);

} // namespace kdx::count
