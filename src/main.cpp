#include "link/serialportopener.h"
#include "paramfile/paramsetstore.h"
#include "ui/dialogprompter.h"
#include "ui/form1.h"
#include "ui/terminal.h"

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

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
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
    parser.process(app);

    std::unique_ptr<kdx::PortOpener> opener =
        std::make_unique<kdx::SerialPortOpener>(parser.value(portOption));

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
    return app.exec();
}
