#pragma once

#include "core/autotuner.h"
#include "core/tuningsnapshot.h"

#include <QObject>

#include <atomic>
#include <optional>

namespace kdx {

class SerialLink;

// One auto-tuning at a time over the terminal's line, with the snapshot of
// the parameters kept in a file beside the parameter file until it is back
// in force or the operator has accepted the result. Every method that talks
// to the controller runs inside an operation that owns the line.
class TuningRun : public QObject {
    Q_OBJECT
public:
    TuningRun(SerialLink &link, const QString &paramFolder, QObject *parent = nullptr);

    bool isRunning() const { return m_running; }
    // Runs the tuner to its end; the result is also kept as last().
    TuningResult run(TuningOptions options);
    // The operator stops (button, Esc, a window closes): the running tuning
    // stops the motor and writes the snapshot back at the next reading.
    void cancel() { m_cancelRequested = true; }
    const std::optional<TuningResult> &last() const { return m_last; }
    // For a simulated axis that runs faster than real time: how many of its
    // milliseconds pass in one of ours (see LinkTuningAxis).
    void setAxisClockRate(double rate) { m_clockRate = rate; }

    // A result waits for the operator's decision.
    bool decisionDue() const;
    // Accepted: the values stay (the caller test-writes them through the
    // parameter rows); the snapshot is no longer needed.
    void accept();
    // Thrown away: the snapshot goes back in force. False when it could not
    // be written back (the file stays).
    bool discard();

    // A snapshot left by a tuning that never ended (the program was killed).
    std::optional<ParamNumbers> pendingSnapshot() const;
    // Its values that fail their ranges, in the operator's words; empty when none.
    QString pendingProblems() const;
    // Writes the pending snapshot back; a value that fails its range is
    // left as the controller holds it.
    bool restorePending();
    void forgetPending();

    QString snapshotPath() const { return m_file.path(); }

    // The values a test write accepts, per parameter.
    static ParamRanges testRanges();

signals:
    void progress(const kdx::TuningProgress &p);
    void candidate(const kdx::CandidateEntry &entry);
    void finished(const kdx::TuningResult &result);
    // The tuner read P0..P7 before changing anything.
    void snapshotRead(const kdx::ParamNumbers &values);
    // The snapshot was written back at the operator's word (ok: and read back equal).
    void restored(const kdx::ParamNumbers &values, bool ok);

private:
    bool restoreSnapshot(const ParamNumbers &snapshot);

    SerialLink &m_link;
    double m_clockRate = 1;
    TuningSnapshotFile m_file;
    std::optional<TuningResult> m_last;
    bool m_running = false;
    std::atomic<bool> m_cancelRequested = false; // also read while the model is computed
    bool m_decisionDue = false;
};

} // namespace kdx
