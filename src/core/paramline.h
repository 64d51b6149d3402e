#pragma once

#include "core/paramtable.h"

#include <QString>

#include <array>
#include <optional>

// One parameter set as a line of KDXparam.txt:
//
//   < comment > P0:value,P1:value,P2:value,...,P6:value,P7:value<end>
//
// The comment and the values are stored verbatim. Reading takes the value of
// parameter k from just after its key up to the key that follows it ("P(k+1):",
// or "<end>" after P7), each key found at its first place in the row.
namespace kdx {

using ParamValues = std::array<QString, kParamCount>;

// The key that opens the value of parameter k ("P0:".."P7:"); k = 8 is the
// end marker "<end>".
QString paramKey(int k);

// "< comment > ", the front of a line.
QString paramLineOpening(const QString &comment);
// "Pk:" value, then "," for P0..P6 or "<end>" for P7.
QString paramLinePiece(int k, const QString &value);
// The whole line (without its line end).
QString composeParamLine(const QString &comment, const ParamValues &values);

// 1-based position of the first occurrence of key k (0..8) in the row,
// case-sensitive; 0 when the key is absent.
qsizetype keyPosition(const QString &row, int k);

// The text between key k and the key after it, or nothing when key k is
// absent or the key after it is absent or stands before it.
std::optional<QString> cutParamValue(const QString &row, int k);

// The value of parameter k as loaded into its box: the cut text without the
// "," that the line puts after each of P0..P6.
std::optional<QString> loadParamValue(const QString &row, int k);

// All eight loaded values, or nothing when any of them cannot be cut.
std::optional<ParamValues> loadParamLine(const QString &row);

// True when the text holds one of the nine keys; such a comment or value
// would make the line load other values than were saved, or none.
bool containsParamKey(const QString &text);

// True when every character fits on one line of the file: it is not a line
// end and windows-1250 has a byte for it.
bool isStorableText(const QString &text);

} // namespace kdx
