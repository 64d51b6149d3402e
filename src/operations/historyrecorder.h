#pragma once

#include "core/autotuner.h"
#include "historystore.h"
#include "parameterevents.h"

#include <QObject>

#include <memory>
#include <vector>

namespace kdx {

// Keeps what the terminal reads from and sends to the controller: in the
// history file, and for the report in the session's own journal, which
// stays whatever becomes of the file. Takes only what the operations read
// and send anyway.
//
// A history that cannot be kept (the file locked, read-only, full, broken)
// is said once through problem(); the terminal works on, and the journal
// goes on.
class HistoryRecorder : public QObject, public ParameterEvents {
    Q_OBJECT
public:
    explicit HistoryRecorder(QObject *parent = nullptr);
    ~HistoryRecorder() override;

    // Opens the history file; an empty path keeps none (the journal still
    // works). Says a problem or a file set aside at once.
    void open(const QString &path, const HistoryStore::Options &options = {});
    // The file, for reading (the window); null when none was opened.
    HistoryStore *store() { return m_store.get(); }
    // Events go into the file.
    bool isRecording() const { return m_store && m_store->isWritable(); }

    // The axis the events are of from now on. A name given to an axis
    // that had none (on the same port) names its events of this session too.
    void setPlace(const AxisKey &axis);
    const AxisKey &place() const { return m_place; }
    // Why the next set of P0..P7 is read; taken by the next setRead() only
    // ("Mind KIOLVAS" when none is given).
    void setNextOccasion(ReadOccasion occasion) { m_occasion = occasion; }

    void setRead(const ParamTexts &values) override;
    void written(const WriteRecord &write) override;
    // The tuner's snapshot, before it changes anything.
    void snapshotRead(const ParamNumbers &values);
    void tuned(const TuningOptions &options, const TuningResult &result);
    // The values as found written back after a tuning (ok: and read back equal).
    void restored(const ParamNumbers &values, bool ok);
    void captured(const Capture &capture);

    // Every event of this session, every axis, in order.
    const std::vector<HistoryEvent> &journal() const { return m_journal; }
    // The session's events of one axis.
    std::vector<HistoryEvent> journalOf(const AxisKey &axis) const;

signals:
    // The history cannot be kept, or a broken file was set aside: said once.
    void problem(const QString &text);
    // An event was taken (id 0 when it is in the journal only).
    void recorded(const kdx::HistoryEvent &event);
    // Events already kept were given the axis name.
    void axisNamed();

private:
    void keep(HistoryEvent event);
    void tellOnce(const QString &text);
    // The file cannot be used: what is wrong with it, once.
    void tellUnusable();

    std::unique_ptr<HistoryStore> m_store;
    std::vector<HistoryEvent> m_journal;
    AxisKey m_place;
    ReadOccasion m_occasion = ReadOccasion::Operator;
    bool m_told = false;
};

// The tuning as the history keeps it.
TuningEntry tuningEntry(const TuningOptions &options, const TuningResult &result);

} // namespace kdx
