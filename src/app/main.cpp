#include "app/terminal.h"
#include "link/serialportopener.h"
#include "link/simulatedopener.h"
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
        QStringLiteral("Serial device of the controller (default: the first serial port, %1).")
            .arg(kdx::SerialPortOpener::defaultPortName()),
        QStringLiteral("NAME"));
    parser.addOption(portOption);
    const QCommandLineOption simulateOption(
        QStringLiteral("simulate"),
        QStringLiteral("Talk to a simulated controller and axis inside the program instead of a "
                       "serial port (for practice and demonstration)."));
    parser.addOption(simulateOption);
    parser.process(*app);

    std::unique_ptr<kdx::PortOpener> opener;
    if (parser.isSet(simulateOption))
        opener = std::make_unique<kdx::SimulatedOpener>();
    else
        opener = std::make_unique<kdx::SerialPortOpener>(parser.value(portOption));

    kdx::DialogPrompter prompter;
    kdx::TerminalOptions options;
    options.opener = opener.get();
    options.prompter = &prompter;
    options.paramFolder = paramFolder();

    kdx::Terminal terminal(options);
    prompter.setParent(&terminal.form());
    if (!terminal.Form_Load())
        return 0;
    terminal.form().show();
    return app->exec();
}
