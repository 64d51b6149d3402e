#include "app/terminal.h"
#include "core/portchoice.h"
#include "link/portcatalogue.h"
#include "link/portopener.h"
#include "link/serialportopener.h"
#include "operations/paramsetstore.h"
#include "widgets/dialogprompter.h"
#include "widgets/form1.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

namespace {

// KDXparam.txt lives beside the program when that folder can be written (a
// portable copy, the build tree); an installed program keeps it in the
// user's own data folder.
QString paramFolder()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (QFileInfo(programFolder).isWritable())
        return programFolder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

// --help and --version answer on the console without needing a display.
bool asksOnlyForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" ||
            arg == "--version" || arg == "-?")
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    std::unique_ptr<QCoreApplication> app;
    if (asksOnlyForText(argc, argv))
        app = std::make_unique<QCoreApplication>(argc, argv);
    else
        app = std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kdxterminal"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KDX_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Operator terminal for the KDX DC servo controller: reads and writes the "
                       "tuning parameters P0..P7, runs the motor in test modes and shows the "
                       "position error."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("Serial device of the controller for this run (default: the port chosen "
                       "in the window last time, else the first serial port, %1).")
            .arg(kdx::SerialPortOpener::defaultPortName()),
        QStringLiteral("NAME"));
    parser.addOption(portOption);
    const QCommandLineOption simulateOption(
        QStringLiteral("simulate"),
        QStringLiteral("Talk to a simulated controller and axis inside the program instead of a "
                       "serial port, for this run (for practice and demonstration)."));
    parser.addOption(simulateOption);
    parser.process(*app);

    std::optional<kdx::PortChoice> commandLine;
    if (parser.isSet(simulateOption))
        commandLine = kdx::PortChoice::simulator();
    else if (parser.isSet(portOption))
        commandLine = kdx::PortChoice::serial(parser.value(portOption));
    kdx::PortMemory memory;
    const kdx::PortChoice port = memory.forThisRun(commandLine);
    const std::unique_ptr<kdx::PortOpener> opener = kdx::openerFor(port);

    kdx::DialogPrompter prompter;
    kdx::TerminalOptions options;
    options.opener = opener.get();
    options.port = port;
    options.portMemory = &memory;
    options.prompter = &prompter;
    options.paramFolder = paramFolder();

    kdx::Terminal terminal(options);
    prompter.setParent(&terminal.form());
    if (!terminal.Form_Load())
        return 0;
    terminal.form().show();
    return app->exec();
}
