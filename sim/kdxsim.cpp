// kdxsim: a simulated KDX servo controller on a pseudo-terminal.
//
// Prints the slave device path (such as /dev/pts/3) as the first line of its
// standard output, then serves the controller until SIGINT or SIGTERM, or until
// --close-after is reached. Point the terminal's serial port at that path.
//
// With --commands it takes commands on standard input, one a line, to change
// its faults while it runs (see commandinput.h); the end of that input ends it.

#include "commandinput.h"
#include "linelog.h"
#include "plant.h"
#include "ptyserver.h"
#include "simulatedline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

using namespace kdx::sim;

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[0], &byte, 1);
}

// Turns SIGINT and SIGTERM into an orderly quit of the event loop.
bool quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "kdxsim: %s\n", qPrintable(message));
    std::exit(2);
}

qint64 count(const QCommandLineParser &parser, const QCommandLineOption &option, qint64 min)
{
    if (!parser.isSet(option))
        return -1;
    bool ok = false;
    const qint64 value = parser.value(option).toLongLong(&ok);
    if (!ok || value < min)
        fail(QStringLiteral("--%1 needs a whole number of at least %2")
                 .arg(option.names().constFirst())
                 .arg(min));
    return value;
}

double real(const QCommandLineParser &parser, const QCommandLineOption &option, double min,
            double max)
{
    bool ok = false;
    const double value = parser.value(option).toDouble(&ok);
    if (!ok || !(value >= min && value <= max))
        fail(QStringLiteral("--%1 needs a number from %2 to %3")
                 .arg(option.names().constFirst())
                 .arg(min)
                 .arg(max));
    return value;
}

