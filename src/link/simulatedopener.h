#pragma once

#include "plant.h"
#include "portopener.h"

#include <memory>

namespace kdx::sim {
class SimulatedDevice;
}

namespace kdx {

// The line to a simulated controller inside this program: no serial
// hardware, the same command set and reply timing as a real one at 38400 baud,
// driving the given axis.
class SimulatedOpener : public PortOpener {
public:
    explicit SimulatedOpener(const sim::Plant &plant = sim::Plant());
    ~SimulatedOpener() override;

    QIODevice *device() override;
    OpenResult open() override;
    // The simulator's port name, the same in every language (the history
    // keeps its events under it).
    QString displayName() const override { return QString::fromUtf8(kPortName); }
    static constexpr const char *kPortName = QT_TRANSLATE_NOOP("SimulatedOpener", "szimulátor");
    // A port name as the window shows it: the simulator's in the language in use.
    static QString shownPortName(const QString &portName);

    sim::SimulatedDevice &simulated() { return *m_device; }

private:
    std::unique_ptr<sim::SimulatedDevice> m_device;
};

} // namespace kdx
