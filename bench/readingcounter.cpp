#include "readingcounter.h"

#include "core/commands.h"
#include "core/monitormodel.h"
#include "linetime.h"
#include "operations/ticktimer.h"

#include <QIODevice>

namespace kdx::bench {

namespace {

// The shortest "P9" exchange there is: the request and "P9 1:".
const double kShortestPollSeconds = lineSeconds(cmd::positionPoll().size() + 5);

} // namespace

ReadingCounter::ReadingCounter(MonitorModel &model, TickTimer &poll, QIODevice &line,
                               QObject *parent)
    : QObject(parent), m_model(model), m_poll(poll), m_seen(model.readings().totalPushed())
{
    connect(&model, &MonitorModel::changed, this, &ReadingCounter::modelChanged);
    connect(&poll, &TickTimer::tick, this, [this] { ++m_polls; });
    connect(&line, &QIODevice::bytesWritten, this, &ReadingCounter::sent);
    connect(&line, &QIODevice::readyRead, this, &ReadingCounter::received);
}

void ReadingCounter::sent()
{
    // Only the poll writes while its timer ticks.
    if (m_poll.isTicking())
        m_sent.start();
}

void ReadingCounter::received()
{
    if (!m_sent.isValid())
        return;
    if (double(m_sent.nsecsElapsed()) / 1e9 < kShortestPollSeconds)
        ++m_early;
    m_sent.invalidate();
}

void ReadingCounter::restart()
{
    m_accepted = 0;
    m_polls = 0;
    m_wraps = 0;
    m_early = 0;
    m_limitSeconds = 0;
}

void ReadingCounter::modelChanged()
{
    const double elapsed = m_model.elapsedMs();
    if (elapsed < m_lastElapsed)
        ++m_wraps;
    m_lastElapsed = elapsed;
    const quint64 total = m_model.readings().totalPushed();
    if (total == m_seen)
        return;
    m_accepted += qint64(total - m_seen);
    m_seen = total;
    // The reply is "P9 <error>:", the error as the monitor took it.
    const qint64 reply = 3 + QString::number(m_model.readings().latest().raw).size() + 1;
    m_limitSeconds += pollLimitSeconds(reply, m_poll.interval());
}

} // namespace kdx::bench
