#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace kdx {

// One answer of the controller, cut out of what came in over the line.
struct Answer {
    enum class Kind {
        Value,   // ends with a colon: "P9 -12:" or a parameter prompt "P2 200:"
        Ack,     // a bare CR LF: the command was taken
        Refused, // "?" CR LF: the command was refused
    };
    Kind kind = Kind::Ack;
    QByteArray text; // the answer's bytes, its end included
};

// Cuts the received byte stream into the controller's answers as they
// complete. An answer ends with a colon or with a line feed; bytes of an
// answer that has not ended yet wait for the rest. Memory stays bounded:
// a stream that never ends an answer keeps only its last kMaxPending bytes.
class AnswerSplitter {
public:
    static constexpr qsizetype kMaxPending = 256;

    void feed(QByteArrayView bytes);
    std::optional<Answer> next();
    qsizetype pending() const { return m_buffer.size() - m_start; }
    void clear();

private:
    QByteArray m_buffer;
    qsizetype m_start = 0;
};

// The position error in a "P9 " answer. Echoed bytes in front of it are
// skipped: the value stands between the last "P9 " and the colon. An answer
// without "P9 " is no answer to the poll.
std::optional<qint16> positionValue(QByteArrayView answer);

// The value in a parameter prompt "Pn <value>:" as a whole number; nothing
// for an answer that does not carry "Pn ".
std::optional<int> parameterValue(QByteArrayView answer, int n);

} // namespace kdx
