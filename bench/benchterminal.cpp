#include "benchterminal.h"

#include "app/terminal.h"
#include "core/paramfile.h"
#include "core/paramline.h"
#include "link/serialportopener.h"
#include "operations/scheduler.h"
#include "operations/tuningrun.h"
#include "widgets/form1.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <thread>

namespace kdx::bench {

namespace {

constexpr int kStoredSets = 12;
constexpr qint64 kFirstShowTimeoutMs = 60'000;

} // namespace

BenchTerminal::BenchTerminal() = default;

BenchTerminal::~BenchTerminal()
{
    m_terminal.reset();
    m_opener.reset();
    m_sim.stop();
}

Form1 &BenchTerminal::form()
{
    return m_terminal->form();
}

QIODevice &BenchTerminal::line()
{
    return *m_opener->device();
}

bool BenchTerminal::writeParamFile(QString *error) const
{
    // A folder where the operator has already stored some sets: start-up
    // lists them and asks nothing.
    QFile file(m_folder.filePath(QLatin1String(ParamFile::kFileName)));
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    for (int i = 0; i < kStoredSets; ++i) {
        const ParamValues values = {QString::number(1000 - i), QStringLiteral("50"),
                                    QString::number(200 + i),  QStringLiteral("10"),
                                    QStringLiteral("200"),     QStringLiteral("100"),
                                    QStringLiteral("1024"),    QStringLiteral("30")};
        const QString line = composeParamLine(QStringLiteral("set %1").arg(i), values);
        file.write(line.toLatin1() + "\r\n");
    }
    return file.error() == QFile::NoError;
}

bool BenchTerminal::start(const QStringList &simArguments, QString *error)
{
    if (!m_folder.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    if (!writeParamFile(error))
        return false;
    if (!m_sim.start(simArguments)) {
        *error = QStringLiteral("kdxsim did not start");
        return false;
    }
    m_opener = std::make_unique<SerialPortOpener>(m_sim.ptyPath());

    TerminalOptions options;
    options.opener = m_opener.get();
    options.prompter = &m_prompter;
    options.paramFolder = m_folder.path();
    options.historyFile = m_historyFile;

    QElapsedTimer clock;
    clock.start();
    m_terminal = std::make_unique<Terminal>(options);
    // Connected after the terminal's own handler, so this runs once the
    // first-show actions have ended.
    QObject::connect(&m_terminal->form(), &Form1::firstShown, &m_terminal->form(),
                     [this, clock] { m_startupNs = clock.nsecsElapsed(); });
    if (!m_terminal->start()) {
        *error = QStringLiteral("the terminal did not load (port in use?)");
        return false;
    }
    m_terminal->form().show();
    if (!runUntil([this] { return m_startupNs >= 0; }, kFirstShowTimeoutMs)) {
        *error = QStringLiteral("the first-show actions did not end");
        return false;
    }
    return true;
}

void BenchTerminal::runFor(qint64 ms)
{
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool BenchTerminal::runUntil(const std::function<bool()> &done, qint64 timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        runFor(10);
    }
    return true;
}

void BenchTerminal::startPidRun(int speed)
{
    Form1 &f = form();
    f.HScroll2->setValue(speed);
    f.Command32->click();
}

// A poll that finds bytes waiting takes them as its reply at once. After a
// command whose answer is never read (every stop-and-reset ends with one)
// the first poll takes that answer, its own reply becomes the next poll's,
// and so on: the poll runs one reply behind, its next request already on the
// line while the previous reply comes in. Only two replies arriving
// together end that. Holding the window once, just after a poll has gone
// out, makes them arrive together: the poll waits for its own reply again,
// as the line's limit assumes.
void BenchTerminal::bringPollInStep()
{
    static constexpr auto kHold = std::chrono::milliseconds(20);
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&line(), &QIODevice::bytesWritten, &form(), [this, connection] {
        if (!m_terminal->scheduler().pollTimer().isTicking())
            return;
        QObject::disconnect(*connection);
        std::this_thread::sleep_for(kHold);
    });
}

BenchTuning tuneOnKdxsim(QStringList simArguments, TuningOptions options, double timeScale,
                         const std::function<void(Terminal &)> &prepare,
                         const std::function<void(TuningRun &)> &watch)
{
    BenchTuning out;
    if (timeScale != 1)
        simArguments << QStringLiteral("--time-scale") << QString::number(timeScale);
    BenchTerminal bench;
    QString error;
    if (!bench.start(simArguments, &error)) {
        std::fprintf(stderr, "kdxbench: %s\n", qPrintable(error));
        return out;
    }
    Terminal &terminal = bench.terminal();
    QTemporaryDir folder;
    TuningRun run(terminal.link(), folder.path());
    if (watch)
        watch(run);
    // The tuner sees the axis's own time: its records, budget and figures
    // are those of the axis, whatever the simulator's speed.
    run.setAxisClockRate(timeScale);
    terminal.run([&] {
        if (prepare)
            prepare(terminal);
        out.result = run.run(options);
        out.ran = true;
    });
    out.axisSeconds = out.result.elapsedMs / 1000;
    return out;
}

} // namespace kdx::bench
