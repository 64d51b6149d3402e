#include "historymeasures.h"

#include "operations/historyrecorder.h"
#include "operations/historystore.h"
#include "operations/historytimeline.h"
#include "widgets/historywindow.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>

namespace kdx::bench {

namespace {

// An hour at the bench, as the history sees it: a read-all every half
// minute, a test or save write every two seconds or so, a step response of
// 1 000 readings a minute and an auto-tuning every quarter of an hour.
constexpr int kHourReads = 120;
constexpr int kHourWrites = 2000;
constexpr int kHourCaptures = 60;
constexpr int kHourTunings = 4;
constexpr int kCaptureReadings = 1000;
constexpr int kTuningCandidates = 150;
constexpr int kTuningReadings = 400;
constexpr int kAxes = 5;

// A step response as the line brings it: a reading every 2 ms or so with
// its own arrival time to the nanosecond, a ringing decay and a count or two
// of noise.
Capture response(QRandomGenerator &random, int readings, int p2)
{
    Capture c;
    c.takenAt = QDateTime::currentDateTime();
    c.port = QStringLiteral("/dev/ttyUSB0");
    c.params = {1000, 50, p2, 10, 200, 100, 1024, 30};
    c.paramsKnown = true;
    c.steps = random.bounded(2) ? 1000 : -1000;
    c.record.stepCounts = c.steps;
    c.record.moveEndMs = 16;
    c.record.windowMs = readings * 2.2;
    double t = 0.4;
    for (int i = 0; i < readings; ++i) {
        t += 2.0 + random.bounded(400) / 1000.0 + random.bounded(1000) / 1e6;
        const double e =
            c.steps * 0.6 * std::exp(-t / 30) * std::cos(t / 9) + random.bounded(5) - 2;
        c.record.tMs.push_back(t);
        c.record.error.push_back(std::round(e));
    }
    c.label = QStringLiteral("P2=%1 P3=10 P7=30 %2").arg(p2).arg(c.steps);
    return c;
}

TuningResult tuningResult(QRandomGenerator &random)
{
    TuningResult r;
    r.outcome = TuningResult::Outcome::Tuned;
    r.message = QStringLiteral("A hangolt értékek próbaként érvényesek.");
    r.snapshotKnown = true;
    r.snapshot = {1000, 50, 200, 10, 200, 100, 1024, 30};
    r.tuned = {1000, 50, 566, 40, 200, 100, 1024, 96};
    r.stepSteps = 1000;
    r.stepsUsed = 120;
    r.elapsedMs = 52000;
    for (int k = 0; k < kTuningCandidates; ++k) {
        CandidateEntry e;
        e.index = k + 1;
        e.stage = QStringLiteral("keresés");
        e.params = r.snapshot;
        e.params[2] = 100 + random.bounded(900);
        e.params[3] = 1 + random.bounded(100);
        e.params[7] = 1 + random.bounded(300);
        e.figures = {200 + random.bounded(2000.0), random.bounded(20.0),   random.bounded(200.0),
                     random.bounded(900.0),        random.bounded(2) == 0, 6};
        e.best = random.bounded(10) == 0;
        r.log.push_back(e);
    }
    r.baselineRecord = response(random, kTuningReadings, 200).record;
    r.resultRecord = response(random, kTuningReadings, 566).record;
    return r;
}

ParamTexts someSet(QRandomGenerator &random)
{
    ParamTexts set;
    const int values[kParamCount] = {1000, 50, 200, 10, 200, 100, 1024, 30};
    for (int n = 0; n < kParamCount; ++n)
        set[std::size_t(n)] = QString::number(values[n] + random.bounded(50));
    return set;
}

WriteRecord someWrite(QRandomGenerator &random)
{
    WriteRecord w;
    w.param = random.bounded(kParamCount);
    w.current = someSet(random);
    w.before = w.current[std::size_t(w.param)];
    w.sent = QString::number(w.before.toInt() + random.bounded(40) - 20);
    w.readBack = w.sent;
    w.current[std::size_t(w.param)] = w.sent;
    w.stored = random.bounded(5) == 0;
    return w;
}

qint64 fileBytes(const QString &path)
{
    qint64 total = 0;
    for (const char *suffix : {"", "-wal", "-shm"})
        total += QFileInfo(path + QLatin1String(suffix)).size();
    return total;
}

double medianOf(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// The median of a few runs of a query, in ms.
double timed(const std::function<void()> &query, int runs = 5)
{
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        query();
        times << double(clock.nsecsElapsed()) / 1e6;
    }
    return medianOf(times);
}

// One hour of work through the recorder the terminal uses.
bool hourOfWork(const QString &path, Results &results, QString *error)
{
    QRandomGenerator random(20261208);
    HistoryRecorder recorder;
    recorder.open(path);
    if (!recorder.isRecording()) {
        *error = recorder.store()->problemText();
        return false;
    }
    recorder.setPlace({QStringLiteral("3. gép, X tengely"), QStringLiteral("/dev/ttyUSB0")});
    // The events in the order an hour brings them, spread out evenly.
    const int total = kHourReads + kHourWrites + kHourCaptures + kHourTunings;
    QList<double> times;
    int reads = 0, captures = 0, tunings = 0;
    for (int k = 0; k < total; ++k) {
        const auto due = [&](int count, int done) { return done < count * (k + 1) / total; };
        std::function<void()> event;
        if (due(kHourTunings, tunings)) {
            ++tunings;
            const TuningResult result = tuningResult(random);
            event = [&, result] { recorder.tuned(TuningOptions{}, result); };
        } else if (due(kHourCaptures, captures)) {
            ++captures;
            const Capture c = response(random, kCaptureReadings, 200 + k % 400);
            event = [&, c] { recorder.captured(c); };
        } else if (due(kHourReads, reads)) {
            ++reads;
            const ParamTexts set = someSet(random);
            event = [&, set] { recorder.setRead(set); };
        } else {
            const WriteRecord w = someWrite(random);
            event = [&, w] { recorder.written(w); };
        }
        QElapsedTimer clock;
        clock.start();
        event();
        times << double(clock.nsecsElapsed()) / 1e6;
    }
    if (!recorder.isRecording()) {
        *error = recorder.store()->problemText();
        return false;
    }
    const qint64 events = recorder.store()->count();
    recorder.open(QString()); // closed as at the end of the program
    results[QStringLiteral("hour_events")] = double(events);
    results[QStringLiteral("hour_bytes")] = double(fileBytes(path));
    results[QStringLiteral("event_median_ms")] = medianOf(times);
    results[QStringLiteral("event_max_ms")] = *std::max_element(times.begin(), times.end());
    return events == total;
}

// A file of `count` events over several axes, as many hours of work leave it.
bool bigFile(const QString &path, int count, QString *error)
{
    QRandomGenerator random(7);
    HistoryStore::Options bulk;
    bulk.syncEveryEvent = false;
    HistoryStore store(path, bulk);
    const int hour = kHourReads + kHourWrites + kHourCaptures + kHourTunings;
    for (int k = 0; k < count; ++k) {
        HistoryEvent e;
        // One axis had half of the work, the others share the rest.
        const int axis = random.bounded(2) ? 0 : 1 + random.bounded(kAxes - 1);
        e.axis = {QStringLiteral("%1. gép, X tengely").arg(axis + 1),
                  QStringLiteral("/dev/ttyUSB%1").arg(axis)};
        e.at = QDateTime::currentDateTime();
        const int slot = k % hour;
        if (slot < kHourTunings) {
            e.kind = HistoryKind::Tuning;
            e.tuning = tuningEntry(TuningOptions{}, tuningResult(random));
            e.outcome = e.tuning->outcome;
            e.message = e.tuning->message;
        } else if (slot < kHourTunings + kHourCaptures) {
            e.kind = HistoryKind::Capture;
            e.capture = response(random, kCaptureReadings, 200 + k % 400);
            e.steps = e.capture->steps;
            e.windowMs = e.capture->record.windowMs;
            e.readings = kCaptureReadings;
        } else if (slot < kHourTunings + kHourCaptures + kHourReads) {
            e.kind = HistoryKind::Read;
        } else {
            const WriteRecord w = someWrite(random);
            e.kind = HistoryKind::Write;
            e.param = w.param;
            e.before = w.before;
            e.sent = w.sent;
            e.readBack = w.readBack;
            e.stored = w.stored;
        }
        e.set = someSet(random);
        if (store.add(e) == 0) {
            *error = store.problemText();
            return false;
        }
    }
    return true;
}

} // namespace

bool measureHistoryFile(const Settings &settings, Results &results, QString *error)
{
    QTemporaryDir folder;
    if (!hourOfWork(folder.filePath(QStringLiteral("hour.sqlite")), results, error))
        return false;

    const int count = settings.shortRun ? 10'000 : 100'000;
    const QString path = folder.filePath(QStringLiteral("big.sqlite"));
    QElapsedTimer fill;
    fill.start();
    if (!bigFile(path, count, error))
        return false;
    results[QStringLiteral("big_events")] = count;
    results[QStringLiteral("big_fill_s")] = double(fill.nsecsElapsed()) / 1e9;
    results[QStringLiteral("big_bytes")] = double(fileBytes(path));

    // Opening the file as the terminal does at start-up, with its check.
    QElapsedTimer opening;
    opening.start();
    HistoryStore store(path);
    results[QStringLiteral("open_ms")] = double(opening.nsecsElapsed()) / 1e6;
    if (!store.isWritable()) {
        *error = store.problemText();
        return false;
    }

    // The window's queries, each the median of five runs.
    HistoryServices services;
    services.store = &store;
    const AxisKey busiest{QStringLiteral("1. gép, X tengely"), QStringLiteral("/dev/ttyUSB0")};
    services.currentAxis = [&] { return busiest; };
    HistoryWindow window(services);
    QList<double> queries;
    queries << timed([&] { store.axes(); });
    queries << timed([&] { window.refresh(); }); // the axes, the first page, the selection
    for (const HistoryKind kind :
         {HistoryKind::Read, HistoryKind::Write, HistoryKind::Tuning, HistoryKind::Capture})
        queries << timed(
            [&] { store.timeline(&busiest, kindBit(kind), 0, HistoryTimeline::kPage); });
    // A page from the middle, as the view scrolls down.
    const std::vector<HistoryEvent> first = store.timeline(&busiest, kAllKinds, 0, 1);
    const qint64 middle = first.empty() ? 0 : first.front().id / 2;
    queries << timed([&] { store.timeline(&busiest, kAllKinds, middle, HistoryTimeline::kPage); });
    // Two points compared, then one capture with its figures.
    queries << timed([&] { window.selectRows({0, 300}); });
    const std::vector<HistoryEvent> captures =
        store.timeline(&busiest, kindBit(HistoryKind::Capture), middle, 1);
    if (!captures.empty())
        queries << timed([&] { store.event(captures.front().id); });
    results[QStringLiteral("query_max_ms")] = *std::max_element(queries.begin(), queries.end());
    results[QStringLiteral("query_median_ms")] = medianOf(queries);
    results[QStringLiteral("refresh_ms")] = queries.at(1);
    return true;
}

} // namespace kdx::bench