void applyPresets(Firmware &firmware, const QStringList &presets)
{
    static const QRegularExpression form(QStringLiteral("^[Pp]([0-7])=(-?\\d+)$"));
    for (const QString &preset : presets) {
        const QRegularExpressionMatch match = form.match(preset);
        bool ok = false;
        const int value = match.hasMatch() ? match.captured(2).toInt(&ok) : 0;
        if (!ok || value < Firmware::MinValue || value > Firmware::MaxValue)
            fail(QStringLiteral("--set needs Pn=value with n 0..7 and a 16-bit value, not '%1'")
                     .arg(preset));
        firmware.preset(match.captured(1).toInt(), value);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kdxsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KDXSIM_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulated KDX servo controller on a pseudo-terminal.\n"
        "Prints the device path to open (38400 8N1) on the first line of its output."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption echo(QStringLiteral("echo"),
                                  QStringLiteral("Echo received characters."));
    const QCommandLineOption latency(
        QStringLiteral("latency"),
        QStringLiteral("Adapter latency added to each answer (0 allowed)."), QStringLiteral("ms"),
        QStringLiteral("1"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Baud rate the answer timing follows (0: none)."),
                                  QStringLiteral("rate"), QStringLiteral("38400"));
    const QCommandLineOption instant(
        QStringLiteral("instant"), QStringLiteral("Answer at once: same as --baud 0 --latency 0."));
    const QCommandLineOption silentAfter(QStringLiteral("silent-after"),
                                         QStringLiteral("Stop answering after N lines."),
                                         QStringLiteral("N"));
    const QCommandLineOption closeAfter(
        QStringLiteral("close-after"),
        QStringLiteral("Close the line and exit after answering N lines."), QStringLiteral("N"));
    const QCommandLineOption garbage(
        QStringLiteral("garbage"),
        QStringLiteral("Chance (0..1) of a random byte after each byte sent."),
        QStringLiteral("rate"), QStringLiteral("0"));
    const QCommandLineOption garbageByte(
        QStringLiteral("garbage-byte"),
        QStringLiteral("Make garbage and bursts of this byte (0..255, e.g. 0 for NUL) instead "
                       "of random bytes."),
        QStringLiteral("byte"));
    const QCommandLineOption mangle(
        QStringLiteral("mangle"),
        QStringLiteral("Leave every blank and colon out of the answers."));
    const QCommandLineOption logFile(
        QStringLiteral("log"),
        QStringLiteral("Write every received line, with its time in ms, to this file."),
        QStringLiteral("file"));
    const QCommandLineOption commands(
        QStringLiteral("commands"),
        QStringLiteral("Take commands on standard input, one a line: 'heal' (answer like a sound "
                       "controller from now on: no silence, garbage, mangling or echo), "
                       "'silent' (answer nothing from now on), 'burst N' (send N bytes of "
                       "noise at once), 'values' (print P0..P7 as held now). The end of the "
                       "input ends kdxsim."));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed for the garbage bytes."),
                                  QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption set(
        QStringLiteral("set"),
        QStringLiteral("Preset a parameter, active and stored, e.g. P2=150. "
                       "May be repeated."),
        QStringLiteral("Pn=value"));
    const QCommandLineOption plant(
        QStringLiteral("plant"),
        QStringLiteral(
            "The axis behind the controller: %1 (default nominal). random:SEED "
            "draws one from the family of random axes (the same axis for the same "
            "seed): inertia 0.2-10x, viscous friction 0.7-1.4x, breakaway 2-77 "
            "duty, delay 0-6 ms and winding lag 0.3-4 ms (short ones common), encoder noise "
            "up to a count; "
            "on a third each a resonance of 20-300 Hz, backlash up to 20 counts, a "
            "constant load; P, I and D each acting 0.1-10x, derivative of the "
            "error or the measurement, filtered or not, other I limits (see "
            "kdxsim(1)).")
            .arg(plantNames().join(QStringLiteral(", "))),
        QStringLiteral("name"), QStringLiteral("nominal"));
    const QCommandLineOption gainScale(
        QStringLiteral("gain-scale"),
        QStringLiteral("How strongly every gain acts on the axis, as a factor (default 1)."),
        QStringLiteral("factor"), QStringLiteral("1"));
    const QCommandLineOption timeScale(
        QStringLiteral("time-scale"),
        QStringLiteral("Run simulated time this many times as fast as real time (0.1..20), "
                       "line and axis alike."),
        QStringLiteral("X"), QStringLiteral("1"));
    parser.addOptions({echo, latency, baud, instant, silentAfter, closeAfter, garbage, garbageByte,
                       mangle, seed, set, logFile, commands, plant, gainScale, timeScale});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty())
        fail(QStringLiteral("unexpected argument '%1'")
                 .arg(parser.positionalArguments().constFirst()));

    const bool isInstant = parser.isSet(instant);
    const LineTiming timing(isInstant ? 0 : int(real(parser, baud, 0, 4'000'000)),
                            isInstant ? 0 : qint64(real(parser, latency, 0, 60'000) * 1e6));
    LineFaults faults;
    faults.silentAfter = count(parser, silentAfter, 0);
    faults.garbageRate = real(parser, garbage, 0, 1);
    if (parser.isSet(garbageByte))
        faults.garbageByte = int(real(parser, garbageByte, 0, 255));
    faults.mangled = parser.isSet(mangle);
    faults.seed = quint32(real(parser, seed, 0, 4294967295.0));

    std::optional<Plant> axis = plantFor(parser.value(plant));
    if (!axis)
        fail(QStringLiteral("--plant needs %1, not '%2'").arg(plantChoices(), parser.value(plant)));
    axis->gainScale *= real(parser, gainScale, MinGainScale, MaxGainScale);

    SimulatedLine line(timing, faults);
    line.firmware().setPlant(*axis);
    line.firmware().setEcho(parser.isSet(echo));
    applyPresets(line.firmware(), parser.values(set));
    LineLog log;
    if (parser.isSet(logFile)) {
        if (!log.open(parser.value(logFile)))
            fail(QStringLiteral("cannot write the log %1").arg(parser.value(logFile)));
        line.setLineObserver([&log](qint64 ns, QByteArrayView text, bool overlong) {
            log.line(ns, overlong ? QByteArrayView("<overlong>") : text);
        });
    }

    if (!quitOnSignals(app))
        fail(QStringLiteral("cannot catch signals"));
    PtyServer server(line, count(parser, closeAfter, 1));
    server.setTimeScale(real(parser, timeScale, 0.1, 20));
    QString error;
    if (!server.open(&error)) {
        std::fprintf(stderr, "kdxsim: %s\n", qPrintable(error));
        return 1;
    }
    QObject::connect(&server, &PtyServer::finished, &app, &QCoreApplication::quit);
    std::unique_ptr<CommandInput> input;
    if (parser.isSet(commands))
        input = std::make_unique<CommandInput>(STDIN_FILENO, line, server, log);
    if (input)
        QObject::connect(input.get(), &CommandInput::ended, &app, &QCoreApplication::quit);
    std::printf("%s\n", qPrintable(server.slavePath()));
    std::fflush(stdout);
    return app.exec();
}
