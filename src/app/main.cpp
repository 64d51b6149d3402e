#include "app/terminal.h"
#include "core/language.h"
#include "core/paramfolder.h"
#include "core/portchoice.h"
#include "link/portcatalogue.h"
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

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// KDXparam.txt's folder (see paramFolderFor).
QString paramFolder()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QString folder =
        kdx::paramFolderFor(programFolder, QFileInfo(programFolder).isWritable(),
                            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QDir().mkpath(folder);
    return folder;
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

// "--simulate=NAME" chooses the simulated axis; QCommandLineParser knows no
// option whose value may be left out, so it is taken apart here.
QStringList splitSimulate(QStringList arguments, QString *plantName)
{
    const QString prefix = QStringLiteral("--simulate=");
    for (QString &argument : arguments) {
        if (argument.startsWith(prefix)) {
            *plantName = argument.mid(prefix.size());
            argument = QStringLiteral("--simulate");
        }
    }
    return arguments;
}

// The simulated axis the options ask for, or nothing (with a message on the
// console) when they name none.
std::optional<kdx::sim::Plant> simulatedPlant(const QString &name, const QString &scale)
{
    std::optional<kdx::sim::Plant> plant = kdx::sim::plantFor(name);
    if (!plant) {
        std::fprintf(stderr, "kdxterminal: --simulate=NAME needs %s, not '%s'\n",
                     qPrintable(kdx::sim::plantChoices()), qPrintable(name));
        return std::nullopt;
    }
    bool ok = false;
    const double gainScale = scale.toDouble(&ok);
    plant->gainScale *= gainScale;
    if (!ok || !(gainScale >= kdx::sim::MinGainScale && gainScale <= kdx::sim::MaxGainScale)) {
        std::fprintf(stderr, "kdxterminal: --gain-scale needs a number from %g to %g\n",
                     kdx::sim::MinGainScale, kdx::sim::MaxGainScale);
        return std::nullopt;
    }
    return plant;
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
                       "serial port, for this run (for practice and demonstration). "
                       "--simulate=NAME chooses the axis: %1 (default nominal); "
                       "random:SEED is one of kdxsim's family of random axes.")
            .arg(kdx::sim::plantChoices()));
    parser.addOption(simulateOption);
    const QCommandLineOption gainScaleOption(
        QStringLiteral("gain-scale"),
        QStringLiteral("With --simulate: how strongly every gain acts on the simulated axis, as "
                       "a factor (default 1)."),
        QStringLiteral("factor"), QStringLiteral("1"));
    parser.addOption(gainScaleOption);
    const QCommandLineOption languageOption(
        QStringLiteral("language"),
        QStringLiteral("The language of the window for this run: hu (Hungarian) or en (English). "
                       "Without it, the language chosen in the port chooser's dialog last "
                       "time, else Hungarian."),
        QStringLiteral("hu|en"));
    parser.addOption(languageOption);
    QString plantName = QStringLiteral("nominal");
    parser.process(splitSimulate(QCoreApplication::arguments(), &plantName));

    // The command line decides for this run; the choices made in the window
    // stay for the next.
    std::optional<kdx::Language> language;
    if (parser.isSet(languageOption)) {
        language = kdx::languageFromCode(parser.value(languageOption));
        if (!language) {
            std::fprintf(stderr, "kdxterminal: --language needs hu or en, not '%s'\n",
                         qPrintable(parser.value(languageOption)));
            return 2;
        }
    }
    kdx::LanguageMemory languages;
    if (!kdx::useLanguage(languages.forThisRun(language)))
        std::fprintf(stderr, "kdxterminal: the English texts could not be loaded\n");

    std::optional<kdx::PortChoice> commandLine;
    std::unique_ptr<kdx::PortOpener> opener;
    if (parser.isSet(simulateOption)) {
        const std::optional<kdx::sim::Plant> plant =
            simulatedPlant(plantName, parser.value(gainScaleOption));
        if (!plant)
            return 2;
        commandLine = kdx::PortChoice::simulator(
            plantName == QLatin1String(kdx::kDefaultPlant) ? QString() : plantName);
        opener = std::make_unique<kdx::SimulatedOpener>(*plant);
    } else if (parser.isSet(portOption)) {
        commandLine = kdx::PortChoice::serial(parser.value(portOption));
    }
    kdx::PortMemory memory;
    const kdx::PortChoice port = memory.forThisRun(commandLine);
    if (!opener)
        opener = kdx::openerFor(port);

    kdx::DialogPrompter prompter;
    kdx::TerminalOptions options;
    options.opener = opener.get();
    options.port = port;
    options.portMemory = &memory;
    options.languageMemory = &languages;
    options.prompter = &prompter;
    options.paramFolder = paramFolder();
    // The history is the user's own, wherever the program runs from.
    options.historyFile = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                              .filePath(QStringLiteral("kdxhistory.sqlite"));

    kdx::Terminal terminal(options);
    prompter.setParent(&terminal.form());
    if (!terminal.start())
        return 0;
    terminal.form().show();
    return app->exec();
}
