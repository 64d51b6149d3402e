#include "stepcapture.h"

#include "core/commands.h"
#include "core/readingbuffer.h"
#include "core/steadyclock.h"
#include "core/stepfigures.h"
#include "link/seriallink.h"

#include <QScopeGuard>

#include <cmath>
#include <cstdlib>
#include <utility>

namespace kdx {

namespace {

constexpr int kP0 = 0, kP2 = 2, kP3 = 3, kP6 = 6, kP7 = 7;

} // namespace

QString captureLabel(const Capture &c)
{
    QString text;
    if (c.paramsKnown)
        text = QStringLiteral("P2=%1 P3=%2 P7=%3 ")
                   .arg(c.params[kP2])
                   .arg(c.params[kP3])
                   .arg(c.params[kP7]);
    text += (c.steps > 0 ? QStringLiteral("+") : QString()) + QString::number(c.steps);
    if (c.takenAt.isValid())
        text += c.takenAt.toString(QStringLiteral(" (HH:mm:ss)"));
    return text;
}

std::array<int, 8> StepCapture::readParameters()
{
    std::array<int, 8> params{};
    for (int n = 0; n < 8; ++n) {
        for (int attempt = 1;; ++attempt) {
            m_link.send(cmd::readParameter(n));
            const Answer answer = m_answers.nextValue(cmd::readParameter(n).chopped(1));
            const auto value = parameterValue(answer.text, n);
            // The prompt stays open until the next line: an empty one keeps the value.
            m_link.send(cmd::bareReturn());
            m_answers.nextAcknowledgement();
            if (value) {
                m_link.understood();
                params[n] = *value;
                break;
            }
            m_link.noteUncut();
            if (attempt >= kMaxReadAttempts)
                m_link.fail(LinkError::Kind::Unintelligible);
            m_link.noteResend();
        }
    }
    return params;
}

qint16 StepCapture::pollOnce()
{
    for (int attempt = 1;; ++attempt) {
        m_link.send(cmd::positionPoll());
        const Answer answer = m_answers.nextValue("P9");
        if (const auto value = positionValue(answer.text)) {
            m_link.understood();
            return *value;
        }
        m_link.noteUncut();
        if (attempt >= kMaxReadAttempts)
            m_link.fail(LinkError::Kind::Unintelligible);
        m_link.noteResend();
    }
}

std::array<int, 8> StepCapture::start(int steps)
{
    m_cancel = false;
    m_series.clear();
    m_last = Capture();
    m_last.steps = steps;
    m_last.record.complete = false;
    return readParameters();
}

Capture StepCapture::run(int steps, double windowMs)
{
    m_running = true;
    auto done = qScopeGuard([this] { m_running = false; });
    const std::array<int, 8> params = start(steps);
    return capture(steps, windowMs, params);
}

std::vector<Capture> StepCapture::runPairs(int steps, int pairs, double windowMs)
{
    m_running = true;
    auto done = qScopeGuard([this] { m_running = false; });
    const std::array<int, 8> params = start(steps);
    for (int k = 0; k < pairs && !m_cancel; ++k) {
        for (const int s : {steps, -steps}) {
            m_series.push_back(Capture());
            m_series.back() = capture(s, windowMs, params);
            if (!m_series.back().record.complete || m_cancel)
                return m_series;
        }
    }
    return m_series;
}

void StepCapture::sendStep(int steps)
{
    m_link.send(cmd::step(steps < 0 ? '-' : '+', QString::number(std::abs(steps))) +
                cmd::bareReturn());
}

Capture StepCapture::capture(int steps, double windowMs, const std::array<int, 8> &params)
{
    const bool wasRunning = std::exchange(m_running, true);
    m_last = Capture();
    m_last.port = m_link.portName();
    m_last.params = params;
    m_last.paramsKnown = true;
    m_last.steps = steps;
    StepRecord &record = m_last.record;
    const StepMove move = stepMove(steps, params[kP0], params[kP6]);
    record.stepCounts = move.stepCounts;
    record.moveEndMs = move.moveEndMs;
    record.windowMs = windowMs;
    record.complete = false;
    // The series keeps what the failing capture got, too.
    auto keep = qScopeGuard([this, wasRunning] {
        m_running = wasRunning;
        if (!m_series.empty())
            m_series.back() = m_last;
    });

    m_link.send(cmd::stepMode());
    m_answers.nextAcknowledgement();
    const qint16 zero = pollOnce();

    const qint64 sentNs = steadyNowNs();
    m_last.takenAt = QDateTime::currentDateTime();
    m_last.label = captureLabel(m_last);
    sendStep(steps);
    int answersDue = 2; // the step and its bare return
    int pollsOut = 0;
    const qint64 windowNs = qint64(windowMs * 1e6);
    bool &refused = m_refused;
    refused = false;
    for (;;) {
        const bool windowOpen = !m_cancel && !refused && steadyNowNs() - sentNs < windowNs;
        for (; windowOpen && pollsOut < m_pollsInFlight; ++pollsOut)
            m_link.send(cmd::positionPoll());
        if (pollsOut == 0 && answersDue <= 0)
            break;
        const Answer answer = m_answers.next();
        // Answers come in the order of their lines: first the step's own,
        // then its bare return's, then the polls'.
        if (answersDue > 0 && answer.kind != Answer::Kind::Value) {
            if (answersDue == 2 && answer.kind == Answer::Kind::Refused)
                refused = true;
            --answersDue;
            continue;
        }
        if (pollsOut == 0)
            continue; // nothing of ours: left over from before
        --pollsOut;
        // A refused poll (a firmware without "P9") counts like a reply
        // that could not be cut.
        const auto value =
            answer.kind == Answer::Kind::Value ? positionValue(answer.text) : std::nullopt;
        if (!value) {
            m_link.noteUncut();
            continue;
        }
        m_link.understood();
        if (m_readings)
            m_readings->push({m_answers.lastArrivalNs(), *value});
        record.tMs.push_back(double(m_answers.lastArrivalNs() - sentNs) / 1e6);
        record.error.push_back(double(*value) - zero);
    }
    record.complete = !refused && !m_cancel && !record.tMs.empty();
    return m_last;
}

} // namespace kdx
