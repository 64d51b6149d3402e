// kdxbench: how fast, how frugal and how lean the terminal is against the
// simulated controller (kdxsim) on a pseudo-terminal at 38400 baud.
//
// Runs every measurement in a process of its own (this program again, with
// --measure) and prints one line per figure: the measured value, its limit,
// their ratio and the target. See README, "Performance".

#include "familybench.h"
#include "figurereport.h"
#include "measurements.h"
#include "tunebench.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <memory>

using namespace kdx::bench;

namespace {

constexpr int kExitMissed = 1;
constexpr int kExitBroken = 2;

QString cpuModel()
{
    QFile cpuinfo(QStringLiteral("/proc/cpuinfo"));
    if (cpuinfo.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : cpuinfo.readAll().split('\n')) {
            if (line.startsWith("model name"))
                return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
        }
    }
    return QStringLiteral("unknown processor");
}

// In the measuring process: prints the values as "name=value" lines.
int runMeasurement(const QString &name, const Settings &settings)
{
    Results results;
    QString error;
    if (!measure(name, settings, results, &error)) {
        std::fprintf(stderr, "kdxbench: %s: %s\n", qPrintable(name), qPrintable(error));
        return kExitBroken;
    }
    for (auto it = results.cbegin(); it != results.cend(); ++it)
        std::printf("%s=%.9g\n", qPrintable(it.key()), it.value());
    return 0;
}

