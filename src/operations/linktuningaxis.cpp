#include "linktuningaxis.h"

#include "core/commands.h"
#include "link/linkerror.h"
#include "link/seriallink.h"

#include <QCoreApplication>

#include <cmath>

namespace kdx {

namespace {
// The texts of this file, for translation.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(LinkTuningAxis)
};

// The gear ratio parameter: counts per step × 1024.
constexpr int kGearRatio = 6;
} // namespace

LinkTuningAxis::LinkTuningAxis(SerialLink &link, std::function<bool()> cancelled)
    : m_link(link), m_answers(link), m_cancelled(std::move(cancelled))
{
    m_clock.start();
}

template <typename F> auto LinkTuningAxis::guarded(F &&f) -> decltype(f())
{
    try {
        return f();
    } catch (const LinkError &e) {
        // The link holds every later step of this operation back after a
        // failure; the tuner still gets to try writing the snapshot back.
        m_link.endOperation();
        switch (e.kind()) {
        case LinkError::Kind::NoReply:
            throw AxisFailure(Texts::tr("nincs válasz"));
        case LinkError::Kind::Unintelligible:
            throw AxisFailure(Texts::tr("érthetetlen válasz"));
        case LinkError::Kind::NotOpen:
            throw AxisFailure(Texts::tr("a port nincs nyitva"));
        case LinkError::Kind::Aborted:
            break;
        }
        throw AxisFailure(Texts::tr("a kapcsolat megszakadt"));
    }
}

int LinkTuningAxis::readParameter(int n)
{
    m_link.send(cmd::readParameter(n));
    const auto value =
        parameterValue(m_answers.nextValue(cmd::readParameter(n).chopped(1)).text, n);
    // The prompt stays open for a new value: an empty line keeps the value.
    m_link.send(cmd::bareReturn());
    m_answers.nextAcknowledgement();
    if (!value)
        m_link.fail(LinkError::Kind::Unintelligible);
    m_link.understood();
    return *value;
}

ParamNumbers LinkTuningAxis::readBack()
{
    return guarded([this] {
        ParamNumbers p{};
        for (int n = 0; n < 8; ++n)
            p[n] = readParameter(n);
        m_gear = p[kGearRatio];
        return p;
    });
}

void LinkTuningAxis::testWrite(int n, int value)
{
    guarded([&] {
        if (n == kGearRatio)
            m_gear = -1;
        m_link.send(cmd::readParameter(n));
        m_answers.nextValue(cmd::readParameter(n).chopped(1));
        m_link.send(cmd::newValue(QString::number(value)));
        const bool refused = m_answers.nextAcknowledgement().kind == Answer::Kind::Refused;
        if (refused || readParameter(n) != value)
            throw AxisFailure(
                Texts::tr("P%1 = %2 értéket a vezérlő nem fogadta el").arg(n).arg(value));
    });
}

double LinkTuningAxis::poll()
{
    m_link.send(cmd::positionPoll());
    const auto value = positionValue(m_answers.nextValue("P9").text);
    if (!value)
        m_link.fail(LinkError::Kind::Unintelligible);
    m_link.understood();
    return *value;
}

double LinkTuningAxis::nowMs() const
{
    return double(m_clock.nsecsElapsed()) / 1e6 * m_clockRate;
}

StepRecord LinkTuningAxis::record(double windowMs, double limitCounts, double zero, double startMs,
                                  bool stopOnLimit)
{
    StepRecord r;
    r.windowMs = windowMs;
    for (;;) {
        if (m_cancelled()) {
            stopAndReset();
            r.complete = false;
            break;
        }
        // A reading stands for the middle of its poll's round trip: the
        // controller answers halfway between the request and the answer.
        const double sent = nowMs();
        const double e = poll() - zero;
        const double t = (sent + nowMs()) / 2 - startMs;
        r.tMs.push_back(t);
        r.error.push_back(e);
        if (stopOnLimit && std::fabs(e) > limitCounts) {
            stopAndReset();
            r.complete = false;
            break;
        }
        if (t >= windowMs)
            break;
    }
    m_lastRate =
        r.tMs.size() > 1 ? double(r.tMs.size() - 1) / (r.tMs.back() - r.tMs.front()) * 1e3 : 0;
    return r;
}

StepRecord LinkTuningAxis::step(int steps, double windowMs, double limitCounts)
{
    return guarded([&] {
        // The zero reference: the reading just before the step.
        const double zero = poll();
        if (m_gear < 0)
            m_gear = readParameter(kGearRatio);
        const int gear = m_gear;
        // The step too counts from the middle of its round trip.
        const double sent = nowMs();
        m_link.send(cmd::step(steps > 0 ? '+' : '-', QString::number(std::abs(steps))));
        m_answers.nextAcknowledgement();
        StepRecord r = record(windowMs, limitCounts, zero, (sent + nowMs()) / 2, true);
        r.stepCounts = steps * gear / 1024.0;
        return r;
    });
}

StepRecord LinkTuningAxis::rest(double windowMs)
{
    return guarded([&] {
        const double zero = poll();
        return record(windowMs, 0, zero, nowMs(), false);
    });
}

void LinkTuningAxis::stopAndReset()
{
    guarded([this] {
        m_link.send(cmd::stop());
        m_answers.nextAcknowledgement();
        m_link.send(cmd::stepMode());
        m_answers.nextAcknowledgement();
    });
}

bool LinkTuningAxis::cancelled()
{
    return m_cancelled();
}

double LinkTuningAxis::elapsedMs()
{
    return nowMs();
}

} // namespace kdx
