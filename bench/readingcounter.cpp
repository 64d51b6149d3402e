#include "readingcounter.h"

#include "core/commands.h"
#include "linetime.h"
#include "operations/ticktimer.h"
#include "widgets/form1.h"

#include <QIODevice>
#include <QLineEdit>

namespace kdx::bench {

namespace {

// The shortest "P9" exchange there is: the request and "P9 1:".
const double kShortestPollSeconds = lineSeconds(cmd::positionPoll().size() + 5);

} // namespace

ReadingCounter::ReadingCounter(Form1 &form, QIODevice &line, QObject *parent)
    : QObject(parent), m_form(form)
{
    connect(form.Text21, &QLineEdit::textChanged, this, &ReadingCounter::elapsedChanged);
    connect(form.Timer1, &TickTimer::tick, this, [this] { ++m_polls; });
    connect(&line, &QIODevice::bytesWritten, this, &ReadingCounter::sent);
    connect(&line, &QIODevice::readyRead, this, &ReadingCounter::received);
}

void ReadingCounter::sent()
{
    // Only the poll writes while its timer ticks.
    if (m_form.Timer1->isTicking())
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

void ReadingCounter::elapsedChanged(const QString &text)
{
    if (text == QLatin1String("0")) {
        ++m_wraps;
        return;
    }
    ++m_accepted;
    // The reply is "P9 <error>:", the error as the monitor took it.
    const qint64 reply = 3 + m_form.Text18->text().size() + 1;
    m_limitSeconds += pollLimitSeconds(reply, m_form.Timer1->interval());
}

} // namespace kdx::bench
