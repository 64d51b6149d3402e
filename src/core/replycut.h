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

// What the terminal makes of a reply to "Pn" (n 0..7) or to the poll "P9".
// An answer belongs to its request only when it carries the request's word
// and a blank ("P2 " for "P2") before its value; the cuts above are then made
// on the text from that word on. Answers to other requests left in front of
// it (a poll's, an earlier read's) never become its value; when several
// answers carry the word, the last complete one is the newest and counts.
struct ParameterAnswer {
    enum class Kind {
        Value,   // the answer carries its word: `value` is its cut (may be empty)
        Resend,  // neither a blank nor a colon: ask again
        Foreign, // blanks or colons, but no answer to this request
    };
    Kind kind = Kind::Foreign;
    QString value;
};
ParameterAnswer cutParameterAnswer(const QString &reply, int n, QChar decimalSeparator);
ParameterAnswer cutParameterAnswer(const QString &reply, int n);

// The position error in the last complete "P9 " answer of a reply.
std::optional<qint16> cutPositionAnswer(const QString &reply, QChar decimalSeparator);
std::optional<qint16> cutPositionAnswer(const QString &reply);

// The controller speaks ASCII; bytes above 127 are taken one to one so that
// positions in the text match positions on the wire.
QString replyText(const QByteArray &bytes);

} // namespace kdx
