#include "answersplitter.h"

#include <QString>

namespace kdx {

namespace {

// The whole-number text between the last "name" (the request's word and a
// blank) and the colon at the end.
std::optional<int> valueAfter(QByteArrayView answer, QByteArrayView name, int lo, int hi)
{
    if (!answer.endsWith(':'))
        return std::nullopt;
    const qsizetype at = answer.lastIndexOf(name);
    if (at < 0)
        return std::nullopt;
    const QByteArrayView text =
        answer.sliced(at + name.size(), answer.size() - 1 - at - name.size()).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int value = QString::fromLatin1(text).toInt(&ok);
    if (!ok || value < lo || value > hi)
        return std::nullopt;
    return value;
}

} // namespace

void AnswerSplitter::feed(QByteArrayView bytes)
{
    if (m_start > 0 && m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    }
    m_buffer.append(bytes);
    if (pending() > kMaxPending) {
        // No answer is that long: what came first is noise.
        m_buffer = m_buffer.last(kMaxPending);
        m_start = 0;
    }
}

std::optional<Answer> AnswerSplitter::next()
{
    for (qsizetype i = m_start; i < m_buffer.size(); ++i) {
        const char c = m_buffer[i];
        if (c != ':' && c != '\n')
            continue;
        Answer answer;
        answer.text = m_buffer.mid(m_start, i + 1 - m_start);
        m_start = i + 1;
        if (c == ':')
            answer.kind = Answer::Kind::Value;
        else if (answer.text.contains('?'))
            answer.kind = Answer::Kind::Refused;
        else
            answer.kind = Answer::Kind::Ack;
        return answer;
    }
    return std::nullopt;
}

void AnswerSplitter::clear()
{
    m_buffer.clear();
    m_start = 0;
}

std::optional<qint16> positionValue(QByteArrayView answer)
{
    const auto v = valueAfter(answer, "P9 ", -32768, 32767);
    if (!v)
        return std::nullopt;
    return qint16(*v);
}

std::optional<int> parameterValue(QByteArrayView answer, int n)
{
    const QByteArray name = "P" + QByteArray::number(n) + ' ';
    return valueAfter(answer, name, -32768, 32767);
}

} // namespace kdx
