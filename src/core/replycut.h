#pragma once

#include <QString>

#include <optional>

// How the terminal takes values out of what the controller sends back. A
// reply is everything received since the previous read, so it may begin with
// the unread answers of earlier commands.
namespace kdx {

// Result of cutting the reply to a parameter read ("P0".."P7").
struct ParameterCut {
    bool resend;   // neither a space nor a colon: ask again
    QString value; // the new text of the current-value box (may be empty)
};

// The value is the text from the first space (kept) up to the first colon,
// when the colon comes after the space. A reply that as a whole reads as a
// number gives that number rounded down instead.
ParameterCut cutParameterReply(const QString &reply, QChar decimalSeparator);
ParameterCut cutParameterReply(const QString &reply);

// The reply to the position-error poll ("P9"): the characters from the third
// up to the first colon, as a 16-bit whole number. Nothing when the colon is
// missing or among the first three characters, or the text is no such number.
std::optional<qint16> cutPositionReply(const QString &reply, QChar decimalSeparator);
std::optional<qint16> cutPositionReply(const QString &reply);

// The controller speaks ASCII; bytes above 127 are taken one to one so that
// positions in the text match positions on the wire.
QString replyText(const QByteArray &bytes);

} // namespace kdx
