#include "tuningrun.h"

#include "core/paramtable.h"
#include "linktuningaxis.h"

#include <QEventLoop>
#include <QScopeGuard>

#include <thread>

namespace kdx {

TuningRun::TuningRun(SerialLink &link, const QString &paramFolder, QObject *parent)
    : QObject(parent), m_link(link), m_file(paramFolder)
{
}

TuningResult TuningRun::run(TuningOptions options)
{
    Q_ASSERT(!m_running);
    m_running = true;
    m_cancelRequested = false;
    m_decisionDue = false;
    auto done = qScopeGuard([this] { m_running = false; });

    options.testRanges = testRanges();
    LinkTuningAxis axis(m_link, [this] { return m_cancelRequested.load(); });
    axis.setAxisClockRate(m_clockRate);
    AutoTuner tuner(options);
    bool snapshotSaved = true;
    tuner.onSnapshot = [&](const ParamNumbers &p) {
        snapshotSaved = m_file.save(p);
        emit snapshotRead(p);
    };
    tuner.onProgress = [this](const TuningProgress &p) { emit progress(p); };
    tuner.onCandidate = [this](const CandidateEntry &e) { emit candidate(e); };
    // The fit and the design take a second or two: beside the window, which
    // goes on handling its events (Stop among them) meanwhile.
    tuner.compute = [](const std::function<void()> &work) {
        QEventLoop wait;
        std::thread worker([&] {
            work();
            QMetaObject::invokeMethod(&wait, &QEventLoop::quit, Qt::QueuedConnection);
        });
        wait.exec();
        worker.join();
    };
    TuningResult result = tuner.run(axis);

    if (result.outcome == TuningResult::Outcome::Tuned)
        m_decisionDue = true;
    else if (result.restored)
        m_file.remove();
    if (!snapshotSaved)
        result.message += tr(" (A pillanatkép fájlt nem sikerült írni: %1)").arg(m_file.path());
    m_last = result;
    done.dismiss();
    m_running = false;
    emit finished(result);
    return result;
}

bool TuningRun::decisionDue() const
{
    return m_decisionDue && m_last;
}

void TuningRun::accept()
{
    m_decisionDue = false;
    m_file.remove();
}

bool TuningRun::discard()
{
    if (!decisionDue())
        return true;
    if (!restoreSnapshot(m_last->snapshot))
        return false;
    m_decisionDue = false;
    return true;
}

ParamRanges TuningRun::testRanges()
{
    ParamRanges ranges{};
    for (int n = 0; n < kParamCount; ++n)
        ranges[n] = {param(n).testLo, param(n).testHi};
    return ranges;
}

bool TuningRun::restoreSnapshot(const ParamNumbers &snapshot)
{
    LinkTuningAxis axis(m_link, [] { return false; });
    // A failing line ends the restore with its LinkError: it did not hold.
    auto failed = qScopeGuard([&] { emit restored(snapshot, false); });
    const bool ok = AutoTuner::restore(axis, snapshot, testRanges());
    failed.dismiss();
    emit restored(snapshot, ok);
    if (!ok)
        return false;
    m_file.remove();
    return true;
}

std::optional<ParamNumbers> TuningRun::pendingSnapshot() const
{
    if (m_running || decisionDue())
        return std::nullopt;
    return m_file.load();
}

QString TuningRun::pendingProblems() const
{
    const auto snapshot = pendingSnapshot();
    return snapshot ? rangeProblems(*snapshot, testRanges()) : QString();
}

bool TuningRun::restorePending()
{
    auto snapshot = m_file.load();
    if (!snapshot)
        return false;
    if (!inRanges(*snapshot, testRanges())) {
        // A value that fails its range is never written: the controller
        // keeps what it holds for that parameter, the others go back.
        LinkTuningAxis axis(m_link, [] { return false; });
        try {
            const ParamNumbers now = axis.readBack();
            const ParamRanges ranges = testRanges();
            for (int n = 0; n < kParamCount; ++n) {
                if ((*snapshot)[n] < ranges[n].first || (*snapshot)[n] > ranges[n].second)
                    (*snapshot)[n] = now[n];
            }
        } catch (const AxisFailure &) {
            return false;
        }
    }
    return restoreSnapshot(*snapshot);
}

void TuningRun::forgetPending()
{
    m_file.remove();
}

} // namespace kdx
