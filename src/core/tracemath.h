#pragma once

#include <QString>

// How the position-error trace turns readings into points on the graph.
// The graph is laid out in twips (origin top left, y growing downwards); the
// zero-error line runs 2000 twips from the top, and one screen of trace is
// 9000 twips wide.
namespace kdx::trace {

inline constexpr double kCentreY = 2000.0;
inline constexpr double kScreenWidth = 9000.0;

// The error scales of the list ("50" .. "2000") map their full-scale error to
// the top or bottom edge of the graph. Any other text has the factor 0 (a
// flat trace on the zero line) and no axis captions of its own.
bool isListedErrorScale(const QString &errorScale);
int scaleFactor(const QString &errorScale);

// A scale the operator typed is usable when it reads as a whole number of at
// least 1 (in the operator's locale).
bool isScaleText(const QString &text);

// The point of a reading, in single precision: x is the time scale times the
// elapsed sampling time, y is the centre line minus the error times the
// factor.
float pointX(double timeScale, double elapsedMs);
float pointY(double error, int factor);

// The trace starts again from the left edge once the elapsed time no longer
// fits one screen. A time scale below 1 never wraps (it is refused where it
// is typed).
bool wraps(double elapsedMs, double timeScale);

} // namespace kdx::trace
