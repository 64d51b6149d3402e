#pragma once

#include "core/capture.h"
#include "core/paramtable.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class QSqlError;

namespace kdx {

// P0..P7 as the terminal knows them, as text; an empty text is a value not
// known.
using ParamTexts = std::array<QString, kParamCount>;

// The axis an event belongs to: the name the operator gave it (may be empty)
// and the line it was on.
struct AxisKey {
    QString name;
    QString port;
    bool operator==(const AxisKey &) const = default;
};

enum class HistoryKind { Read = 1, Write = 2, Tuning = 3, Capture = 4 };

// Why a set of P0..P7 was read.
enum class ReadOccasion {
    Startup,        // the first actions of the window
    Operator,       // "Mind KIOLVAS"
    LateController, // a line that opened after start-up
    Reconnect,      // a line that came back after it was lost
    PortSwitch,     // the operator chose another line
    TuningSnapshot, // the auto-tuner's snapshot before it changes anything
    AfterRestore,   // the values a tuning left behind were written back
};

// One tuning as kept: what it was asked, how it ended and its log.
struct TuningEntry {
    QJsonObject options; // aim, step, limits, the gains tuned
    QString outcome;     // "tuned", "nobetter", "aborted", "restored", "restorefailed"
    QString message;     // the tuner's own words
    QJsonObject result;  // the figures before and after, moves, time
    QByteArray logCsv;   // every candidate, as the log's CSV
    // One forward step with the gains as found and one with the gains it
    // left, when it measured them.
    std::vector<Capture> records;
};

// One event of the history.
struct HistoryEvent {
    qint64 id = 0;
    qint64 session = 0;
    QDateTime at;
    AxisKey axis;
    HistoryKind kind = HistoryKind::Read;
    ReadOccasion occasion = ReadOccasion::Operator; // reads only
    ParamTexts set;                                 // P0..P7 known once the event was over
    // A write: the parameter, the value before (as last read), the value sent,
    // stored in the controller ("W 0") or for trial, and what was read back.
    int param = -1;
    QString before, sent, readBack;
    bool stored = false;
    // A capture: the step, its window, how many readings, all of them.
    int steps = 0;
    double windowMs = 0;
    int readings = 0;
    bool complete = true;
    // A tuning: how it ended, in few words (the whole entry through tuning()).
    QString outcome, message;

    // Loaded only by HistoryStore::event().
    std::optional<Capture> capture;
    std::optional<TuningEntry> tuning;
};

// Which kinds a timeline shows: a bit per HistoryKind.
using KindMask = unsigned;
inline constexpr KindMask kAllKinds = 0xF;
inline constexpr KindMask kindBit(HistoryKind kind)
{
    return 1u << (int(kind) - 1);
}

struct AxisSummary {
    AxisKey axis;
    qint64 events = 0;
    QDateTime last;
};

// The history of every read and write, kept in an SQLite file (WAL mode,
// one transaction per event, schema version in user_version). Several
// terminals may write into one file at once; each waits for the other's
// transaction up to the busy time-out.
//
// Opening never throws and never stops the terminal: a file that is not a
// sound database is set aside under a new name ("….hibas-<time>") and a new
// one is started; a file that cannot be used (locked, read-only, full, made
// by a newer program) leaves it unwritable with the reason in problem(); what
// it holds may still be read when the file allows. A write that fails makes
// the store unwritable the same way.
class HistoryStore {
public:
    static constexpr int kSchemaVersion = 1;

    struct Options {
        int busyTimeoutMs = 5000;
        bool readOnly = false; // the file opened for reading only
        int maxPageCount = 0;  // limits the file's size in pages (0: no limit)
        // Each event on the disk before add() returns. Off only for filling
        // a file in bulk (a benchmark): a power cut may then lose the last
        // events, though never the file.
        bool syncEveryEvent = true;
    };

    enum class Problem { None, Locked, ReadOnly, Full, Corrupt, Newer, Other };

    explicit HistoryStore(const QString &path);
    HistoryStore(const QString &path, const Options &options);
    ~HistoryStore();
    HistoryStore(const HistoryStore &) = delete;
    HistoryStore &operator=(const HistoryStore &) = delete;

    // The history can be read (the window shows it).
    bool isOpen() const { return m_open; }
    // Events can be added.
    bool isWritable() const { return m_writable; }
    QString path() const { return m_path; }
    Problem problem() const { return m_problem; }
    // The problem in the operator's words, with the database's own message.
    QString problemText() const;
    // Where an unsound file was set aside at opening; empty when none was.
    QString setAsidePath() const { return m_setAside; }
    // This program run's session.
    qint64 session() const { return m_session; }

    // Records one event in one transaction; its id, or 0 when it could not
    // be written (the store is unwritable then and problem() says why). The
    // event's id and session are the store's.
    qint64 add(const HistoryEvent &event);
    // The events of this session on the port that had no axis name get
    // this one (the operator named the axis after working on it). False
    // when it could not be written (the store is unwritable then).
    bool nameAxis(const QString &port, const QString &name);

    // The axes with events, the one with the latest event first.
    std::vector<AxisSummary> axes() const;
    // Events of one axis (every axis when null) of the given kinds, newest
    // first, older than beforeId (0: from the newest), at most limit.
    std::vector<HistoryEvent> timeline(const AxisKey *axis, KindMask kinds, qint64 beforeId,
                                       int limit) const;
    // One event with its capture or tuning.
    std::optional<HistoryEvent> event(qint64 id) const;
    // How many events the file holds.
    qint64 count() const;

private:
    void openFile();
    bool startsLikeDatabase();
    bool connect();
    void disconnect();
    bool checkSound();
    bool migrate();
    bool startSession();
    void setAside();
    bool fail(Problem problem, const QString &detail);
    bool failWith(const QSqlError &error);

    QString m_path;
    Options m_options;
    QString m_connection;
    bool m_open = false;
    bool m_writable = false;
    Problem m_problem = Problem::None;
    QString m_detail;
    QString m_setAside;
    qint64 m_session = 0;
};

} // namespace kdx
