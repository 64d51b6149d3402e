#pragma once

#include <QString>

#include <memory>
#include <optional>

class QSettings;

namespace kdx {

// The line the terminal talks to the controller over: a serial port, or the
// simulated controller inside the program.
struct PortChoice {
    enum class Kind { Serial, Simulator };
    Kind kind = Kind::Serial;
    // Serial: the device as the operator named it ("/dev/ttyUSB0", "COM5");
    // empty for the platform's first port. Simulator: the preset, empty for
    // the default one.
    QString name;

    static PortChoice serial(const QString &device = QString()) { return {Kind::Serial, device}; }
    static PortChoice simulator(const QString &preset = QString())
    {
        return {Kind::Simulator, preset};
    }
    bool isSimulator() const { return kind == Kind::Simulator; }

    // "serial:/dev/ttyUSB0", "serial:" (the first port), "simulator",
    // "simulator:heavy". fromText() takes nothing else.
    QString toText() const;
    static std::optional<PortChoice> fromText(const QString &text);

    bool operator==(const PortChoice &) const = default;
};

// The choice the operator made last time, kept in the user's settings. The
// command line decides for one run without touching it.
class PortMemory {
public:
    // The program's own settings, or an INI file of the given path.
    explicit PortMemory(const QString &settingsFile = QString());
    ~PortMemory();

    std::optional<PortChoice> remembered() const;
    // The line for this run: the command line's when it names one, else the
    // remembered choice, else the first serial port.
    PortChoice forThisRun(const std::optional<PortChoice> &commandLine) const;
    // Stored at once: a program that is killed later keeps the choice.
    void remember(const PortChoice &choice);

    // The name the operator gave the axis on this line ("3. gép, X tengely");
    // empty when none. Stored at once as well.
    QString axisName(const PortChoice &choice) const;
    void rememberAxisName(const PortChoice &choice, const QString &name);

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace kdx
