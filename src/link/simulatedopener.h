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
    QString displayName() const override { return QStringLiteral("szimulátor"); }

    sim::SimulatedDevice &simulated() { return *m_device; }

private:
    std::unique_ptr<sim::SimulatedDevice> m_device;
};

} // namespace kdx
