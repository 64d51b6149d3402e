#include "measurements.h"

#include "app/terminal.h"
#include "bareclient.h"
#include "benchterminal.h"
#include "core/commands.h"
#include "historymeasures.h"
#include "linetime.h"
#include "link/seriallink.h"
#include "operations/historyrecorder.h"
#include "operations/positionmonitor.h"
#include "operations/scheduler.h"
#include "processusage.h"
#include "readingcounter.h"
#include "widgets/form1.h"
#include "workbenchmeasures.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>

namespace kdx::bench {

namespace {

// The controller answers at once: only the line itself takes time.
const QStringList kNoLatency = {QStringLiteral("--latency"), QStringLiteral("0")};
// A badly tuned axis (the least velocity feedback, P, I and D gains the
// scrollbars allow): in a PID run at speed 300 it swings about ±490 counts,
// within the error scale of 500, so practically no reading is 0 (which
// would count as none) and every one is drawn across the graph.
const QStringList kRunningAxis =
    kNoLatency + QStringList{"--set", "P1=1", "--set", "P2=10", "--set", "P3=1", "--set", "P7=1"};
// Lines the start-up needs (two passes of eight reads, two stop-and-resets)
// and a few seconds of polling, before a controller that falls silent stops
// answering.
constexpr int kLinesBeforeSilence = 1000;
constexpr qint64 kWarmUpMs = 2000;
constexpr qint64 kSettleMs = 200;
constexpr qint64 kSilenceTimeoutMs = 60'000;

double settleMs(Terminal &terminal)
{
    return double(terminal.delay().length().count()) / 1e6;
}

// The least a read-all can take: two passes of eight reads, each its
// settling delay plus its request and reply on the line. The replies are
// "Pn <value>:", with the values the reads have just shown.
double readAllFloorMs(Terminal &terminal)
{
    double total = 0;
    for (int n = 0; n < 8; ++n) {
        const qint64 reply = 2 + terminal.form().row(n).current->text().size() + 1;
        total += 2 * (settleMs(terminal) + 1e3 * lineSeconds(cmd::readParameter(n).size() + reply));
    }
    return total;
}

bool startTerminal(BenchTerminal &bench, const QStringList &simArguments, Results &results,
                   QString *error)
{
    if (!bench.start(simArguments, error))
        return false;
    results[QStringLiteral("startup_ms")] = double(bench.startupNs()) / 1e6;
    results[QStringLiteral("readall_floor_ms")] = readAllFloorMs(bench.terminal());
    return true;
}

// The terminal polling the badly tuned axis in a PID run.
bool startPolling(BenchTerminal &bench, const Settings &settings, Results &results, QString *error)
{
    if (!startTerminal(bench, kRunningAxis, results, error))
        return false;
    bench.startPidRun(settings.runSpeed);
    return true;
}

void noteMessages(const BenchTerminal &bench, Results &results)
{
    results[QStringLiteral("messages")] = bench.messages().size();
    for (const QString &text : bench.messages())
        qWarning("kdxbench: message box: %s", qPrintable(text));
}

bool measureWindow(Results &results, QString *)
{
    QElapsedTimer clock;
    clock.start();
    Form1 form;
    qint64 shownNs = -1;
    QObject::connect(&form, &Form1::firstShown, &form, [&] { shownNs = clock.nsecsElapsed(); });
    form.show();
    BenchTerminal::runUntil([&] { return shownNs >= 0; }, 30'000);
    results[QStringLiteral("window_ms")] = double(shownNs) / 1e6;
    return shownNs >= 0;
}

bool measureStartup(Results &results, QString *error)
{
    BenchTerminal bench;
    if (!startTerminal(bench, kNoLatency, results, error))
        return false;
    noteMessages(bench, results);
    return true;
}

bool measureReadAll(const Settings &settings, Results &results, QString *error)
{
    BenchTerminal bench;
    if (!startTerminal(bench, kNoLatency, results, error))
        return false;
    QList<double> times;
    for (int i = 0; i < settings.readAllRepeats; ++i) {
        // The monitor polls between the operator's clicks, as it does in use.
        BenchTerminal::runFor(300);
        QElapsedTimer clock;
        clock.start();
        bench.form().Command3->click();
        times << double(clock.nsecsElapsed()) / 1e6;
    }
    std::sort(times.begin(), times.end());
    results[QStringLiteral("readall_ms")] = times.at(times.size() / 2);
    results[QStringLiteral("readall_min_ms")] = times.constFirst();
    results[QStringLiteral("readall_max_ms")] = times.constLast();
    results[QStringLiteral("readall_floor_ms")] = readAllFloorMs(bench.terminal());
    noteMessages(bench, results);
    return true;
}

void notePollWindows(const QList<PollWindow> &windows, Results &results)
{
    const PollWindow median = medianWindow(windows);
    results[QStringLiteral("readings")] = median.readings;
    results[QStringLiteral("window_s")] = median.seconds;
    results[QStringLiteral("limit_s")] = median.limitSeconds;
    results[QStringLiteral("windows")] = windows.size();
}

// withHistory: the terminal keeps its history in a file meanwhile.
bool measurePolling(const Settings &settings, Results &results, QString *error,
                    bool withHistory = false)
{
    BenchTerminal bench;
    QTemporaryDir historyFolder;
    if (withHistory)
        bench.setHistoryFile(historyFolder.filePath(QStringLiteral("kdxhistory.sqlite")));
    if (!startPolling(bench, settings, results, error))
        return false;
    if (withHistory && !bench.terminal().history().isRecording()) {
        *error = QStringLiteral("the history is not kept");
        return false;
    }
    const std::size_t eventsBefore = bench.terminal().history().journal().size();
    ReadingCounter counter(bench.terminal().monitor().model(),
                           bench.terminal().scheduler().pollTimer(), bench.line());
    BenchTerminal::runFor(settings.shortRun ? kWarmUpMs / 4 : kWarmUpMs);
    bench.bringPollInStep();
    BenchTerminal::runFor(kSettleMs);

    QList<PollWindow> windows;
    qint64 polls = 0;
    qint64 early = 0;
    qint64 wraps = 0;
    const double cpu = cpuSeconds();
    QElapsedTimer span;
    span.start();
    for (int w = 0; w < settings.pollWindows; ++w) {
        counter.restart();
        QElapsedTimer clock;
        clock.start();
        BenchTerminal::runFor(settings.pollWindowMs);
        windows.append(
            {counter.accepted(), counter.lineLimitSeconds(), double(clock.nsecsElapsed()) / 1e9});
        polls += counter.polls();
        early += counter.answeredEarly();
        wraps += counter.wraps();
    }
    results[QStringLiteral("cpu_s")] = cpuSeconds() - cpu;
    results[QStringLiteral("span_s")] = double(span.nsecsElapsed()) / 1e9;
    results[QStringLiteral("polls")] = polls;
    results[QStringLiteral("answered_early")] = early;
    results[QStringLiteral("wraps")] = wraps;
    results[QStringLiteral("events_recorded")] =
        double(bench.terminal().history().journal().size() - eventsBefore);
    notePollWindows(windows, results);
    noteMessages(bench, results);
    if (windows.constLast().readings == 0) {
        *error = QStringLiteral("the monitor accepted no reading");
        return false;
    }
    return true;
}

bool measureBareClient(const Settings &settings, Results &results, QString *error)
{
    KdxsimProcess sim;
    if (!sim.start(kRunningAxis)) {
        *error = QStringLiteral("kdxsim did not start");
        return false;
    }
    BareClient client;
    if (!client.open(sim.ptyPath(), settings.runSpeed, error))
        return false;
    client.poll(1, settings.shortRun ? kWarmUpMs / 4 : kWarmUpMs);
    notePollWindows(client.poll(settings.pollWindows, settings.pollWindowMs), results);
    return true;
}

bool measureSilent(const Settings &settings, Results &results, QString *error)
{
    BenchTerminal bench;
    const QStringList arguments = kNoLatency + QStringList{QStringLiteral("--silent-after"),
                                                           QString::number(kLinesBeforeSilence)};
    if (!startTerminal(bench, arguments, results, error))
        return false;
    // The poll goes on until the controller falls silent and a reply times out.
    SerialLink &link = bench.terminal().link();
    if (!BenchTerminal::runUntil([&] { return !link.problem().isEmpty(); }, kSilenceTimeoutMs)) {
        *error = QStringLiteral("the controller did not fall silent");
        return false;
    }
    ReadingCounter counter(bench.terminal().monitor().model(),
                           bench.terminal().scheduler().pollTimer(), bench.line());
    const double cpu = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    BenchTerminal::runFor(qint64(settings.silentSeconds * 1e3));
    results[QStringLiteral("span_s")] = double(clock.nsecsElapsed()) / 1e9;
    results[QStringLiteral("cpu_s")] = cpuSeconds() - cpu;
    results[QStringLiteral("polls")] = counter.polls();
    return true;
}

bool measureMemory(const Settings &settings, Results &results, QString *error)
{
    BenchTerminal bench;
    if (!startPolling(bench, settings, results, error))
        return false;
    ReadingCounter counter(bench.terminal().monitor().model(),
                           bench.terminal().scheduler().pollTimer(), bench.line());

    const qint64 spanMs = qint64(settings.memoryMinutes * 60'000);
    // Minute one against the end; a shorter span compares its first tenth.
    const qint64 firstMs = spanMs >= 120'000 ? 60'000 : spanMs / 10;
    BenchTerminal::runFor(firstMs);
    results[QStringLiteral("rss_first_kib")] = residentKiB();
    results[QStringLiteral("first_min")] = double(firstMs) / 60'000;
    BenchTerminal::runFor(spanMs - firstMs);
    results[QStringLiteral("rss_end_kib")] = residentKiB();
    results[QStringLiteral("hwm_kib")] = peakResidentKiB();
    results[QStringLiteral("span_min")] = double(spanMs) / 60'000;
    results[QStringLiteral("accepted")] = counter.accepted();
    results[QStringLiteral("wraps")] = counter.wraps();
    noteMessages(bench, results);
    if (counter.accepted() == 0) {
        *error = QStringLiteral("the monitor accepted no reading");
        return false;
    }
    return true;
}

} // namespace

Settings settingsFor(bool shortRun, double memoryMinutes)
{
    Settings s;
    s.shortRun = shortRun;
    s.memoryMinutes = memoryMinutes;
    if (shortRun) {
        s.pollWindows = 3;
        s.pollWindowMs = 1000;
        s.silentSeconds = 3;
        s.readAllRepeats = 1;
    }
    return s;
}

QStringList measurementNames()
{
    return {
        QStringLiteral("window"),    QStringLiteral("startup"), QStringLiteral("readall"),
        QStringLiteral("polling"),   QStringLiteral("client"),  QStringLiteral("silent"),
        QStringLiteral("memory"),    QStringLiteral("capture"), QStringLiteral("scope"),
        QStringLiteral("workbench"), QStringLiteral("history"), QStringLiteral("history-polling")};
}

bool measure(const QString &name, const Settings &settings, Results &results, QString *error)
{
    if (name == QLatin1String("window"))
        return measureWindow(results, error);
    if (name == QLatin1String("startup"))
        return measureStartup(results, error);
    if (name == QLatin1String("readall"))
        return measureReadAll(settings, results, error);
    if (name == QLatin1String("polling"))
        return measurePolling(settings, results, error);
    if (name == QLatin1String("client"))
        return measureBareClient(settings, results, error);
    if (name == QLatin1String("silent"))
        return measureSilent(settings, results, error);
    if (name == QLatin1String("memory"))
        return measureMemory(settings, results, error);
    if (name == QLatin1String("capture"))
        return measureCapture(settings, results, error);
    if (name == QLatin1String("scope"))
        return measureScope(settings, results, error);
    if (name == QLatin1String("workbench"))
        return measureWorkbenchOpen(results, error);
    if (name == QLatin1String("history"))
        return measureHistoryFile(settings, results, error);
    if (name == QLatin1String("history-polling"))
        return measurePolling(settings, results, error, true);
    *error = QStringLiteral("no measurement named '%1'").arg(name);
    return false;
}

} // namespace kdx::bench