// Runs one measurement in a process of its own and reads back its values.
bool runChild(const QString &name, const QStringList &arguments, const Settings &settings,
              Results &results)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                QStringList{QStringLiteral("--measure"), name} + arguments);
    const int budgetMs =
        int(settings.memoryMinutes * 60'000 + settings.pollWindows * settings.pollWindowMs +
            settings.silentSeconds * 1000) +
        180'000;
    if (!child.waitForFinished(budgetMs)) {
        child.kill();
        child.waitForFinished();
        std::fprintf(stderr, "kdxbench: %s did not finish\n", qPrintable(name));
        return false;
    }
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            results[QString::fromUtf8(line.left(eq))] = line.mid(eq + 1).toDouble();
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // Headless, as in CI: the window is real but drawn off screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    bool measuring = false;
    for (int i = 1; i < argc; ++i)
        measuring = measuring || QByteArray(argv[i]) == "--measure" ||
                    QByteArray(argv[i]) == "--tune" || QByteArray(argv[i]) == "--tune-family";
    std::unique_ptr<QCoreApplication> app;
    if (measuring)
        app = std::make_unique<QApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kdxbench"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the terminal against kdxsim at 38400 baud: poll rate, CPU use while polling "
        "and while the controller is silent, read-all time, start-up time and memory."));
    parser.addHelpOption();
    const QCommandLineOption shortOption(
        QStringLiteral("short"),
        QStringLiteral("Run every figure for a few seconds only and judge none (for CI)."));
    const QCommandLineOption minutesOption(
        QStringLiteral("minutes"),
        QStringLiteral("Minutes of polling for the memory figures (default 3; 10 for the "
                       "ten-minute figure)."),
        QStringLiteral("N"));
    const QCommandLineOption onlyOption(
        QStringLiteral("only"),
        QStringLiteral("Run only these measurements (comma-separated): %1.")
            .arg(measurementNames().join(QStringLiteral(", "))),
        QStringLiteral("names"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"),
                                           QStringLiteral("Also print every measured value."));
    QCommandLineOption measureOption(QStringLiteral("measure"),
                                     QStringLiteral("Run one measurement in this process."),
                                     QStringLiteral("name"));
    measureOption.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption tuneOption(
        QStringLiteral("tune"),
        QStringLiteral("Run the auto-tuner on every simulator preset from three starts and judge "
                       "it against its targets (separate from the other figures)."));
    const QCommandLineOption tuneCasesOption(
        QStringLiteral("tune-cases"),
        QStringLiteral("With --tune: only these cases (comma-separated, e.g. nominal/sluggish)."),
        QStringLiteral("cases"));
    const QCommandLineOption tuneFamilyOption(
        QStringLiteral("tune-family"),
        QStringLiteral("Run the auto-tuner on N random axes of the simulator's family (default "
                       "40: seeds 1..N; N follows the option) with the aims no-overshoot and "
                       "balanced, and judge each result against the best gains a search finds "
                       "on the same axis."));
    const QCommandLineOption seedsOption(
        QStringLiteral("seeds"),
        QStringLiteral("With --tune-family: only these seeds (comma-separated, e.g. 3,7)."),
        QStringLiteral("list"));
    const QCommandLineOption aimOption(
        QStringLiteral("aim"),
        QStringLiteral("With --tune-family: only this aim (no-overshoot, balanced or fast)."),
        QStringLiteral("aim"));
    const QCommandLineOption referencesOption(
        QStringLiteral("references"),
        QStringLiteral("With --tune-family: the file the references are kept in between runs "
                       "(default family-references.txt beside kdxbench)."),
        QStringLiteral("file"));
    const QCommandLineOption timeScaleOption(
        QStringLiteral("time-scale"),
        QStringLiteral("With --tune and --tune-family: run the simulator this many times as fast "
                       "as real time (default 4)."),
        QStringLiteral("X"), QStringLiteral("4"));
    const QCommandLineOption repeatsOption(
        QStringLiteral("repeats"),
        QStringLiteral("With --tune: runs of nominal/defaults whose P2 must agree (default 3); "
                       "with --tune-family: runs of each of the first five sound axes (default "
                       "5)."),
        QStringLiteral("N"));
    parser.addOptions({shortOption, minutesOption, onlyOption, verboseOption, measureOption,
                       tuneOption, tuneCasesOption, tuneFamilyOption, seedsOption, aimOption,
                       referencesOption, timeScaleOption, repeatsOption});
    parser.addPositionalArgument(QStringLiteral("N"),
                                 QStringLiteral("With --tune-family: how many axes."), "[N]");
    parser.process(*app);

    const double timeScale = parser.value(timeScaleOption).toDouble();
    if (!(timeScale >= 0.1 && timeScale <= 20)) {
        std::fprintf(stderr, "kdxbench: --time-scale needs a number from 0.1 to 20\n");
        return kExitBroken;
    }
    if (parser.isSet(tuneFamilyOption)) {
        FamilyBenchSettings family;
        family.timeScale = timeScale;
        family.verbose = parser.isSet(verboseOption);
        const QStringList positional = parser.positionalArguments();
        bool ok = true;
        if (!positional.isEmpty())
            family.axes = positional.constFirst().toInt(&ok);
        if (!ok || family.axes < 1 || positional.size() > 1) {
            std::fprintf(stderr, "kdxbench: --tune-family takes one number of axes, at least 1\n");
            return kExitBroken;
        }
        for (const QString &seed :
             parser.value(seedsOption).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            family.seeds.append(seed.trimmed().toULongLong(&ok));
            if (!ok) {
                std::fprintf(stderr, "kdxbench: --seeds needs whole numbers, not '%s'\n",
                             qPrintable(seed));
                return kExitBroken;
            }
        }
        if (parser.isSet(aimOption)) {
            kdx::TuningAim aim;
            if (!aimFromName(parser.value(aimOption), &aim)) {
                std::fprintf(stderr, "kdxbench: --aim needs no-overshoot, balanced or fast\n");
                return kExitBroken;
            }
            family.aims = {aim};
        }
        if (parser.isSet(repeatsOption))
            family.repeats = parser.value(repeatsOption).toInt();
        family.referenceCache =
            parser.isSet(referencesOption)
                ? parser.value(referencesOption)
                : QCoreApplication::applicationDirPath() + QStringLiteral("/family-references.txt");
        return runFamilyBench(family);
    }

    if (parser.isSet(tuneOption)) {
        TuneBenchSettings tune;
        tune.timeScale = timeScale;
        if (parser.isSet(repeatsOption))
            tune.repeats = parser.value(repeatsOption).toInt();
        tune.verbose = parser.isSet(verboseOption);
        tune.only = parser.value(tuneCasesOption).split(QLatin1Char(','), Qt::SkipEmptyParts);
        return runTuneBench(tune);
    }

    const bool shortRun = parser.isSet(shortOption);
    double minutes = shortRun ? 0.1 : 3;
    if (parser.isSet(minutesOption)) {
        bool ok = false;
        minutes = parser.value(minutesOption).toDouble(&ok);
        if (!ok || minutes < 0.05) {
            std::fprintf(stderr, "kdxbench: --minutes needs a number of at least 0.05\n");
            return kExitBroken;
        }
    }
    const Settings settings = settingsFor(shortRun, minutes);
    if (parser.isSet(measureOption))
        return runMeasurement(parser.value(measureOption), settings);

    QStringList names = measurementNames();
    if (parser.isSet(onlyOption)) {
        names = parser.value(onlyOption).split(QLatin1Char(','), Qt::SkipEmptyParts);
        // Start-up is judged against the window's creation: measure it too.
        if (names.contains(QLatin1String("startup")) && !names.contains(QLatin1String("window")))
            names.prepend(QStringLiteral("window"));
    }
    // Headless machines often have no runtime folder; give the measuring
    // processes one of their own instead of a warning from each.
    QTemporaryDir runtimeFolder;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeFolder.isValid())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));

    QStringList childArguments;
    if (shortRun)
        childArguments << QStringLiteral("--short");
    childArguments << QStringLiteral("--minutes") << QString::number(minutes);

    std::printf("kdxbench %s: %s, %d cores, %s; Qt %s; %s build; kdxsim at 38400 baud, latency "
                "0\n",
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)),
                qPrintable(cpuModel()), QThread::idealThreadCount(),
                qPrintable(QSysInfo::prettyProductName()), qVersion(), KDX_BUILD_TYPE);
    std::fflush(stdout);

    FigureReport report(!shortRun);
    bool ran = true;
    for (const QString &name : names) {
        Results results;
        if (!runChild(name, childArguments, settings, results)) {
            std::printf("%-20s could not be measured\n", qPrintable(name));
            ran = false;
            continue;
        }
        report.report(name, results);
        if (parser.isSet(verboseOption)) {
            for (auto it = results.cbegin(); it != results.cend(); ++it)
                std::printf("    %s.%s = %g\n", qPrintable(name), qPrintable(it.key()), it.value());
        }
        std::fflush(stdout);
    }
    if (!ran)
        return kExitBroken;
    return report.allMet() ? 0 : kExitMissed;
}
