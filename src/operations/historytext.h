#pragma once

#include "historystore.h"

#include <QString>

namespace kdx {

// The history in the operator's words (Hungarian, through Qt's translation).

// "Kiolvasás", "Írás", "Hangolás", "Felvétel".
QString historyKindName(HistoryKind kind);
// "indításkor", "Mind KIOLVAS", …
QString readOccasionName(ReadOccasion occasion);
// "Hangolva", "Nem talált jobbat", …
QString tuningOutcomeName(const QString &outcome);
// "Nincs túllendülés", "Kiegyensúlyozott", "Gyors".
QString tuningAimName(const QString &aim);
// The axis as a list shows it: "3. gép, X tengely – /dev/ttyUSB0", or
// "/dev/ttyUSB0 (név nélkül)".
QString axisTitle(const AxisKey &axis);
// One line for the timeline: "P2 próba: 200 → 400", "P0..P7 kiolvasva (Mind KIOLVAS)", …
QString historySummary(const HistoryEvent &event);
// A value as shown, "–" when it is not known.
QString shownValue(const QString &value);

} // namespace kdx
