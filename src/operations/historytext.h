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
// When an event happened, as the history shows it: "2024.03.05. 14:02:31".
QString eventTimeText(const QDateTime &at);
// A value as shown, "–" when it is not known.
QString shownValue(const QString &value);
// How a value changed from a to b: "+200", "−50", "0"; "≠" when they are
// not both numbers and differ, empty when neither is known.
QString valueChange(const QString &a, const QString &b);

// Events as CSV that any spreadsheet reads: UTF-8, a header row, one row per
// event, with P0..P7 as known after it.
QByteArray historyToCsv(const std::vector<HistoryEvent> &events);

} // namespace kdx
