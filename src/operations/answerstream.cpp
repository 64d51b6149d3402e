#include "answerstream.h"

#include "core/steadyclock.h"
#include "link/seriallink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace kdx {

void AnswerStream::collect()
{
    // Taking also stops the wait when the line has failed or the program ends.
    const QByteArray bytes = m_link.takeAll();
    if (bytes.isEmpty())
        return;
    m_arrivalNs = steadyNowNs();
    m_answers.feed(bytes);
}

Answer AnswerStream::next()
{
    const QDeadlineTimer deadline(m_link.replyTimeout(), Qt::PreciseTimer);
    QTimer wake; // the last pass must not sleep past the deadline
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (;;) {
        if (auto answer = m_answers.next())
            return *answer;
        collect();
        if (auto answer = m_answers.next())
            return *answer;
        if (deadline.hasExpired()) {
            // Bytes that never make an answer are not a silent controller.
            m_link.fail(m_answers.pending() > 0 ? LinkError::Kind::Unintelligible
                                                : LinkError::Kind::NoReply);
        }
        wake.start(std::max<qint64>(1, deadline.remainingTime()));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

Answer AnswerStream::nextValue(QByteArrayView word)
{
    const QByteArray mark = word.toByteArray() + ' ';
    for (int skipped = 0; skipped < kMaxSkippedAnswers; ++skipped) {
        Answer answer = next();
        if (answer.kind == Answer::Kind::Value && answer.text.contains(mark))
            return answer;
        // An acknowledgement left over is no fault; a value of another
        // request is an answer this one did not understand.
        if (answer.kind == Answer::Kind::Value)
            m_link.noteUncut();
    }
    m_link.fail(LinkError::Kind::Unintelligible);
}

Answer AnswerStream::nextAcknowledgement()
{
    for (int skipped = 0; skipped < kMaxSkippedAnswers; ++skipped) {
        Answer answer = next();
        if (answer.kind != Answer::Kind::Value)
            return answer;
        m_link.noteUncut();
    }
    m_link.fail(LinkError::Kind::Unintelligible);
}

} // namespace kdx
