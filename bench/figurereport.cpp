#include "figurereport.h"

#include <cstdio>

namespace kdx::bench {

namespace {

constexpr double kPollTarget = 0.95;        // share of the line's limit
constexpr double kPollingCpuLimit = 0.03;   // share of one core
constexpr double kEarlyTolerance = 0.01;    // polls that may take an earlier reply
constexpr double kSilentCpuLimit = 0.02;    // share of one core
constexpr double kReadAllTarget = 1.10;     // times the floor
constexpr double kMemoryLimitMB = 80;       // peak resident memory
constexpr double kGrowthToleranceMB = 1;    // what counts as no growth
constexpr double kCaptureTarget = 0.90;     // capture sampling, share of the line's limit
constexpr double kRepaintLimit = 60;        // live scope redraws a second (about)
constexpr double kScopeCpuLimit = 0.10;     // share of one core while the scope runs
constexpr double kOpenLimitMs = 300;        // workbench with eight captures overlaid
constexpr double kHourLimitMB = 5;          // the history file after an hour of work
constexpr double kQueryLimitMs = 100;       // the history window's slowest query
constexpr double kHistoryCpuPoints = 0.005; // what the history may add while polling

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

double megabytes(double kib)
{
    return kib * 1024 / 1e6;
}

} // namespace

void FigureReport::print(const Figure &f)
{
    const QString ratio =
        f.ratioKind == Ratio::Percent ? number(100 * f.ratio, 1) + " %" : number(f.ratio, 3) + " x";
    QString verdict = QStringLiteral("no target");
    if (f.met) {
        verdict = QStringLiteral("target %1: ").arg(f.target);
        if (!m_judged)
            verdict += QStringLiteral("not judged (short run)");
        else
            verdict += *f.met ? QStringLiteral("met") : QStringLiteral("MISSED");
        if (m_judged && !*f.met)
            m_allMet = false;
    }
    const QString line = QStringLiteral("%1 %2   %3 %4   ratio %5   %6")
                             .arg(f.name, -20)
                             .arg(f.measured, 18)
                             .arg(f.limitWord, -5)
                             .arg(f.limit, 16)
                             .arg(ratio, 9)
                             .arg(verdict);
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void FigureReport::reportGrowth(const QString &name, const Results &r)
{
    const auto value = [&r](const char *key) { return r.value(QLatin1String(key)); };
    const double first = megabytes(value("rss_first_kib"));
    const double firstMin = value("first_min");
    const QString when =
        firstMin >= 1 ? number(firstMin, 1) + " min" : number(60 * firstMin, 1) + " s";
    const double end = megabytes(value("rss_end_kib"));
    print({name,
           QStringLiteral("%1 MB").arg(end - first >= 0 ? "+" + number(end - first, 2)
                                                        : number(end - first, 2)),
           QStringLiteral("from"), QStringLiteral("%1 MB at %2").arg(number(first, 1), when),
           end / first, Ratio::Percent,
           QStringLiteral("no growth to %1 min").arg(number(value("span_min"), 1)),
           end - first <= kGrowthToleranceMB});
}

void FigureReport::report(const QString &measurement, const Results &r)
{
    const auto value = [&r](const char *key) { return r.value(QLatin1String(key)); };
    // The measurement ran into a message box: its figures are not the
    // ordinary path's (the boxes were printed as it ran).
    if (value("messages") > 0) {
        std::printf("%s: %g message box(es) shown, see above\n", qPrintable(measurement),
                    value("messages"));
        if (m_judged)
            m_allMet = false;
    }
    if (measurement == QLatin1String("window")) {
        // Only a part of the start-up limit; no figure of its own.
        m_windowMs = value("window_ms");
    } else if (measurement == QLatin1String("startup")) {
        const double limit = value("readall_floor_ms") + std::max(m_windowMs, 0.0);
        print({QStringLiteral("start-up"), number(value("startup_ms"), 0) + " ms",
               QStringLiteral("limit"), number(limit, 0) + " ms", value("startup_ms") / limit,
               Ratio::Factor, QString(), std::nullopt});
    } else if (measurement == QLatin1String("readall")) {
        const double ratio = value("readall_ms") / value("readall_floor_ms");
        print({QStringLiteral("read-all"), number(value("readall_ms"), 0) + " ms",
               QStringLiteral("floor"), number(value("readall_floor_ms"), 0) + " ms", ratio,
               Ratio::Factor, QStringLiteral("<= %1 x").arg(kReadAllTarget),
               ratio <= kReadAllTarget});
    } else if (measurement == QLatin1String("polling")) {
        const double rate = value("readings") / value("window_s");
        const double limit = value("readings") / value("limit_s");
        // A poll that took an earlier poll's reply overlaps with it on the
        // line and is not held to the line's limit.
        const bool inStep = value("answered_early") <= kEarlyTolerance * value("polls");
        print({QStringLiteral("poll rate"), number(rate, 1) + " readings/s",
               QStringLiteral("limit"), number(limit, 1) + " /s", rate / limit, Ratio::Percent,
               inStep ? QStringLiteral(">= %1 %").arg(100 * kPollTarget)
                      : QStringLiteral("(polls not in step with their replies)"),
               inStep && rate / limit >= kPollTarget});
        const double cpu = value("cpu_s") / value("span_s");
        print({QStringLiteral("CPU while polling"), number(100 * cpu, 1) + " % core",
               QStringLiteral("limit"), QStringLiteral("100 % core"), cpu, Ratio::Percent,
               QStringLiteral("<= %1 %").arg(100 * kPollingCpuLimit), cpu <= kPollingCpuLimit});
        m_pollingCpu = cpu;
    } else if (measurement == QLatin1String("history-polling")) {
        // The same poll with the history kept: nothing of it is recorded.
        const double cpu = value("cpu_s") / value("span_s");
        const bool compared = m_pollingCpu >= 0;
        print({QStringLiteral("CPU polling, history"), number(100 * cpu, 1) + " % core",
               QStringLiteral("off"),
               compared ? number(100 * m_pollingCpu, 1) + " % core" : QStringLiteral("not run"),
               compared ? cpu - m_pollingCpu : 0, Ratio::Percent,
               compared ? QStringLiteral("<= off + %1 points").arg(100 * kHistoryCpuPoints)
                        : QString(),
               compared ? std::optional(cpu <= m_pollingCpu + kHistoryCpuPoints &&
                                        value("events_recorded") == 0)
                        : std::nullopt});
    } else if (measurement == QLatin1String("client")) {
        const double rate = value("readings") / value("window_s");
        const double limit = value("readings") / value("limit_s");
        print({QStringLiteral("poll rate, bare client"), number(rate, 1) + " readings/s",
               QStringLiteral("limit"), number(limit, 1) + " /s", rate / limit, Ratio::Percent,
               QString(), std::nullopt});
    } else if (measurement == QLatin1String("silent")) {
        const double cpu = value("cpu_s") / value("span_s");
        print({QStringLiteral("CPU while silent"), number(100 * cpu, 2) + " % core",
               QStringLiteral("limit"), number(100 * kSilentCpuLimit, 0) + " % core",
               cpu / kSilentCpuLimit, Ratio::Percent,
               QStringLiteral("< %1 %").arg(100 * kSilentCpuLimit), cpu < kSilentCpuLimit});
    } else if (measurement == QLatin1String("capture")) {
        const double rate = value("readings") / value("span_s");
        const double limit = value("readings") / value("limit_s");
        print({QStringLiteral("capture sampling"), number(rate, 1) + " readings/s",
               QStringLiteral("limit"), number(limit, 1) + " /s", rate / limit, Ratio::Percent,
               QStringLiteral(">= %1 %").arg(100 * kCaptureTarget),
               rate / limit >= kCaptureTarget && value("complete") > 0});
    } else if (measurement == QLatin1String("scope")) {
        const double fps = value("repaints") / value("span_s");
        print({QStringLiteral("scope redraws"), number(fps, 1) + " /s", QStringLiteral("limit"),
               number(kRepaintLimit, 0) + " /s", fps / kRepaintLimit, Ratio::Percent,
               QStringLiteral("<= %1 /s").arg(kRepaintLimit), fps <= kRepaintLimit * 1.02});
        const double cpu = value("cpu_s") / value("span_s");
        print({QStringLiteral("CPU, scope running"), number(100 * cpu, 1) + " % core",
               QStringLiteral("limit"), number(100 * kScopeCpuLimit, 0) + " % core",
               cpu / kScopeCpuLimit, Ratio::Percent,
               QStringLiteral("<= %1 %").arg(100 * kScopeCpuLimit), cpu <= kScopeCpuLimit});
        const double base = value("base_cpu_s") / value("base_span_s");
        print({QStringLiteral("CPU, the scope's own"), number(100 * (cpu - base), 1) + " % core",
               QStringLiteral("poll"), number(100 * base, 1) + " % core", cpu - base,
               Ratio::Percent, QString(), std::nullopt});
        print({QStringLiteral("scope readings"),
               number(value("readings") / value("span_s"), 1) + " readings/s",
               QStringLiteral("kept"), number(value("buffer_capacity"), 0) + " at most", 0,
               Ratio::Percent, QString(), std::nullopt});
        reportGrowth(QStringLiteral("scope memory growth"), r);
    } else if (measurement == QLatin1String("workbench")) {
        print({QStringLiteral("workbench, 8 runs"), number(value("open_ms"), 0) + " ms",
               QStringLiteral("limit"), number(kOpenLimitMs, 0) + " ms",
               value("open_ms") / kOpenLimitMs, Ratio::Percent,
               QStringLiteral("< %1 ms").arg(kOpenLimitMs), value("open_ms") < kOpenLimitMs});
    } else if (measurement == QLatin1String("history")) {
        reportHistory(r);
    } else if (measurement == QLatin1String("memory")) {
        const double peak = megabytes(value("hwm_kib"));
        print({QStringLiteral("peak memory (VmHWM)"), number(peak, 1) + " MB",
               QStringLiteral("limit"), number(kMemoryLimitMB, 0) + " MB", peak / kMemoryLimitMB,
               Ratio::Percent, QStringLiteral("< %1 MB").arg(kMemoryLimitMB),
               peak < kMemoryLimitMB});
        reportGrowth(QStringLiteral("memory growth"), r);
    }
}

void FigureReport::reportHistory(const Results &r)
{
    const auto value = [&r](const char *key) { return r.value(QLatin1String(key)); };
    const double hourMB = value("hour_bytes") / 1e6;
    print({QStringLiteral("history, an hour"), number(hourMB, 2) + " MB", QStringLiteral("limit"),
           number(kHourLimitMB, 0) + " MB", hourMB / kHourLimitMB, Ratio::Percent,
           QStringLiteral("< %1 MB").arg(kHourLimitMB), hourMB < kHourLimitMB});
    print({QStringLiteral("history event kept"), number(value("event_median_ms"), 2) + " ms",
           QStringLiteral("max"), number(value("event_max_ms"), 1) + " ms",
           value("event_median_ms") / value("event_max_ms"), Ratio::Percent, QString(),
           std::nullopt});
    print({QStringLiteral("history queries"), number(value("query_max_ms"), 1) + " ms",
           QStringLiteral("limit"), number(kQueryLimitMs, 0) + " ms",
           value("query_max_ms") / kQueryLimitMs, Ratio::Percent,
           QStringLiteral("< %1 ms at %2 events").arg(kQueryLimitMs).arg(value("big_events")),
           value("query_max_ms") < kQueryLimitMs});
    print({QStringLiteral("history file opening"), number(value("open_ms"), 0) + " ms",
           QStringLiteral("file"), number(value("big_bytes") / 1e6, 1) + " MB", 0, Ratio::Percent,
           QString(), std::nullopt});
}

} // namespace kdx::bench
