#include "workbenchmeasures.h"

#include "app/terminal.h"
#include "benchterminal.h"
#include "core/commands.h"
#include "core/readingbuffer.h"
#include "linetime.h"
#include "link/seriallink.h"
#include "link/simulatedopener.h"
#include "operations/capturestore.h"
#include "operations/stepcapture.h"
#include "processusage.h"
#include "widgets/capturechart.h"
#include "widgets/filechooser.h"
#include "widgets/form1.h"
#include "widgets/livescope.h"
#include "widgets/workbenchwindow.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTabWidget>

#include <cmath>

namespace kdx::bench {

namespace {

// A well-tuned axis, the adapter's usual 1 ms latency.
const QStringList kTunedAxis = {};
// The badly tuned axis of the poll figures, swinging in a PID run.
const QStringList kRunningAxis = {"--latency", "0",     "--set", "P1=1",  "--set",
                                  "P2=10",     "--set", "P3=1",  "--set", "P7=1"};

WorkbenchWindow *openWorkbench(BenchTerminal &bench)
{
    emit bench.form().AutoTuning->clicked();
    return bench.terminal().workbench();
}

} // namespace

bool measureCapture(const Settings &settings, Results &results, QString *error)
{
    BenchTerminal bench;
    if (!bench.start(kTunedAxis, error))
        return false;
    Terminal &terminal = bench.terminal();
    StepCapture &capture = terminal.stepCapture();
    ReadingBuffer raw; // the readings as the controller sent them
    capture.setReadings(&raw);
    const int pairs = settings.shortRun ? 1 : 5;
    const double windowMs = settings.shortRun ? 500 : 1000;
    bool done = false;
    terminal.runOwningLine([&] { capture.runPairs(500, pairs, windowMs); }, [&] { done = true; });
    if (!BenchTerminal::runUntil([&] { return done; }, 120'000)) {
        *error = QStringLiteral("the capture did not end");
        return false;
    }
    capture.setReadings(nullptr);
    double spanS = 0, limitS = 0, readings = 0;
    bool complete = true;
    for (const Capture &c : capture.series()) {
        const StepRecord &r = c.record;
        complete = complete && r.complete;
        if (r.tMs.size() < 2)
            continue;
        // From the first reading to the last: each one after the first cost one exchange.
        spanS += (r.tMs.back() - r.tMs.front()) / 1e3;
        readings += double(r.tMs.size() - 1);
    }
    // The line's limit: each exchange's request and reply at 10 bits a byte.
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const qint64 reply = 4 + QByteArray::number(raw.at(i).raw).size();
        limitS += lineSeconds(cmd::positionPoll().size() + reply);
    }
    limitS *= readings / std::max<double>(1, double(raw.size()));
    results[QStringLiteral("captures")] = double(capture.series().size());
    results[QStringLiteral("complete")] = complete ? 1 : 0;
    results[QStringLiteral("readings")] = readings;
    results[QStringLiteral("span_s")] = spanS;
    results[QStringLiteral("limit_s")] = limitS;
    if (readings < 10) {
        *error = QStringLiteral("the capture took no readings");
        return false;
    }
    return true;
}

bool measureScope(const Settings &settings, Results &results, QString *error)
{
    BenchTerminal bench;
    if (!bench.start(kRunningAxis, error))
        return false;
    bench.startPidRun(settings.runSpeed);
    // The same poll without the scope first: what the scope itself adds.
    const qint64 baseMs = settings.shortRun ? 2000 : 20'000;
    BenchTerminal::runFor(1000);
    const double baseCpu = cpuSeconds();
    QElapsedTimer baseClock;
    baseClock.start();
    BenchTerminal::runFor(baseMs);
    results[QStringLiteral("base_cpu_s")] = cpuSeconds() - baseCpu;
    results[QStringLiteral("base_span_s")] = double(baseClock.nsecsElapsed()) / 1e9;

    WorkbenchWindow *window = openWorkbench(bench);
    if (!window) {
        *error = QStringLiteral("the workbench did not open");
        return false;
    }
    window->resize(1200, 700);
    LiveScope &scope = *window->scope();
    const ReadingBuffer &readings = bench.terminal().readings();
    BenchTerminal::runFor(1000);

    const qint64 spanMs = qint64(settings.memoryMinutes * 60'000);
    const qint64 firstMs = spanMs >= 120'000 ? 60'000 : spanMs / 10;
    const double cpu = cpuSeconds();
    const quint64 repaints = scope.repaints();
    const quint64 pushed = readings.totalPushed();
    QElapsedTimer clock;
    clock.start();
    BenchTerminal::runFor(firstMs);
    results[QStringLiteral("rss_first_kib")] = residentKiB();
    results[QStringLiteral("first_min")] = double(firstMs) / 60'000;
    BenchTerminal::runFor(spanMs - firstMs);
    const double spanS = double(clock.nsecsElapsed()) / 1e9;
    results[QStringLiteral("rss_end_kib")] = residentKiB();
    results[QStringLiteral("span_s")] = spanS;
    results[QStringLiteral("span_min")] = spanS / 60;
    results[QStringLiteral("cpu_s")] = cpuSeconds() - cpu;
    results[QStringLiteral("repaints")] = double(scope.repaints() - repaints);
    results[QStringLiteral("readings")] = double(readings.totalPushed() - pushed);
    results[QStringLiteral("buffer_capacity")] = double(readings.capacity());
    if (readings.totalPushed() == pushed) {
        *error = QStringLiteral("the scope got no readings");
        return false;
    }
    return true;
}

bool measureWorkbenchOpen(Results &results, QString *)
{
    // Eight kept captures of a second each at the line's full rate.
    SimulatedOpener opener;
    SerialLink link(opener);
    StepCapture capture(link);
    CaptureStore store;
    ReadingBuffer readings;
    DialogFileChooser files;
    for (int k = 0; k < 8; ++k) {
        Capture c;
        c.steps = k % 2 ? -1000 : 1000;
        c.paramsKnown = true;
        c.params = {1000, 50, 200 + 50 * k, 10, 200, 100, 1024, 30};
        c.record.stepCounts = c.steps;
        c.record.windowMs = 1000;
        for (double t = 2; t <= 1000; t += 2.1) {
            c.record.tMs.push_back(t);
            c.record.error.push_back(c.steps * 0.6 * std::exp(-t / (30 + 5 * k)) *
                                     std::cos(t / (8 + k)));
        }
        c.label = captureLabel(c);
        store.add(c);
    }
    WorkbenchServices s;
    s.link = &link;
    s.capture = &capture;
    s.store = &store;
    s.readings = &readings;
    s.files = &files;
    s.tell = [](const QString &) {};
    s.runOwningLine = [](const std::function<void()> &, const std::function<void()> &) {
        return false;
    };
    s.stopAndReset = [] {};

    QElapsedTimer clock;
    clock.start();
    WorkbenchWindow window(s);
    window.resize(1200, 700);
    window.tabs()->setCurrentIndex(1);
    window.show();
    const bool painted =
        BenchTerminal::runUntil([&] { return window.captureChart()->paints() > 0; }, 30'000);
    results[QStringLiteral("open_ms")] = double(clock.nsecsElapsed()) / 1e6;
    results[QStringLiteral("series")] = double(store.size());
    return painted;
}

} // namespace kdx::bench
