#pragma once

#include "core/answersplitter.h"

#include <QByteArrayView>

namespace kdx {

class SerialLink;

// The controller's answers one by one, as an operation that owns the line
// takes them. Every line sent gets one answer and answers come in the
// order of their lines, so the owner pairs each answer with its request;
// the line was handed over clean, with nothing of earlier requests left.
class AnswerStream {
public:
    // Answers skipped while waiting for a value before the line is taken
    // for one that makes no sense.
    static constexpr int kMaxSkippedAnswers = 64;

    explicit AnswerStream(SerialLink &link) : m_link(link) {}

    // The next answer. Ends the operation when none has come in whole
    // within the reply time-out: as a silent controller, or as one that
    // makes no sense when bytes came that never made an answer.
    Answer next();
    // The next answer that is a value carrying `word` and a blank ("P9",
    // "P3"): its answer and no other's. Answers of other requests before it
    // are counted as not understood and skipped.
    Answer nextValue(QByteArrayView word);
    // The next acknowledgement or refusal; values before it (answers to
    // earlier requests) are skipped.
    Answer nextAcknowledgement();

    // When the bytes of the last answer came in (steady clock, ns).
    qint64 lastArrivalNs() const { return m_arrivalNs; }

private:
    void collect();

    SerialLink &m_link;
    AnswerSplitter m_answers;
    qint64 m_arrivalNs = 0;
};

} // namespace kdx
